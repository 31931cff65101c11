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
