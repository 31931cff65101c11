#include "effects/scroller.h"

#include "assets/assets.h"

void clearScroller(Scroller& scroller)
{
    for (auto& column : scroller.scrollBuffer)
        for (int32_t& cell : column)
            cell = 0;
    scroller.textCursor = 0;
}

int textColour(const Screen& screen, int row)
{
    const int k = row + 4;
    return RGB2value(screen, 7 * k + 50, 2 * k + 150, 2 * k + 150);
}

void stepScroller(Scroller& scroller, const Screen& screen, int frame)
{
    if ((frame / 2) % 3 != 0)
        return;
    const unsigned char ch = static_cast<unsigned char>(scrollText[scroller.textCursor]);
    // Glyph rows 2..14, each twice; bit 0, the eighth column, is never shown.
    for (int k = 4; k < 30; k++) {
        const unsigned bits = font1[ch * 16 + (k >> 1)];
        const int colour = textColour(screen, k - 4);
        for (int p = 0; p < 7; p++)
            scroller.scrollBuffer[189 + p][k - 4] = (bits >> (7 - p)) & 1 ? colour : 0;
    }
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
