// Start-up and shut-down, the one path by which every program that draws
// the demo begins: the demo itself, newyear-capture, the benchmarks and the
// tests. Each step reports a failure the same way: false, and one line in
// error that names the file, the folder or the cause.
#pragma once

#include "demo/frame.h"

#include <SDL.h>
#include <string>
#include <vector>

enum class Display {
    fullScreen,
    window,
    offscreen,  // a 5-6-5 surface of our own that nobody sees
};

struct Setup {
    // Folders to look in for the data files, in order: the first that holds
    // gfx.dat serves all three. Empty: the working directory.
    std::vector<std::string> dataDirs;
    Display display = Display::fullScreen;
    int scale = 0;  // a window's scale; 0 takes the largest that fits the desktop
    bool music = true;
};

// Frames drawn without a display or sound, from the data in dir (empty:
// the working directory).
Setup offscreenSetup(const std::string& dir);

// Everything before the first frame, in this order: the motion tables, the
// media library, the images, the screen, the music, the panel's colour key,
// then the scroller and the snow. Music that cannot play leaves its reason
// in silence and the demo runs on. On failure nothing is left to stop.
bool startDemo(Demo& demo, const Setup& setup, std::string& error, std::string& silence);

// Hands back what startDemo took: the music and the audio device first,
// then the images and the screen, then the media library.
void stopDemo(Demo& demo);

// The steps of startDemo, for the tests and the fuzzer.

// The first of dirs that holds gfx.dat, or the working directory when
// dirs is empty.
bool findData(const std::vector<std::string>& dirs, std::string& dir, std::string& error);
// Loads dir's gfx.dat and hm.dat into demo; on failure neither is kept.
bool loadImages(Demo& demo, const std::string& dir, std::string& error);
// Reads a BMP and closes file; name only goes into the message.
bool readBmp(SDL_RWops* file, const char* name, SDL_Surface*& image, std::string& error);
bool checkPanel(const SDL_Surface* panel, std::string& error);
bool checkHeightMap(const SDL_Surface* heightMap, std::string& error);
// Makes the panel's pure magenta transparent.
void keyPanel(SDL_Surface* panel);
