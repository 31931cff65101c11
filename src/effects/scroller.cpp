#include "effects/scroller.h"

#include "assets/assets.h"
#include "effects/tables.h"
#include "render/render.h"

int32_t scrollBuffer[scrollColumns][scrollRows];
int textCursor;

void clearScroller()
{
    for (auto& column : scrollBuffer)
        for (int32_t& cell : column)
            cell = 0;
    textCursor = 0;
}

void stepScroller(int frame)
{
    if ((frame / 2) % 3 != 0)
        return;
    const unsigned char ch = static_cast<unsigned char>(scrollText[textCursor]);
    // Glyph rows 2..14, each twice; bit 0, the eighth column, is never shown.
    for (int k = 4; k < 30; k++) {
        const unsigned bits = font1[ch * 16 + (k >> 1)];
        const int colour = RGB2value(7 * k + 50, 2 * k + 150, 2 * k + 150);
        for (int p = 0; p < 7; p++)
            scrollBuffer[189 + p][k - 4] = (bits >> (7 - p)) & 1 ? colour : 0;
    }
    // The NUL has just gone by as a glyph of its own; then the text restarts.
    textCursor = ch == 0 ? 0 : textCursor + 1;
}

void drawScroller(int frame)
{
    for (int i = 0; i < 195; i++) {
        for (int j = 0; j < scrollRows; j++) {
            const int32_t value = scrollBuffer[i][j] = scrollBuffer[i + 3][j];
            if (value != 0)
                putPixel(130 + i, 200 + j + waveTable[(frame + j) % waveLength], value);
        }
    }
}
