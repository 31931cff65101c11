// The demo's data files: finding the folder that holds them, reading and
// checking the two pictures, and the lines that say what is wrong. Every
// program that draws the demo loads through here.
//
// Each function reports a failure the same way: false, and one line in
// error that names the file, the folder or the cause. A picture that is
// refused is never handed on, so nothing drawn later reads past its pixels.
#pragma once

#include <SDL.h>
#include <string>
#include <vector>

// The height map's side: hm.dat holds mapSize x mapSize heights.
constexpr int mapSize = 300;

// The first of dirs that holds gfx.dat, or the working directory when
// dirs is empty.
bool findData(const std::vector<std::string>& dirs, std::string& dir, std::string& error);

// dir/name is a regular file: a FIFO would wait for a writer for ever, and
// a device is no picture or music either.
bool checkFile(const std::string& dir, const char* name, std::string& error);

// "name" in dir, as the lines about a file name it.
std::string inFolder(const char* name, const std::string& dir);

// Loads dir's gfx.dat and hm.dat, in that order, and checks both; on
// failure neither is kept.
bool loadImages(const std::string& dir, SDL_Surface*& panel, SDL_Surface*& heightMap, std::string& error);

// Reads a BMP and closes file; name only goes into the message.
bool readBmp(SDL_RWops* file, const char* name, SDL_Surface*& image, std::string& error);
// At least 150x240 pixels.
bool checkPanel(const SDL_Surface* panel, std::string& error);
// 8 bits a pixel, 300x300, rows 300 bytes apart.
bool checkHeightMap(const SDL_Surface* heightMap, std::string& error);

// Makes the panel's pure magenta transparent.
void keyPanel(SDL_Surface* panel);
