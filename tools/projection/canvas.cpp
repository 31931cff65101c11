#include "canvas.h"

#include "assets/assets.h"

#include <cstdint>
#include <cstdlib>

void plot(const Screen& canvas, int x, int y, int colour)
{
    SDL_Surface* s = canvas.surface;
    if (x < 0 || y < 0 || x >= s->w || y >= s->h)
        return;
    reinterpret_cast<uint16_t*>(static_cast<uint8_t*>(s->pixels) + y * s->pitch)[x] = static_cast<uint16_t>(colour);
}

void fill(const Screen& canvas, int x, int y, int w, int h, int colour)
{
    SDL_Rect r = {static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(w), static_cast<Uint16>(h)};
    SDL_FillRect(canvas.surface, &r, colour);
}

void outline(const Screen& canvas, int x, int y, int w, int h, int colour)
{
    fill(canvas, x, y, w, 1, colour);
    fill(canvas, x, y + h - 1, w, 1, colour);
    fill(canvas, x, y, 1, h, colour);
    fill(canvas, x + w - 1, y, 1, h, colour);
}

void line(const Screen& canvas, int x0, int y0, int x1, int y1, int colour, int dash)
{
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int stepX = x0 < x1 ? 1 : -1, stepY = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    for (int n = 0;; n++) {
        if (dash == 0 || n / dash % 2 == 0)
            plot(canvas, x0, y0, colour);
        if (x0 == x1 && y0 == y1)
            return;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x0 += stepX;
        }
        if (twice <= dx) {
            error += dx;
            y0 += stepY;
        }
    }
}

void disc(const Screen& canvas, int x, int y, int radius, int colour)
{
    for (int j = -radius; j <= radius; j++)
        for (int i = -radius; i <= radius; i++)
            if (i * i + j * j <= radius * radius + radius)
                plot(canvas, x + i, y + j, colour);
}

void text(const Screen& canvas, int x, int y, const std::string& s, int colour)
{
    for (size_t n = 0; n < s.size(); n++) {
        const unsigned char* glyph = font1 + static_cast<unsigned char>(s[n]) * glyphHeight;
        for (int row = 0; row < glyphHeight; row++)
            for (int bit = 0; bit < glyphWidth; bit++)
                if (glyph[row] & (0x80 >> bit))
                    plot(canvas, x + static_cast<int>(n) * glyphWidth + bit, y + row, colour);
    }
}
