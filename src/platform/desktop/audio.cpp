// The music on the desktop, through SDL_mixer 1.2 on SDL's own mixing
// thread, which the demo does not touch again until it stops the music.
#include "data/data.h"
#include "platform/desktop/desktop.h"

void startMusic(Edge& edge, const std::string& dir, std::string& silence)
{
    if (Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024) != 0) {
        silence = std::string("no sound: ") + SDL_GetError();
        return;
    }
    edge.audioOpen = true;
    std::string error;
    if (!checkFile(dir, "music.dat", error)) {
        silence = error;
        return;
    }
    edge.music = Mix_LoadMUS((dir + "/music.dat").c_str());
    if (!edge.music) {
        silence = inFolder("music.dat", dir) + " cannot be played: " + Mix_GetError();
        return;
    }
    Mix_PlayMusic(edge.music, 0);
}

void stopMusic(Edge& edge)
{
    if (!edge.audioOpen)
        return;
    Mix_HaltMusic();
    if (edge.music)
        Mix_FreeMusic(edge.music);
    Mix_CloseAudio();
    edge.music = nullptr;
    edge.audioOpen = false;
}
