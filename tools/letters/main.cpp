// newyear-letters OUT.png: every covered character's glyph as the scroller
// shows it (rows 2..14, each twice, the seven columns of bits 7..1, in the
// text's colour gradient) on a dark ground, laid out as code charts: a row
// of sixteen code points, labelled with the first, and under each letter
// with a mark, dimmer, the letter it is composed on. Characters with no
// glyph in a row show a faint dot; the last chart holds the punctuation,
// the symbols and the stand-in. The picture is drawn at twice its size, and
// the same every run.
#include "assets/assets.h"
#include "assets/letters.h"
#include "effects/scroller.h"
#include "pngout.h"

#include <SDL.h>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Chart {
    const char* title;
    std::vector<char32_t> codes;  // sixteen a row; 0 leaves a cell empty
    bool labelled;                // the rows carry the code point of their first cell
};

std::vector<char32_t> range(char32_t first, char32_t last)
{
    std::vector<char32_t> codes;
    for (char32_t c = first; c <= last; c++)
        codes.push_back(c);
    return codes;
}

std::vector<Chart> charts()
{
    return {
        {"Basic Latin", range(0x20, 0x7F), true},
        {"Latin-1 Supplement", range(0xA0, 0xFF), true},
        {"Latin Extended-A", range(0x100, 0x17F), true},
        {"Romanian, Latin Ext-B", range(0x210, 0x21F), true},
        {"Greek", range(0x380, 0x3CF), true},
        {"Cyrillic", range(0x400, 0x45F), true},
        {"Ukrainian, Cyrillic", range(0x490, 0x49F), true},
        {"Symbols and the stand-in",
         {0x2013, 0x2014, 0x2018, 0x2019, 0x201A, 0x201B, 0x201C, 0x201D, 0x201E, 0x2026,
          0x2039, 0x203A, 0x20AC, 0x2665, 0x2764, 0x2605, 0x266A, 0x263A, 0x2744, 0xFFFD},
         false},
    };
}

constexpr int scale = 2, margin = 6, labelWidth = 56, cellWidth = 9, cellHeight = 2 * 13, rowGap = 6;
constexpr int width = 2 * margin + labelWidth + 16 * cellWidth;

// The letter a letter with a mark is composed on, or 0.
char32_t baseOf(char32_t c)
{
    for (const Composition& k : compositions)
        if (k.letter == c)
            return k.base;
    return 0;
}

struct Canvas {
    SDL_Surface* surface;  // nullptr while only measuring
    Screen screen;
    void put(int x, int y, int colour)
    {
        if (surface && x >= 0 && x < surface->w && y >= 0 && y < surface->h)
            static_cast<uint16_t*>(surface->pixels)[y * surface->pitch / 2 + x] = static_cast<uint16_t>(colour);
    }
};

void text(Canvas& canvas, int x, int y, const std::string& s, int colour)
{
    for (unsigned char ch : s) {
        for (int r = 0; r < 16; r++)
            for (int p = 0; p < 8; p++)
                if (font1[ch * 16 + r] >> (7 - p) & 1)
                    canvas.put(x + p, y + r, colour);
        x += 8;
    }
}

// As stepScroller expands a glyph; a fixed colour for the dimmer bases.
void glyph(Canvas& canvas, int x, int y, const unsigned char* rows, int colour)
{
    for (int j = 0; j < cellHeight; j++)
        for (int p = 0; p < 7; p++)
            if (rows[2 + j / 2] >> (7 - p) & 1)
                canvas.put(x + p, y + j, colour < 0 ? textColour(canvas.screen, j) : colour);
}

// Draws every chart from the top; returns the height used.
int draw(Canvas& canvas)
{
    const int label = RGB2value(canvas.screen, 150, 150, 170), dim = RGB2value(canvas.screen, 80, 100, 130),
              none = RGB2value(canvas.screen, 60, 60, 80);
    int y = margin;
    for (const Chart& chart : charts()) {
        text(canvas, margin, y, chart.title, label);
        y += 18;
        if (chart.labelled)
            for (int i = 0; i < 16; i++)
                text(canvas, margin + labelWidth + i * cellWidth, y, std::string(1, "0123456789ABCDEF"[i]), dim);
        y += chart.labelled ? 18 : 0;
        for (size_t at = 0; at < chart.codes.size(); at += 16) {
            if (chart.labelled) {
                char name[16];
                std::snprintf(name, sizeof name, "U+%04X", unsigned(chart.codes[at]));
                text(canvas, margin, y + 5, name, label);
            }
            bool composed = false;
            for (size_t i = at; i < at + 16 && i < chart.codes.size(); i++) {
                const int x = margin + labelWidth + int(i - at) * cellWidth;
                const char32_t c = chart.codes[i];
                const unsigned char* rows = c == 0xFFFD ? standIn : letterGlyph(c);
                if (!rows) {
                    canvas.put(x + 3, y + cellHeight / 2, none);
                    continue;
                }
                glyph(canvas, x, y, rows, -1);
                if (const char32_t base = baseOf(c)) {
                    glyph(canvas, x, y + cellHeight + 2, letterGlyph(base), dim);
                    composed = true;
                }
            }
            y += cellHeight + rowGap + (composed ? cellHeight + 2 : 0);
        }
        y += 8;
    }
    return y;
}

bool writeChart(const std::string& path, std::string& error)
{
    Canvas measure{nullptr, {}};
    const int height = draw(measure);
    SDL_Surface* small = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 16, 0xF800, 0x07E0, 0x001F, 0);
    SDL_Surface* big =
        SDL_CreateRGBSurface(SDL_SWSURFACE, scale * width, scale * height, 16, 0xF800, 0x07E0, 0x001F, 0);
    bool ok = small && big;
    if (ok) {
        Canvas canvas{small, screenOf(small)};
        SDL_FillRect(small, nullptr, RGB2value(canvas.screen, 12, 14, 30));
        draw(canvas);
        for (int y = 0; y < big->h; y++)
            for (int x = 0; x < big->w; x++)
                static_cast<uint16_t*>(big->pixels)[y * big->pitch / 2 + x] =
                    static_cast<uint16_t*>(small->pixels)[y / scale * small->pitch / 2 + x / scale];
        ok = writePng(big, path, error);
    } else {
        error = std::string("cannot make the picture: ") + SDL_GetError();
    }
    SDL_FreeSurface(small);
    SDL_FreeSurface(big);
    return ok;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: newyear-letters OUT.png\n");
        return 2;
    }
    std::string error;
    if (!writeChart(argv[1], error)) {
        std::fprintf(stderr, "newyear-letters: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
