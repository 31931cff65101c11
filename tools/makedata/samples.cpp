// Synthesised instruments. Looping tones hold a whole number of waveform
// cycles in a loop whose length sets the pitch at C-2. The player plays a
// sample at 7159090.5 / (2 * period) bytes per second, about 8363.4 Hz at C-2
// (period 428), as measured from SDL_mixer's output; tuned for the other
// common clock, 7093789.2 Hz, every note sounded 15.9 cents sharp.
#include "music.h"

#include "detmath.h"
#include "makedata.h"

#include <algorithm>
#include <cmath>

namespace {

// The player's rounded periods leave E to A about 2 cents sharper than C, D
// and B: C tuned a cent flat puts every note within about 1.5 cents of equal
// temperament.
constexpr double centUp = 1.0005777895065548;  // 2^(1/1200)
constexpr double rateC2 = 7159090.5 / (2 * 428) * centUp;
constexpr double rateC3 = 7159090.5 / (2 * 214) * centUp;

// Fits a float waveform into signed bytes with the given peak.
std::vector<int8_t> quantise(const std::vector<double>& w, double peak)
{
    double top = 1e-9;
    for (double v : w)
        top = std::max(top, std::fabs(v));
    std::vector<int8_t> out(w.size());
    for (size_t i = 0; i < w.size(); ++i)
        out[i] = int8_t(det::lround(w[i] / top * peak));
    if (out.size() % 2)
        out.push_back(0);
    return out;
}

// A sum of harmonics, each sounding `cycles` times per `loop` bytes, so the
// wave repeats exactly after `loop` bytes.
double harmonics(const std::vector<double>& amps, double cycles, double loop, int i, double bright)
{
    double v = 0;
    for (size_t n = 1; n <= amps.size(); ++n)
        v += amps[n - 1] * det::pow(bright, double(n - 1)) * det::sin(2 * M_PI * cycles * n * i / loop);
    return v;
}

// A tone with a brighter, louder start of `attack` bytes that settles into
// its loop; the wave repeats every `loop` bytes, so the loop may start anywhere.
Instrument loopedTone(const char* name, int baseNote, const std::vector<double>& amps, int cycles, int loop, int attack,
                      double attackBoost)
{
    std::vector<double> w(attack + loop);
    for (int i = 0; i < int(w.size()); ++i) {
        const double t = std::min(1.0, double(i) / std::max(attack, 1));
        const double fade = 1.0 - t * (2.0 - t);  // eases out to the loop's timbre
        w[i] = harmonics(amps, cycles, loop, i, 1.0 + 0.25 * fade) * (1.0 + attackBoost * fade);
    }
    Instrument in{name, quantise(w, 118), 64, attack, loop, baseNote};
    return in;
}

// A just-intonation chord with a slightly detuned twin of every voice, for a
// slow chorus. Ratios are whole cycle counts within the loop.
Instrument chordPad(const char* name, int baseNote, const std::vector<int>& voices)
{
    const int loop = 7676;  // 120 root cycles: C-2 sounds C3 (a cent flat, within 0.12 cents)
    std::vector<double> w(2 * loop);
    const std::vector<double> amps{1.0, 0.45, 0.22, 0.12, 0.06};
    for (int i = 0; i < int(w.size()); ++i) {
        double v = 0;
        for (int k : voices)
            v += harmonics(amps, k, loop, i, 1.0) + 0.8 * harmonics(amps, k + 1, loop, i, 0.9);
        const double fadeIn = std::min(1.0, double(i) / loop);
        w[i] = v * (0.15 + 0.85 * fadeIn * fadeIn);
    }
    return Instrument{name, quantise(w, 118), 64, loop, loop, baseNote};
}

Instrument bellTone()
{
    // Partials of a struck bar: a strong fundamental, a quick bright strike.
    const double f = 523.2511;  // C5 at C-2
    const double parts[][3] = {
        {1.0, 1.0, 1.3}, {2.0, 0.35, 0.6}, {3.0, 0.18, 0.35}, {4.16, 0.22, 0.12}, {6.8, 0.1, 0.04}};
    const int n = int(rateC2 * 1.5);
    std::vector<double> w(n);
    for (int i = 0; i < n; ++i) {
        const double t = i / rateC2;
        double v = 0;
        for (const auto& p : parts)
            v += p[1] * det::exp(-t / p[2]) * det::sin(2 * M_PI * f * p[0] * t);
        const double tail = std::min(1.0, (n - i) / (0.2 * rateC2));
        w[i] = v * std::min(1.0, t * 2000.0) * tail;
    }
    w[0] = w[1] = 0;
    return Instrument{"bell", quantise(w, 118), 64, 0, 0, 72};
}

// Drums are played at C-3 (written as C5), so they are made at that rate.
Instrument kickDrum(Rng& rng)
{
    const int n = int(rateC3 * 0.34);
    std::vector<double> w(n);
    double phase = 0;
    for (int i = 0; i < n; ++i) {
        const double t = i / rateC3;
        phase += 2 * M_PI * (46 + 120 * det::exp(-t / 0.028)) / rateC3;
        const double click = t < 0.004 ? randSigned(rng) * 0.4 * (1 - t / 0.004) : 0.0;
        w[i] = det::sin(phase) * det::exp(-t / 0.16) * std::min(1.0, t * 3000) + click;
    }
    return Instrument{"kick", quantise(w, 124), 64, 0, 0, 60};
}

Instrument snareDrum(Rng& rng)
{
    const int n = int(rateC3 * 0.26);
    std::vector<double> w(n);
    double low = 0;
    for (int i = 0; i < n; ++i) {
        const double t = i / rateC3;
        low += (randSigned(rng) - low) * 0.55;  // takes the fizz off the noise
        const double body = det::sin(2 * M_PI * 182 * t) * det::exp(-t / 0.045);
        w[i] = (low * 1.3 * det::exp(-t / 0.075) + 0.8 * body) * std::min(1.0, t * 3000);
    }
    return Instrument{"snare", quantise(w, 112), 64, 0, 0, 60};
}

Instrument hiHat(Rng& rng, const char* name, double decay, double length)
{
    const int n = int(rateC3 * length);
    std::vector<double> w(n);
    double prev = 0;
    for (int i = 0; i < n; ++i) {
        const double t = i / rateC3;
        const double noise = randSigned(rng);
        w[i] = (noise - prev) * det::exp(-t / decay);  // a difference keeps only the hiss
        prev = noise;
    }
    return Instrument{name, quantise(w, 96), 64, 0, 0, 60};
}

}  // namespace

std::vector<Instrument> makeInstruments()
{
    Rng rng{2027u};
    std::vector<Instrument> v(instCount + 1);
    // 120 cycles in 3838 bytes: C4 a cent flat, within 0.13 cents; no shorter
    // loop comes closer.
    v[lead] = loopedTone("lead", 60, {1.0, 0.28, 0.36, 0.12, 0.16, 0.05, 0.08, 0.03}, 120, 3838, 1520, 0.35);
    v[bass] = loopedTone("bass", 48, {1.0, 0.55, 0.3, 0.18, 0.1, 0.05}, 60, 3838, 2280, 0.6);
    v[bell] = bellTone();
    v[padMajor] = chordPad("pad major", 48, {120, 150, 180, 240});
    v[padMinor] = chordPad("pad minor", 48, {120, 144, 180, 240});
    v[kick] = kickDrum(rng);
    v[snare] = snareDrum(rng);
    v[hat] = hiHat(rng, "hat", 0.018, 0.09);
    v[openHat] = hiHat(rng, "open hat", 0.11, 0.4);
    v.erase(v.begin());
    return v;
}
