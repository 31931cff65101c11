// A fixture that points screen at an offscreen 320x240 5-6-5 surface, the
// format the demo gets from the display, so effects can be checked pixel by
// pixel without a window.
#pragma once

#include "render/render.h"

#include <SDL.h>
#include <gtest/gtest.h>

class Offscreen : public ::testing::Test {
protected:
    void SetUp() override
    {
        SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, 320, 240, 16, 0xF800, 0x07E0, 0x001F, 0);
        ASSERT_NE(surface, nullptr);
        ASSERT_EQ(surface->pitch, 640);
        setScreen(surface);
        fill(0);
    }
    void TearDown() override
    {
        SDL_FreeSurface(screen);
        screen = nullptr;
    }
    static void fill(Uint32 value) { SDL_FillRect(screen, nullptr, value); }
    static uint16_t pixel(int x, int y) { return static_cast<const uint16_t*>(screen->pixels)[y * 320 + x]; }
    static int count(uint16_t value)
    {
        int n = 0;
        for (int i = 0; i < 320 * 240; i++)
            n += static_cast<const uint16_t*>(screen->pixels)[i] == value;
        return n;
    }
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
