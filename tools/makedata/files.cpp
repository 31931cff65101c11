// Random numbers and the little file writers.
#include "makedata.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

uint32_t nextRand(Rng& rng)
{
    // An LCG step scrambled by a bit mixer: the raw LCG's low bits are poor.
    rng.state = rng.state * 1664525u + 1013904223u;
    uint32_t x = rng.state;
    x ^= x >> 16;
    x *= 0x7feb352du;
    x ^= x >> 15;
    x *= 0x846ca68bu;
    x ^= x >> 16;
    return x;
}

double randUnit(Rng& rng)
{
    return nextRand(rng) / 4294967296.0;
}

double randSigned(Rng& rng)
{
    return randUnit(rng) * 2.0 - 1.0;
}

double randNormal(Rng& rng)
{
    // Twelve uniforms give a bell curve without calling into libm.
    double sum = 0.0;
    for (int i = 0; i < 12; ++i)
        sum += randUnit(rng);
    return sum - 6.0;
}

static void put16(Bytes& out, uint32_t v)
{
    out.push_back(v & 0xff);
    out.push_back((v >> 8) & 0xff);
}

static void put32(Bytes& out, uint32_t v)
{
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

static Bytes bmpHeader(int w, int h, int bits, int paletteSize, int rowBytes)
{
    const uint32_t offset = 14 + 40 + paletteSize * 4;
    Bytes out;
    out.push_back('B');
    out.push_back('M');
    put32(out, offset + rowBytes * h);
    put32(out, 0);
    put32(out, offset);
    put32(out, 40);
    put32(out, w);
    put32(out, h);  // positive: rows stored bottom-up, as every reader expects
    put16(out, 1);
    put16(out, bits);
    put32(out, 0);
    put32(out, rowBytes * h);
    put32(out, 2835);  // 72 dpi
    put32(out, 2835);
    put32(out, paletteSize);
    put32(out, 0);
    return out;
}

Bytes bmp8(int w, int h, const std::vector<uint8_t>& pixels)
{
    const int rowBytes = (w + 3) & ~3;
    Bytes out = bmpHeader(w, h, 8, 256, rowBytes);
    for (int i = 0; i < 256; ++i)
        put32(out, i * 0x010101u);
    for (int y = h - 1; y >= 0; --y) {
        out.insert(out.end(), pixels.begin() + y * w, pixels.begin() + (y + 1) * w);
        out.resize(out.size() + rowBytes - w, 0);
    }
    return out;
}

Bytes bmp24(int w, int h, const std::vector<Rgb>& pixels)
{
    const int rowBytes = (w * 3 + 3) & ~3;
    Bytes out = bmpHeader(w, h, 24, 0, rowBytes);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const Rgb& p = pixels[y * w + x];
            out.push_back(p.b);
            out.push_back(p.g);
            out.push_back(p.r);
        }
        out.resize(out.size() + rowBytes - w * 3, 0);
    }
    return out;
}

static void pngWrite(png_structp png, png_bytep data, png_size_t size)
{
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + size);
}

static void pngFlush(png_structp) {}

// False when libpng fails, which only running out of memory makes it do.
bool pngRgba(int w, int h, const std::vector<uint8_t>& rgba, Bytes& out)
{
    out.clear();
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &out, pngWrite, pngFlush);
    png_set_IHDR(png, info, w, h, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < h; ++y)
        png_write_row(png, const_cast<png_bytep>(rgba.data() + y * w * 4));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool writeFile(const std::string& path, const Bytes& data, std::string& error)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        error = "cannot write \"" + path + "\": " + std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(data.data(), 1, data.size(), f) == data.size() && std::fflush(f) == 0;
    const int writeErrno = errno;
    if (std::fclose(f) != 0 || !written) {
        // A cut-off file would pass for a made one: leave none behind.
        error = "cannot write \"" + path + "\": " + std::strerror(written ? errno : writeErrno);
        std::remove(path.c_str());
        return false;
    }
    return true;
}
