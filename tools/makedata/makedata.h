// Shared pieces of the data generator.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

struct Rgb {
    uint8_t r, g, b;
};

// Our own generator with a fixed seed, so the files come out byte for byte
// the same on every machine and every run; rand() is never touched.
struct Rng {
    uint32_t state;
};
uint32_t nextRand(Rng& rng);
double randUnit(Rng& rng);    // [0, 1)
double randSigned(Rng& rng);  // [-1, 1)
double randNormal(Rng& rng);  // roughly N(0, 1), from a sum of uniforms

// File formats. What can fail returns false and says why in error, in one
// line that names the file.
Bytes bmp8(int w, int h, const std::vector<uint8_t>& pixels);
Bytes bmp24(int w, int h, const std::vector<Rgb>& pixels);
bool pngRgba(int w, int h, const std::vector<uint8_t>& rgba, Bytes& out);
bool writeFile(const std::string& path, const Bytes& data, std::string& error);

// 5x7 pixel font: returns the glyph's rows, bit 4 the leftmost pixel.
const uint8_t* glyph(char c);

// The three data files.
Bytes makeHeightMap();
Bytes makePanel();
bool makeMusic(Bytes& out, std::string& error);

// The application icon at each size the desktop asks for, in pixels (the
// build's list).
constexpr int iconSizes[] = {NEWYEAR_ICON_SIZES};
bool makeIcon(int size, Bytes& out, std::string& error);
