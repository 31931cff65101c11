#include "render/render.h"

Screen screenOf(SDL_Surface* surface)
{
    const SDL_PixelFormat* f = surface->format;
    return {surface,
            static_cast<int8_t>(f->Rloss),
            static_cast<int8_t>(f->Rshift),
            static_cast<int8_t>(f->Gloss),
            static_cast<int8_t>(f->Gshift),
            static_cast<int8_t>(f->Bloss)};
}

int RGB2value(const Screen& screen, unsigned char r, unsigned char g, unsigned char b)
{
    return ((r >> screen.rL) << screen.rS) | ((g >> screen.gL) << screen.gS) | (b >> screen.bL);
}

// The stride is the fixed 320 pixels of the 320x240 display surface the
// demo asks for, a software surface that needs no locking.
void putPixel(const Screen& screen, int x, int y, unsigned value)
{
    if (x < 0 || x >= screenWidth || y < 0 || y >= screenHeight)
        return;
    static_cast<uint16_t*>(screen.surface->pixels)[y * screenWidth + x] = static_cast<uint16_t>(value);
}
