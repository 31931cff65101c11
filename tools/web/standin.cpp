// STAND-IN, to be replaced: the web edge (src/platform/web/edge.cpp) and
// the demo's own frame take its place once the demo's code builds for the
// web; then this file goes. Until then it proves the pipeline the real
// program will use, with the same calls:
//   - SDL 2 built for WebAssembly: a 320x240 5-6-5 surface of our own,
//     drawn with SDL_FillRect and a colour-keyed SDL_UpperBlit of gfx.dat,
//     blitted to the window's surface and shown on the page's canvas;
//   - a main loop callback that draws one frame per 20 ms plus drawing
//     time, by the clock, whatever the display's refresh rate;
//   - Escape ends the show; the page can start it again (it calls main);
//   - music.dat through SDL 2's mixer and libxmp.
// What it draws: the sky band, a black ground, a white 4x8 marker that
// moves 3 pixels right a frame, and the panel over the left 150 columns.
//
// The page (shell.html) hears from it through these hooks on Module:
//   newyearError(text)    a data file is missing or broken; nothing runs
//   newyearSilence(text)  no music; the show runs silent
//   newyearEnded()        Escape ended the show
//   newyearStopped(n)     test mode (--stop-at N): frame N is shown, and
//                         the show stops there with the picture kept
// and reads newyearFrames() (frames drawn) and newyearMusicMs() (the
// module's position, -1 without music).
#include <SDL.h>
#include <SDL_mixer.h>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <emscripten.h>
#include <string>

namespace {

constexpr int screenWidth = 320;
constexpr int screenHeight = 240;
constexpr int64_t framePause = 20000;  // µs after each frame, as the desktop's SDL_Delay(20)
// After a hidden tab or a stall the clock is taken as it is: no burst of
// frames to catch up.
constexpr int64_t maxLag = 100000;
const char* const dataDir = "/data";

struct Show {
    SDL_Window* window = nullptr;
    SDL_Surface* screen = nullptr;
    SDL_Surface* panel = nullptr;
    Mix_Music* music = nullptr;
    Uint32 sky = 0, ground = 0, white = 0;
    int frames = 0;
    int stopAt = 0;  // 0: no test stop
    int64_t due = 0;
};

Show show;

EM_JS(void, hook, (const char* name, const char* text, int number), {
    var f = Module[UTF8ToString(name)];
    if (f)
        f(text ? UTF8ToString(text) : number);
});

int64_t nowUs()
{
    return static_cast<int64_t>(emscripten_get_now() * 1000);
}

bool loadPanel(std::string& error)
{
    const std::string path = std::string(dataDir) + "/gfx.dat";
    SDL_RWops* file = SDL_RWFromFile(path.c_str(), "rb");
    if (!file) {
        error = "cannot open \"gfx.dat\" in " + std::string(dataDir) + ": " + std::strerror(errno);
        return false;
    }
    show.panel = SDL_LoadBMP_RW(file, 1);
    if (!show.panel || show.panel->w < 150 || show.panel->h < screenHeight) {
        error = "\"gfx.dat\" in " + std::string(dataDir) + " is not a BMP of at least 150x240";
        return false;
    }
    SDL_SetColorKey(show.panel, SDL_TRUE, SDL_MapRGB(show.panel->format, 255, 0, 255));
    return true;
}

void startMusic(std::string& silence)
{
    if (Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024) != 0) {
        silence = std::string("no audio device: ") + Mix_GetError();
        return;
    }
    show.music = Mix_LoadMUS((std::string(dataDir) + "/music.dat").c_str());
    if (!show.music || Mix_PlayMusic(show.music, 0) != 0)
        silence = std::string("\"music.dat\" does not play: ") + Mix_GetError();
}

