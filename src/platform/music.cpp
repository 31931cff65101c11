#include "platform/music.h"

#include "data/data.h"

void playMusic(Mix_Music*& music, const std::string& dir, std::string& silence)
{
    std::string error;
    if (!checkFile(dir, "music.dat", error)) {
        silence = error;
        return;
    }
    music = Mix_LoadMUS((dir + "/music.dat").c_str());
    if (!music) {
        silence = inFolder("music.dat", dir) + " cannot be played: " + Mix_GetError();
        return;
    }
    Mix_PlayMusic(music, 0);
}

void closeMusic(Mix_Music*& music, bool& audioOpen)
{
    if (!audioOpen)
        return;
    Mix_HaltMusic();
    if (music)
        Mix_FreeMusic(music);
    Mix_CloseAudio();
    music = nullptr;
    audioOpen = false;
}
