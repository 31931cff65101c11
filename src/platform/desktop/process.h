// The environment variables start-up sets, each remembered so that the end
// can put it back and a test process can start the demo again and again:
//
// - SDL_NO_SIGNAL_HANDLERS=1, on a display: SDL would turn Ctrl+C and
//   SIGTERM into a window close request, which full screen ignores.
// - SDL12COMPAT_SCALE_METHOD=nearest unless the user chose one: the 320x240
//   picture is scaled up with sharp pixels.
// - SDL_VIDEODRIVER, when the user named none: x11 where DISPLAY is set,
//   wayland where only WAYLAND_DISPLAY is, kmsdrm where no display is named
//   at all, dummy for an offscreen screen.
// - SDL12COMPAT_WINDOW_SCALING, in a window: its whole-number scale.
// - PULSE_LATENCY_MSEC=400 unless the user set it, when the music starts:
//   a PulseAudio server holds that much sound ahead of the mixing thread.
//
// Start-up's other changes to the process are put back by the code that
// makes them:
//
// - Xlib's I/O error handler, where DISPLAY is set: the display's loss ends
//   the demo with one line (watchX and unwatchX, x11.h).
// - A SIGSEGV handler, and a 100 ms interval timer (ITIMER_REAL) with a
//   SIGALRM handler, only while the video is being set up (FaultGuard).
// - ALSA's error handler, only while the sound device is being opened:
//   ALSA's own lines would come before the demo's one (AlsaQuiet).
#pragma once

#include <string>
#include <vector>

struct ProcessChanges {
    struct Variable {
        const char* name;
        bool was;  // set before, to value
        std::string value;
    };
    std::vector<Variable> variables;
};

// Sets the environment variable name to value, remembering what it was.
// Without overwrite a value already there is kept.
void setVariable(ProcessChanges& changes, const char* name, const char* value, bool overwrite = true);
void unsetVariable(ProcessChanges& changes, const char* name);

// Puts every variable back, the last first.
void undoChanges(ProcessChanges& changes);
