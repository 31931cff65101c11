#include "pngout.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <png.h>
#include <vector>

namespace {

// Top bits repeated into the low ones: 0 stays 0 and full stays 255.
uint8_t widen5(unsigned v)
{
    return static_cast<uint8_t>(v << 3 | v >> 2);
}
uint8_t widen6(unsigned v)
{
    return static_cast<uint8_t>(v << 2 | v >> 4);
}

std::vector<uint8_t> rgbRow(const SDL_Surface* s, int y)
{
    std::vector<uint8_t> row(s->w * 3);
    const auto* src = reinterpret_cast<const uint16_t*>(static_cast<const uint8_t*>(s->pixels) + y * s->pitch);
    for (int x = 0; x < s->w; x++) {
        const unsigned p = src[x];
        row[3 * x] = widen5(p >> 11);
        row[3 * x + 1] = widen6((p >> 5) & 0x3F);
        row[3 * x + 2] = widen5(p & 0x1F);
    }
    return row;
}

// libpng reports errors by longjmp; everything that needs freeing after one
// is owned by the caller.
bool encode(std::FILE* file, const SDL_Surface* s)
{
    // Failures come back as our own one line: libpng is to say nothing.
    const auto quiet = [](png_structp p, png_const_charp) { png_longjmp(p, 1); };
    const auto ignore = [](png_structp, png_const_charp) {};
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, quiet, ignore);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    std::vector<std::vector<uint8_t>> rows(s->h);
    for (int y = 0; y < s->h; y++)
        rows[y] = rgbRow(s, y);
    bool ok = false;
    if (info && !setjmp(png_jmpbuf(png))) {
        png_init_io(png, file);
        png_set_IHDR(png, info, s->w, s->h, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (auto& row : rows)
            png_write_row(png, row.data());
        png_write_end(png, nullptr);
        ok = true;
    }
    png_destroy_write_struct(&png, info ? &info : nullptr);
    return ok;
}

}  // namespace

bool writePng(const SDL_Surface* surface, const std::string& path, std::string& error)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = "cannot write \"" + path + "\": " + std::strerror(errno);
        return false;
    }
    const bool encoded = encode(file, surface) && std::fflush(file) == 0;
    const int writeErrno = errno;
    if (std::fclose(file) != 0 || !encoded) {
        // A cut-off picture would pass for a frame: leave none behind.
        std::remove(path.c_str());
        error = "cannot write \"" + path + "\": " + std::strerror(encoded ? errno : writeErrno);
        return false;
    }
    return true;
}
