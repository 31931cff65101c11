// The hicolor icons: each a whole-number scale of the hand-drawn art in
// src/assets, so every size keeps its crisp pixels. Integer work only.
#include "makedata.h"

#include "assets/assets.h"

namespace {

const IconColour* colourOf(char key)
{
    for (int i = 0; i < iconPaletteSize; ++i)
        if (iconPalette[i].key == key)
            return &iconPalette[i];
    return nullptr;
}

}  // namespace

bool makeIcon(int size, Bytes& out, std::string& error)
{
    // The 16-pixel art for 16 and 48, the 32-pixel art for the rest.
    const bool big = size % 32 == 0;
    const int side = big ? 32 : 16;
    const int k = size / side;
    std::vector<uint8_t> rgba;
    rgba.reserve(size * size * 4);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const char key = big ? icon32[y / k][x / k] : icon16[y / k][x / k];
            const IconColour* c = colourOf(key);
            if (!c) {
                error = std::string("the art uses '") + key + "', a key not in its palette";
                return false;
            }
            rgba.insert(rgba.end(), {c->r, c->g, c->b, c->a});
        }
    if (!pngRgba(size, size, rgba, out)) {
        error = "libpng cannot encode it";
        return false;
    }
    return true;
}
