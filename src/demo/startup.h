// Start-up pieces shared by the demo and the frame-capture tool: loading and
// checking the two images, and the effects' initial state.
#pragma once

#include <SDL.h>
#include <string>

struct Images {
    SDL_Surface* panel = nullptr;
    SDL_Surface* heightMap = nullptr;
};

// Loads "gfx.dat" and "hm.dat" from the working directory. On failure
// returns false with one line in error naming the file and what is wrong.
// On failure it frees whatever it had loaded: both pointers come back null.
bool loadImages(Images& images, std::string& error);

// The steps of loadImages, for a caller that has the bytes already. readBmp
// closes file; name only goes into the message.
SDL_Surface* readBmp(SDL_RWops* file, const char* name, std::string& error);
bool checkPanel(const SDL_Surface* panel, std::string& error);
bool checkHeightMap(const SDL_Surface* heightMap, std::string& error);

void freeImages(Images& images);

// Sets the 320x240 16-bit full-screen mode, takes its pixel format and
// clears it to black. False, with the library's reason, when it cannot.
bool openScreen(std::string& error);

// Makes the panel's pure magenta transparent.
void keyPanel(SDL_Surface* panel);

// Empties the scroller and gives every flake its first position.
void resetEffects();
