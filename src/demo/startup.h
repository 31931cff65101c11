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
bool loadImages(Images& images, std::string& error);

// Makes the panel's pure magenta transparent.
void keyPanel(SDL_Surface* panel);

// Empties the scroller and gives every flake its first position.
void resetEffects();
