// The web edge: the demo on SDL 2 and SDL 2's mixer with libxmp, built for
// WebAssembly, on the page's canvas. Implements demo/platform.h; the page
// (shell.html and page.js) runs the show through main.cpp.
#pragma once

#include "demo/platform.h"

#include <SDL.h>
#include <SDL_mixer.h>

struct Edge {
    SDL_Window* window = nullptr;   // the page's canvas
    SDL_Surface* screen = nullptr;  // our own 5-6-5 surface, copied to the canvas
    Mix_Music* music = nullptr;     // null while playing in silence
    bool audioOpen = false;
    bool soundFlowing = false;  // the browser has started pulling the sound
};

// Puts the frame just drawn on the canvas.
void showFrame(Edge& edge);
