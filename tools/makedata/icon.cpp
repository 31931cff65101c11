// The hicolor icons: each a whole-number scale of the hand-drawn art in
// src/assets, so every size keeps its crisp pixels. Integer work only.
#include "makedata.h"

#include "assets/assets.h"

#include <stdexcept>

namespace {

const IconColour& colourOf(char key)
{
    for (int i = 0; i < iconPaletteSize; ++i)
        if (iconPalette[i].key == key)
            return iconPalette[i];
    throw std::runtime_error(std::string("icon art uses a key not in its palette: ") + key);
}

}  // namespace

Bytes makeIcon(int size)
{
    // The 16-pixel art for 16 and 48, the 32-pixel art for the rest.
    const bool big = size % 32 == 0;
    const int side = big ? 32 : 16;
    const int k = size / side;
    std::vector<uint8_t> rgba;
    rgba.reserve(size * size * 4);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const IconColour& c = colourOf(big ? icon32[y / k][x / k] : icon16[y / k][x / k]);
            rgba.insert(rgba.end(), {c.r, c.g, c.b, c.a});
        }
    return pngRgba(size, size, rgba);
}
