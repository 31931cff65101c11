#include "effects/scroller.h"

#include "assets/assets.h"

void clearScroller(Scroller& scroller, const Greeting* greeting)
{
    for (auto& column : scroller.scrollBuffer)
        for (int32_t& cell : column)
            cell = 0;
    scroller.textCursor = 0;
    scroller.greeting = greeting;
}

int textColour(const Screen& screen, int row)
{
    const int k = row + 4;
    return RGB2value(screen, 7 * k + 50, 2 * k + 150, 2 * k + 150);
}

namespace {

// Glyph rows 2..14, each twice; bit 0, the eighth column, is never shown.
void expand(Scroller& scroller, const Screen& screen, const unsigned char* glyph)
{
    for (int k = 4; k < 30; k++) {
        const unsigned bits = glyph[k >> 1];
        const int colour = textColour(screen, k - 4);
        for (int p = 0; p < 7; p++)
            scroller.scrollBuffer[189 + p][k - 4] = (bits >> (7 - p)) & 1 ? colour : 0;
    }
}

}  // namespace

void stepScroller(Scroller& scroller, const Screen& screen, int frame)
{
    if ((frame / 2) % 3 != 0)
        return;
    if (const Greeting* greeting = scroller.greeting) {
        expand(scroller, screen, greeting->glyphs[scroller.textCursor]);
        scroller.textCursor = (scroller.textCursor + 1) % greeting->length;
        return;
    }
    const unsigned char ch = static_cast<unsigned char>(scrollText[scroller.textCursor]);
    expand(scroller, screen, font1 + ch * 16);
    // The NUL has just gone by as a glyph of its own; then the text restarts.
    scroller.textCursor = ch == 0 ? 0 : scroller.textCursor + 1;
}

void drawScroller(Scroller& scroller, const Screen& screen, const Tables& tables, int frame)
{
    for (int i = 0; i < 195; i++) {
        for (int j = 0; j < scrollRows; j++) {
            const int32_t value = scroller.scrollBuffer[i][j] = scroller.scrollBuffer[i + 3][j];
            if (value != 0)
                putPixel(screen, textX + i, textY + j + tables.waveTable[(frame + j) % waveLength], value);
        }
    }
}
