// SDL 1.2's names for the demo's own code, in the web build, where <SDL.h>
// is SDL 2's. This file stands first on the web build's include path and
// brings in SDL 2's own SDL.h behind it.
//
// What the demo's code calls is the same on SDL 2's software surfaces:
// SDL_FillRect, SDL_UpperBlit, SDL_SetColorKey, SDL_MapRGB, SDL_GetRGB,
// SDL_CreateRGBSurface, SDL_FreeSurface, SDL_LoadBMP_RW, SDL_RWFromFile,
// SDL_RWread, SDL_RWseek, SDL_RWtell, SDL_RWclose and SDL_GetError, and the
// fields of SDL_Surface and SDL_PixelFormat that it reads. So the blits and
// fills are SDL's own on both platforms. Where SDL 2 differs:
// - SDL_SetColorKey takes a flag that is only on or off: SDL_SRCCOLORKEY,
//   the one name SDL 2 lacks, is on.
// - SDL_Rect's fields are int, not 16 bits: every rectangle the demo makes
//   fits in 16 bits, so each means the same.
// - SDL_FillRect does not write the clipped rectangle back into the
//   caller's: the demo fills every box from a rectangle of its own.
// The video mode, the flip, the events and the music are the web edge's
// (web.h); the demo's code does not call them.
#pragma once

#include_next <SDL.h>

#define SDL_SRCCOLORKEY SDL_TRUE
