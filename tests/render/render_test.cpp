#include "offscreen.h"

using Render = Offscreen;

TEST_F(Render, capturesTheFiveSixFiveFormat)
{
    EXPECT_EQ(screen.rL, 3);
    EXPECT_EQ(screen.rS, 11);
    EXPECT_EQ(screen.gL, 2);
    EXPECT_EQ(screen.gS, 5);
    EXPECT_EQ(screen.bL, 3);
}

TEST_F(Render, packsColours)
{
    EXPECT_EQ(RGB2value(screen, 60, 80, 150), 0x3A92);
    EXPECT_EQ(RGB2value(screen, 255, 255, 255), 0xFFFF);
    EXPECT_EQ(RGB2value(screen, 255, 0, 255), 0xF81F);
    EXPECT_EQ(RGB2value(screen, 0, 0, 0), 0);
    // 8-bit parameters: 256 + 8 arrives as 8.
    EXPECT_EQ(RGB2value(screen, static_cast<unsigned char>(264), 0, 0), RGB2value(screen, 8, 0, 0));
}

TEST_F(Render, storesTheLowSixteenBits)
{
    putPixel(screen, 5, 7, 0xFFFFFF);
    EXPECT_EQ(pixel(5, 7), 0xFFFF);
    EXPECT_EQ(pixel(4, 7), 0);
    EXPECT_EQ(pixel(6, 7), 0);
    putPixel(screen, 319, 239, 0x12345);
    EXPECT_EQ(pixel(319, 239), 0x2345);
    putPixel(screen, 0, 0, 0x3A92);
    EXPECT_EQ(pixel(0, 0), 0x3A92);
    EXPECT_EQ(count(0), 320 * 240 - 3);
}

TEST_F(Render, clipsAtAllFourEdges)
{
    const int outside[][2] = {{320, 10}, {-1, 10},   {10, 240},   {10, -1},
                              {-1, -1},  {320, 240}, {100000, 5}, {5, -100000}};
    for (const auto& p : outside)
        putPixel(screen, p[0], p[1], 0xFFFF);
    EXPECT_EQ(count(0), 320 * 240);
    // The pixel just inside each edge is written.
    putPixel(screen, 319, 10, 1);
    putPixel(screen, 0, 10, 1);
    putPixel(screen, 10, 239, 1);
    putPixel(screen, 10, 0, 1);
    EXPECT_EQ(count(1), 4);
}