void stopShow()
{
    emscripten_cancel_main_loop();
    if (show.music) {
        Mix_HaltMusic();
        Mix_FreeMusic(show.music);
    }
    Mix_CloseAudio();
    SDL_FreeSurface(show.panel);
    SDL_FreeSurface(show.screen);
    SDL_Quit();
    show.window = nullptr;
    show.screen = show.panel = nullptr;
    show.music = nullptr;
}

bool escapePressed()
{
    SDL_Event event;
    bool quit = false;
    while (SDL_PollEvent(&event))
        quit = quit || (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE);
    return quit;
}

void drawFrame()
{
    SDL_Rect sky{0, 0, screenWidth, 60};
    SDL_Rect ground{0, 60, screenWidth, screenHeight - 60};
    SDL_Rect marker{show.frames * 3 % screenWidth, 200, 4, 8};
    SDL_Rect panelSrc{0, 0, 150, screenHeight};
    SDL_Rect panelDst{0, 0, 0, 0};
    SDL_FillRect(show.screen, &sky, show.sky);
    SDL_FillRect(show.screen, &ground, show.ground);
    SDL_FillRect(show.screen, &marker, show.white);
    SDL_UpperBlit(show.panel, &panelSrc, show.screen, &panelDst);
}

void present()
{
    SDL_BlitSurface(show.screen, nullptr, SDL_GetWindowSurface(show.window), nullptr);
    SDL_UpdateWindowSurface(show.window);
}

// Called once per display refresh: draws the frames that are due, each
// followed by its 20 ms, then shows the last one.
void tick()
{
    int64_t now = nowUs();
    if (now < show.due)
        return;
    if (now - show.due > maxLag)
        show.due = now;
    while (now >= show.due) {
        if (escapePressed()) {
            stopShow();
            hook("newyearEnded", nullptr, 0);
            return;
        }
        int64_t start = nowUs();
        drawFrame();
        ++show.frames;
        show.due += nowUs() - start + framePause;
        if (show.frames == show.stopAt)
            break;
    }
    int64_t start = nowUs();
    present();
    show.due += nowUs() - start;
    if (show.frames == show.stopAt) {
        emscripten_cancel_main_loop();
        if (show.music)
            Mix_HaltMusic();
        hook("newyearStopped", nullptr, show.frames);
    }
}

bool start(std::string& error, std::string& silence)
{
    show = Show{};
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        error = std::string("cannot start SDL: ") + SDL_GetError();
        return false;
    }
    SDL_ShowCursor(0);
    show.window =
        SDL_CreateWindow("newyear", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, screenWidth, screenHeight, 0);
    show.screen = SDL_CreateRGBSurface(0, screenWidth, screenHeight, 16, 0xf800, 0x07e0, 0x001f, 0);
    if (!show.window || !show.screen) {
        error = std::string("cannot open the screen: ") + SDL_GetError();
        return false;
    }
    if (!loadPanel(error))
        return false;
    startMusic(silence);
    show.sky = SDL_MapRGB(show.screen->format, 60, 80, 150);
    show.ground = SDL_MapRGB(show.screen->format, 0, 0, 0);
    show.white = SDL_MapRGB(show.screen->format, 255, 255, 255);
    return true;
}

}  // namespace

extern "C" {
EMSCRIPTEN_KEEPALIVE int newyearFrames()
{
    return show.frames;
}

EMSCRIPTEN_KEEPALIVE int newyearMusicMs()
{
    return show.music ? static_cast<int>(Mix_GetMusicPosition(show.music) * 1000) : -1;
}
}

// The page calls main on its start click, and again to watch once more.
int main(int argc, char** argv)
{
    std::string error, silence;
    if (!start(error, silence)) {
        stopShow();
        hook("newyearError", error.c_str(), 0);
        return 1;
    }
    if (!silence.empty())
        hook("newyearSilence", silence.c_str(), 0);
    if (argc == 3 && std::strcmp(argv[1], "--stop-at") == 0)
        show.stopAt = std::atoi(argv[2]);
    show.due = nowUs();
    emscripten_set_main_loop(tick, 0, 1);
}
