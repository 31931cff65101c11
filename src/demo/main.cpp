// newyear: a self-running new-year greeting. Opens a 320x240 16-bit full
// screen, plays the music once and draws the landscape, the snow, the
// scroller and the panel every 20 ms until Escape (or joystick button 8 or
// 14) is pressed. It reads gfx.dat, hm.dat and music.dat from the working
// directory and writes nothing.
#include "demo/frame.h"
#include "demo/startup.h"
#include "effects/tables.h"
#include "render/render.h"

#include <SDL_mixer.h>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int fail(const std::string& message)
{
    std::fprintf(stderr, "newyear: %s\n", message.c_str());
    SDL_Quit();
    return 1;
}

// Music is a bonus: without a device or a playable file the show goes on
// in silence.
Mix_Music* startMusic()
{
    if (Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024) != 0) {
        std::fprintf(stderr, "newyear: playing without sound: %s\n", SDL_GetError());
        return nullptr;
    }
    Mix_Music* music = Mix_LoadMUS("music.dat");
    if (!music) {
        std::fprintf(stderr, "newyear: playing without music: \"music.dat\": %s\n", Mix_GetError());
        return nullptr;
    }
    Mix_PlayMusic(music, 0);
    return music;
}

}  // namespace

int main()
{
    buildTables();

    // SDL would turn Ctrl+C and SIGTERM into a window close request, which
    // the demo ignores; leave both signals their usual effect.
    setenv("SDL_NO_SIGNAL_HANDLERS", "1", 1);
    // Full screen is the 320x240 picture scaled to the desktop: keep the
    // pixels sharp unless the user has chosen otherwise.
    setenv("SDL12COMPAT_SCALE_METHOD", "nearest", 0);

    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK) != 0)
        return fail(std::string("cannot open the display: ") + SDL_GetError());
    SDL_ShowCursor(0);
    SDL_JoystickOpen(0);

    Images images;
    std::string error;
    if (!loadImages(images, error))
        return fail(error);

    if (!openScreen(error)) {
        freeImages(images);
        return fail(error);
    }

    Mix_Music* music = startMusic();
    keyPanel(images.panel);
    resetEffects();

    Demo demo;
    demo.panel = images.panel;
    demo.heightMap = images.heightMap;
    while (drawFrame(demo)) {
        SDL_Flip(screen);
        SDL_Delay(20);
    }

    // Everything is handed back, so that a leak checker at exit sees only
    // what the libraries themselves keep.
    freeImages(images);
    SDL_Quit();
    Mix_HaltMusic();
    if (music)
        Mix_FreeMusic(music);
    return 0;
}
