#include "render/render.h"

SDL_Surface* screen = nullptr;
int8_t rL, rS, gL, gS, bL;

void setScreen(SDL_Surface* surface)
{
    screen = surface;
    const SDL_PixelFormat* f = screen->format;
    rL = f->Rloss;
    rS = f->Rshift;
    gL = f->Gloss;
    gS = f->Gshift;
    bL = f->Bloss;
}

int RGB2value(unsigned char r, unsigned char g, unsigned char b)
{
    return ((r >> rL) << rS) | ((g >> gL) << gS) | (b >> bL);
}

// The stride is the fixed 320 pixels of our own display surface, which is
// a software surface and needs no locking.
void putPixel(int x, int y, unsigned value)
{
    if (x < 0 || x >= screenWidth || y < 0 || y >= screenHeight)
        return;
    static_cast<uint16_t*>(screen->pixels)[y * screenWidth + x] = static_cast<uint16_t>(value);
}
