// The music, the same on every edge: SDL_mixer's calls mean the same in its
// 1.2 (the desktop) and its 2 (the web).
#pragma once

#include <SDL_mixer.h>
#include <string>

// Loads dir/music.dat and plays it once, on the sound device the edge has
// just opened; music stays null, and silence says why, when it cannot.
void playMusic(Mix_Music*& music, const std::string& dir, std::string& silence);

// Halts and frees the music and closes the sound device, if it is open.
void closeMusic(Mix_Music*& music, bool& audioOpen);
