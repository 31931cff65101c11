// A fixture with an offscreen 320x240 5-6-5 screen, the format the demo gets
// from the display, so effects can be checked pixel by pixel without a
// window; and the motion tables, built once for the whole test program.
#pragma once

#include "effects/tables.h"
#include "render/render.h"

#include <SDL.h>
#include <gtest/gtest.h>

inline const Tables& motionTables()
{
    static Tables tables;
    static const bool built = (buildTables(tables), true);
    (void)built;
    return tables;
}

class Offscreen : public ::testing::Test {
protected:
    void SetUp() override
    {
        SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, 320, 240, 16, 0xF800, 0x07E0, 0x001F, 0);
        ASSERT_NE(surface, nullptr);
        ASSERT_EQ(surface->pitch, 640);
        screen = screenOf(surface);
        fill(0);
    }
    void TearDown() override { SDL_FreeSurface(screen.surface); }
    void fill(Uint32 value) { SDL_FillRect(screen.surface, nullptr, value); }
    uint16_t pixel(int x, int y) const { return static_cast<const uint16_t*>(screen.surface->pixels)[y * 320 + x]; }
    int count(uint16_t value) const
    {
        int n = 0;
        for (int i = 0; i < 320 * 240; i++)
            n += static_cast<const uint16_t*>(screen.surface->pixels)[i] == value;
        return n;
    }
    Screen screen;
    const Tables& tables = motionTables();
};

// The offscreen screen and a 300x300 8-bit height map to draw the landscape
// from, flat until a test shapes it.
class OffscreenMap : public Offscreen {
protected:
    void SetUp() override
    {
        Offscreen::SetUp();
        map = SDL_CreateRGBSurface(SDL_SWSURFACE, 300, 300, 8, 0, 0, 0, 0);
        ASSERT_EQ(map->pitch, 300);
        flat(0);
    }
    void TearDown() override
    {
        SDL_FreeSurface(map);
        Offscreen::TearDown();
    }
    void flat(int value) { SDL_memset(map->pixels, value, 300 * 300); }
    void set(int x, int y, int value) { static_cast<Uint8*>(map->pixels)[x + y * 300] = value; }
    SDL_Surface* map = nullptr;
};
