// What the demo asks of the platform it runs on: the media library started,
// a screen to draw on, the music, and the frame's input step. The demo
// declares it; each platform's edge (src/platform/desktop: SDL 1.2 on X or
// Wayland; src/platform/web: SDL 2 in a browser) defines struct Edge, the
// state it keeps for the run, and these functions. The demo's own code
// knows no more of a platform than this.
#pragma once

#include <SDL.h>
#include <string>
#include <vector>

struct Greeting;

enum class ScreenMode {
    fullScreen,
    window,
    offscreen,  // a 5-6-5 surface that nobody sees, for tools and tests
};

struct Options {
    // Folders to look in for the data files, in order: the first that holds
    // gfx.dat serves all three. Empty: the working directory.
    std::vector<std::string> dataDirs;
    ScreenMode mode = ScreenMode::fullScreen;
    int scale = 0;  // a window's scale; 0 takes the largest that fits the desktop
    bool music = true;
    // The sender's words for the scroller; null shows the built-in text.
    const Greeting* greeting = nullptr;
};

struct Edge;

// The media library with video and the joystick; then, on a display, the
// mouse cursor hidden and joystick 0 opened. On failure it is left stopped.
bool startMedia(Edge& edge, const Options& options, std::string& error);

// The 320x240 16-bit screen, or null with the reason in error.
SDL_Surface* openScreen(Edge& edge, const Options& options, std::string& error);

// Plays dir/music.dat once. Music is a bonus: without a sound device or a
// playable file the show goes on, and silence says why.
void startMusic(Edge& edge, const std::string& dir, std::string& silence);

// Stops the music and closes the sound device, first of all at the end:
// the mixing thread must not outlive what it plays.
void stopMusic(Edge& edge);

// The frame's input step: drains the event queue; true when it held a quit.
bool quitRequested(Edge& edge);

// Hands back everything else startMedia and the calls after it took, stops
// the media library and puts back what start-up changed in the process.
void stopMedia(Edge& edge);
