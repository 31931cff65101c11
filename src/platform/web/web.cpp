// The web edge on SDL 2: a canvas with a 5-6-5 screen of our own behind it,
// the keyboard, and the music through SDL 2's mixer and libxmp. There is no
// joystick and no cursor to hide on a page; full screen is the page's.
#include "platform/web/web.h"

#include "platform/music.h"
#include "render/layout.h"

bool startMedia(Edge& edge, const Options&, std::string& error)
{
    edge = Edge{};
    if (SDL_Init(SDL_INIT_VIDEO) == 0)
        return true;
    error = std::string("cannot start SDL: ") + SDL_GetError();
    SDL_Quit();
    return false;
}

SDL_Surface* openScreen(Edge& edge, const Options&, std::string& error)
{
    // Flags 0: a resizable or high-density window would take the canvas's
    // size on the page, which the page scales instead.
    edge.window =
        SDL_CreateWindow("newyear", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, screenWidth, screenHeight, 0);
    if (edge.window)
        edge.screen = SDL_CreateRGBSurface(0, screenWidth, screenHeight, 16, 0xF800, 0x07E0, 0x001F, 0);
    if (!edge.screen)
        error = std::string("cannot open the screen: ") + SDL_GetError();
    return edge.screen;
}

namespace {
// The mixer is first called when the browser's audio graph pulls its first
// buffer, which it does only once its sound output runs.
void SDLCALL noteSound(void* edge, Uint8*, int)
{
    static_cast<Edge*>(edge)->soundFlowing = true;
}
}  // namespace

void startMusic(Edge& edge, const std::string& dir, std::string& silence)
{
    if (Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024) != 0) {
        silence = std::string("no sound: ") + Mix_GetError();
        return;
    }
    edge.audioOpen = true;
    Mix_SetPostMix(noteSound, &edge);
    playMusic(edge.music, dir, silence);
}

void stopMusic(Edge& edge)
{
    closeMusic(edge.music, edge.audioOpen);
}

// Escape ends the show, as on the desktop; everything else is read and
// dropped.
bool quitRequested(Edge&)
{
    SDL_Event event;
    while (SDL_PollEvent(&event))
        if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE)
            return true;
    return false;
}

void showFrame(Edge& edge)
{
    SDL_UpperBlit(edge.screen, nullptr, SDL_GetWindowSurface(edge.window), nullptr);
    SDL_UpdateWindowSurface(edge.window);
}

void stopMedia(Edge& edge)
{
    SDL_FreeSurface(edge.screen);
    SDL_Quit();
    edge = Edge{};
}
