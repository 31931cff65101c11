// The score and the ProTracker writer. Four channels, panned L R R L:
// 0 (left) lead or pad, 1 (right) bass, 2 (right) bells, 3 (left) drums.
#include "music.h"

#include "makedata.h"

#include <array>
#include <cstring>
#include <sstream>

namespace {

constexpr int rows = 64;
constexpr int channels = 4;
enum Channel { chLead, chBass, chBell, chDrums };

struct Cell {
    int sample = 0, period = 0, effect = 0, param = 0;
};

using Pattern = std::array<Cell, rows * channels>;

constexpr int periods[36] = {856, 808, 762, 720, 678, 640, 604, 570, 538, 508, 480, 453, 428, 404, 381, 360, 339, 320,
                             302, 285, 269, 254, 240, 226, 214, 202, 190, 180, 170, 160, 151, 143, 135, 127, 120, 113};

Cell& at(Pattern& p, int row, int ch)
{
    return p[row * channels + ch];
}

int midiOf(const std::string& name)
{
    static const int semis[] = {9, 11, 0, 2, 4, 5, 7};  // A..G
    int n = semis[name[0] - 'A'];
    size_t i = 1;
    if (name[i] == '#')
        ++n, ++i;
    if (name[i] == 'b')
        --n, ++i;
    return n + 12 * (name[i] - '0' + 1);
}

const std::vector<Instrument>& instruments()
{
    static const std::vector<Instrument> all = makeInstruments();
    return all;
}

// A note outside the period table gets period -1, which makeMusic refuses.
void note(Pattern& p, int row, int ch, int inst, int midi, int vol = -1)
{
    const int index = midi - instruments()[inst - 1].baseNote + 12;
    Cell& c = at(p, row, ch);
    c.sample = inst;
    c.period = index < 0 || index >= 36 ? -1 : periods[index];
    if (vol >= 0)
        c.effect = 0xc, c.param = vol;
}

void effect(Pattern& p, int row, int ch, int fx, int param)
{
    at(p, row, ch).effect = fx;
    at(p, row, ch).param = param;
}

// A line of notes, one token per `step` rows: a note name, "-" to hold, "."
// to stop. Held notes get a slow vibrato once they have sounded a while.
void melody(Pattern& p, int ch, int inst, const char* text, int transpose, int vol, int step = 2)
{
    std::istringstream in(text);
    std::string tok;
    int row = 0, held = 0;
    while (in >> tok) {
        if (tok == ".") {
            effect(p, row, ch, 0xc, 0);
        } else if (tok == "-") {
            held += step;
            for (int r = row; r < row + step; ++r)
                if (held > 4 && inst == lead)
                    effect(p, r, ch, 0x4, 0x43);
        } else {
            note(p, row, ch, inst, midiOf(tok) + transpose, vol);
            held = step;
        }
        row += step;
    }
}

// Chords per half bar, e.g. "C C Am Am F F G G".
struct Chord {
    int root;  // pitch class
    bool minor;
};

std::vector<Chord> chords(const char* text)
{
    std::istringstream in(text);
    std::vector<Chord> out;
    std::string tok;
    while (in >> tok)
        out.push_back({midiOf(tok.substr(0, 1) + "0") % 12, tok.size() > 1 && tok[1] == 'm'});
    return out;
}

// Bass roots sit between E2 and D#3.
int bassRoot(const Chord& c)
{
    return 36 + (c.root + 8) % 12 + 4;
}

void padLine(Pattern& p, const std::vector<Chord>& prog, int vol)
{
    for (size_t h = 0; h < prog.size(); ++h) {
        if (h > 0 && prog[h].root == prog[h - 1].root && prog[h].minor == prog[h - 1].minor)
            continue;
        note(p, int(h) * 8, chLead, prog[h].minor ? padMinor : padMajor, 48 + (prog[h].root + 7) % 12 - 7 + 12, vol);
    }
}

void bassLine(Pattern& p, const std::vector<Chord>& prog, bool groove, int vol)
{
    for (size_t h = 0; h < prog.size(); ++h) {
        const int r = bassRoot(prog[h]), row = int(h) * 8;
        if (!groove) {
            if (h == 0 || prog[h].root != prog[h - 1].root)
                note(p, row, chBass, bass, r, vol);
            continue;
        }
        // Root, a pushed root and the fifth: a gentle swing over eighths.
        note(p, row, chBass, bass, r, vol);
        note(p, row + 3, chBass, bass, r, vol - 16);
        note(p, row + 4, chBass, bass, r + 7 - (r + 7 > 51 ? 12 : 0), vol - 8);
        effect(p, row + 7, chBass, 0xc, vol / 3);
    }
}

// Broken chords on the bells in eighths: root, third, fifth, octave.
void bellArps(Pattern& p, const std::vector<Chord>& prog, int vol, bool down)
{
    for (size_t h = 0; h < prog.size(); ++h) {
        const int root = 60 + prog[h].root;
        const int tones[4] = {root, root + (prog[h].minor ? 3 : 4), root + 7, root + 12};
        for (int k = 0; k < 4; ++k) {
            const int t = down && h % 2 ? tones[3 - k] : tones[k];
            note(p, int(h) * 8 + k * 2, chBell, bell, t, k == 0 ? vol : vol - 8);
        }
    }
}

// One bar of drums per string of 16 rows: k kick, s snare, h hat, o open hat.
void drums(Pattern& p, const char* bar1, const char* bar2, const char* bar3, const char* bar4)
{
    const char* bars[4] = {bar1, bar2, bar3, bar4};
    for (int b = 0; b < 4; ++b)
        for (int r = 0; r < 16 && bars[b][r]; ++r) {
            const int row = b * 16 + r;
            switch (bars[b][r]) {
                case 'k':
                    note(p, row, chDrums, kick, 72, 60);
                    break;
                case 's':
                    note(p, row, chDrums, snare, 72, 44);
                    break;
                case 'S':
                    note(p, row, chDrums, snare, 72, 30);
                    break;
                case 'h':
                    note(p, row, chDrums, hat, 72, 22);
                    break;
                case 'H':
                    note(p, row, chDrums, hat, 72, 14);
                    break;
                case 'o':
                    note(p, row, chDrums, openHat, 72, 20);
                    break;
                default:
                    break;
            }
        }
}

const char* const beat = "k.h.s.hkk.h.s.h.";
const char* const beatEnd = "k.h.s.hkk.s.sSss";

const char* const progA = "C C Am Am F F G G";
const char* const progB = "C C Am Am Dm G C C";
const char* const progC = "F F G G Em Em Am Am";
const char* const progD = "Dm Dm G G C Am F G";

const char* const themeA = "E5 - G5 E5 D5 - C5 -  A4 - - C5 E5 - - -  F5 - E5 D5 C5 - A4 -  B4 - C5 D5 G4 - - -";
const char* const themeB = "E5 - G5 E5 D5 - C5 -  A5 - - G5 E5 - - -  F5 E5 D5 - B4 C5 D5 -  C5 - - - - - . .";
const char* const bridgeC = "A5 - G5 F5 C5 - F5 -  G5 - F5 E5 D5 - - -  E5 - D5 E5 G5 - E5 -  A5 - - - E5 - - -";
const char* const bridgeD = "F5 - E5 D5 A4 - D5 -  G5 - F5 D5 B4 - - -  C5 - E5 - A5 - G5 -  F5 - E5 - D5 - B4 -";

Pattern intro1()
{
    Pattern p{};
    effect(p, 0, chDrums, 0xf, 6);
    effect(p, 0, chBass, 0xf, 125);
    padLine(p, chords(progA), 58);
    bellArps(p, chords(progA), 36, true);
    return p;
}

Pattern intro2()
{
    Pattern p{};
    padLine(p, chords(progB), 60);
    bellArps(p, chords(progB), 32, true);
    bassLine(p, chords(progB), false, 50);
    drums(p, "h...h...h...h...", "h...h...h...h.h.", "h...h...h...h...", "k...h...s.s.ssss");
    return p;
}

Pattern theme(const char* prog, const char* tune, bool lastHalf, bool doubled)
{
    Pattern p{};
    melody(p, chLead, lead, tune, 0, 50);
    bassLine(p, chords(prog), true, 56);
    if (doubled)
        melody(p, chBell, bell, tune, 12, 30);  // the bells an octave up, for the last chorus
    else
        bellArps(p, chords(prog), 24, false);
    drums(p, beat, beat, beat, lastHalf ? beatEnd : beat);
    return p;
}

// The theme again, but sung by the bells over the pads, with a lighter beat.
Pattern variation(const char* prog, const char* tune, bool lastHalf)
{
    Pattern p{};
    padLine(p, chords(prog), 60);
    melody(p, chBell, bell, tune, 0, 42);
    bassLine(p, chords(prog), true, 50);
    const char* light = "k.h.H.h.S.h.H.hk";
    drums(p, light, light, light, lastHalf ? beatEnd : light);
    return p;
}

// F, F minor, then C, slowing down, and everything rings out.
Pattern ending()
{
    Pattern p{};
    const char* prog = "F F Fm Fm";
    bassLine(p, chords(prog), false, 52);
    bellArps(p, chords(prog), 36, false);
    drums(p, "k...h...h...h...", "k...h...h.S.SSSS", "", "");
    melody(p, chLead, lead, "A5 - - - G5 - - - F5 - - - Ab5 - - - G5 - - -", 0, 40);
    effect(p, 24, chDrums, 0xf, 110);
    effect(p, 28, chDrums, 0xf, 92);
    effect(p, 32, chDrums, 0xf, 80);
    note(p, 32, chLead, padMajor, 48, 40);
    note(p, 32, chBass, bass, 36, 56);
    note(p, 32, chBell, bell, 84, 44);
    note(p, 32, chDrums, kick, 72, 60);
    note(p, 34, chDrums, openHat, 72, 24);
    for (int r = 40; r < 56; ++r)
        effect(p, r, chLead, 0xa, 0x01);
    note(p, 40, chBell, bell, 79, 22);
    note(p, 44, chBell, bell, 76, 16);
    note(p, 48, chBell, bell, 72, 12);
    effect(p, 56, chLead, 0xc, 0);
    effect(p, 56, chBass, 0xc, 0);
    effect(p, 56, chDrums, 0xd, 0);
    return p;
}

void put16(Bytes& out, int v)
{
    out.push_back(uint8_t(v >> 8));
    out.push_back(uint8_t(v & 0xff));
}

void putText(Bytes& out, const std::string& s, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        out.push_back(i < s.size() ? uint8_t(s[i]) : 0);
}

Bytes writeModule(const std::vector<Pattern>& patterns, const std::vector<int>& order)
{
    const std::vector<Instrument>& ins = instruments();
    Bytes out;
    putText(out, "newyear 2027", 20);
    for (int s = 0; s < 31; ++s) {
        if (s >= int(ins.size())) {
            putText(out, "", 22);
            put16(out, 0), out.push_back(0), out.push_back(0), put16(out, 0), put16(out, 1);
            continue;
        }
        const Instrument& in = ins[s];
        putText(out, in.name, 22);
        put16(out, int(in.data.size() / 2));
        out.push_back(0);
        out.push_back(uint8_t(in.volume));
        put16(out, in.loopStart / 2);
        put16(out, in.loopLength ? in.loopLength / 2 : 1);
    }
    out.push_back(uint8_t(order.size()));
    out.push_back(127);
    for (int i = 0; i < 128; ++i)
        out.push_back(i < int(order.size()) ? uint8_t(order[i]) : 0);
    putText(out, "M.K.", 4);
    for (const Pattern& p : patterns)
        for (const Cell& c : p) {
            out.push_back(uint8_t((c.sample & 0xf0) | (c.period >> 8)));
            out.push_back(uint8_t(c.period & 0xff));
            out.push_back(uint8_t(((c.sample & 0x0f) << 4) | c.effect));
            out.push_back(uint8_t(c.param));
        }
    for (const Instrument& in : ins)
        for (int8_t v : in.data)
            out.push_back(uint8_t(v));
    return out;
}

}  // namespace

bool makeMusic(Bytes& out, std::string& error)
{
    const std::vector<Pattern> patterns{
        intro1(),                             // 0
        intro2(),                             // 1
        theme(progA, themeA, false, false),   // 2
        theme(progB, themeB, true, false),    // 3
        variation(progA, themeA, false),      // 4
        variation(progB, themeB, true),       // 5
        theme(progC, bridgeC, false, false),  // 6
        theme(progD, bridgeD, true, false),   // 7
        theme(progA, themeA, false, true),    // 8
        theme(progB, themeB, true, true),     // 9
        ending(),                             // 10
    };
    for (size_t n = 0; n < patterns.size(); ++n)
        for (int i = 0; i < rows * channels; ++i)
            if (patterns[n][i].period < 0) {
                error = "pattern " + std::to_string(n) + ", row " + std::to_string(i / channels) + ", channel " +
                        std::to_string(i % channels) + ": a note outside the period table";
                return false;
            }
    out = writeModule(patterns, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    return true;
}
