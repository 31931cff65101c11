// Writing a 5-6-5 surface as an 8-bit RGB PNG file.
#pragma once

#include <SDL.h>
#include <string>

// The components are widened the way SDL 2 does when it presents a 16-bit
// picture, so a PNG compares bit for bit with a screenshot of the demo.
bool writePng(const SDL_Surface* surface, const std::string& path, std::string& error);
