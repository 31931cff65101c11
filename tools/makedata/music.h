// The module's instruments, shared by the sample synthesis and the score.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Instrument {
    std::string name;
    std::vector<int8_t> data;
    int volume = 64;     // 0..64
    int loopStart = 0;   // in bytes, even
    int loopLength = 0;  // in bytes, even; 0 = plays once
    int baseNote = 0;    // the MIDI note that sounds when played at C-2
};

// Sample numbers in the module (1-based, as in the pattern data).
enum Inst { lead = 1, bass, bell, padMajor, padMinor, kick, snare, hat, openHat, instCount = openHat };

std::vector<Instrument> makeInstruments();
