// The music on the desktop, through SDL_mixer 1.2 on SDL's own mixing
// thread, which the demo does not touch again until it stops the music.
#include "platform/desktop/desktop.h"
#include "platform/music.h"

#include <alsa/asoundlib.h>
#include <cstdlib>
#include <cstring>

namespace {

// While SDL opens the sound device, ALSA's own messages go nowhere: where
// there is no card it would print eight lines before the demo's one line
// says the same.
void ignoreAlsa(const char*, int, const char*, int, const char*, ...) {}

class AlsaQuiet {
public:
    AlsaQuiet() { snd_lib_error_set_handler(ignoreAlsa); }
    ~AlsaQuiet() { snd_lib_error_set_handler(nullptr); }
    AlsaQuiet(const AlsaQuiet&) = delete;
    AlsaQuiet& operator=(const AlsaQuiet&) = delete;
};

const char* variable(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}

// What SDL tried before it gave up. Unless SDL_AUDIODRIVER names drivers,
// it asks a PulseAudio server first and takes ALSA when none answers, so
// an error of ALSA's means the server was not there: SDL keeps no word of it.
std::string noSound(const std::string& error)
{
    std::string why = "no sound: ";
    const bool alsa = error.rfind("ALSA:", 0) == 0;
    const char* named = variable("SDL_AUDIODRIVER");
    if (!named && alsa) {
        const char* server = variable("PULSE_SERVER");
        why +=
            server ? std::string("no PulseAudio server at \"") + server + "\" (PULSE_SERVER)" : "no PulseAudio server";
        why += ", and ";
    }
    why += error;
    if (named)
        why += std::string(" (SDL_AUDIODRIVER=") + named + ")";
    return why;
}

}  // namespace

void startMusic(Edge& edge, const std::string& dir, std::string& silence)
{
    // SDL asks a PulseAudio server to hold one buffer of sound, 23 ms (1024
    // samples at the 44100 Hz that sdl12-compat opens), and writes the next
    // only when that one has played: on a busy machine a mixing thread a few
    // ms late left gaps of silence. 400 ms held ahead ride over them (see
    // tools/sound-gaps.sh); nothing on screen keeps time with the music, so
    // the delay costs nothing. The user's own setting is kept.
    setVariable(edge.changes, "PULSE_LATENCY_MSEC", "400", false);
    {
        const AlsaQuiet quiet;
        if (Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024) != 0) {
            silence = noSound(SDL_GetError());
            return;
        }
    }
    edge.audioOpen = true;
    playMusic(edge.music, dir, silence);
}

void stopMusic(Edge& edge)
{
    closeMusic(edge.music, edge.audioOpen);
}
