#include "effects/landscape.h"

#include "offscreen.h"

#include <vector>

// Records every fill as it was asked for (SDL writes the clipped box back),
// then lets the real SDL_FillRect do it.
struct Fill {
    SDL_Rect rect;
    Uint32 colour;
};
static std::vector<Fill> fills;

extern "C" int __real_SDL_FillRect(SDL_Surface*, SDL_Rect*, Uint32);
extern "C" int __wrap_SDL_FillRect(SDL_Surface* s, SDL_Rect* r, Uint32 colour)
{
    if (r)
        fills.push_back({*r, colour});
    return __real_SDL_FillRect(s, r, colour);
}

class Landscape : public OffscreenMap {
protected:
    void SetUp() override
    {
        OffscreenMap::SetUp();
        fills.clear();
        fills.reserve(9000);
    }
    // Boxes per landscape row: every row starts again at the left edge. A
    // box before the first row start counts as a row of its own, so a
    // landscape that starts elsewhere shows as a wrong count.
    std::vector<int> rowLengths() const
    {
        std::vector<int> rows;
        for (const Fill& f : fills) {
            if (f.rect.x == 74 || rows.empty())
                rows.push_back(0);
            rows.back()++;
        }
        return rows;
    }
};

TEST_F(Landscape, drawsEightThousandBoxesFarRowFirst)
{
    flat(128);
    drawLandscape(screen, tables, map, 53);
    const std::vector<int> rows = rowLengths();
    ASSERT_EQ(rows.size(), 100u);
    EXPECT_EQ(rows.front(), 123);
    EXPECT_EQ(rows.back(), 41);
    EXPECT_EQ(fills.size(), 8216u);
    for (const Fill& f : fills) {
        EXPECT_EQ(f.rect.w, 7);
        EXPECT_EQ(f.rect.h, 8);
        EXPECT_GE(f.rect.x, 74);
        EXPECT_LE(f.rect.x, 321);
    }
}

TEST_F(Landscape, firstFrameSamplesMapColumn63Row172)
{
    // ox 663 and oy 472 on the first frame; the colour comes 20 columns on.
    set(63, 172, 255);
    set(83, 172, 100);
    drawLandscape(screen, tables, map, 53);
    ASSERT_FALSE(fills.empty());
    // sy = -38250 / 348 = -109, truncated toward zero: the box lies
    // wholly above the screen and is clipped away.
    EXPECT_EQ(fills[0].rect.x, 74);
    EXPECT_EQ(fills[0].rect.y, -49);
    EXPECT_EQ(fills[0].colour, 0x63D6u);
    EXPECT_EQ(count(0x63D6), 0);
}

TEST_F(Landscape, flatZeroMapPutsTheNearRowBelowTheScreen)
{
    drawLandscape(screen, tables, map, 53);
    const std::vector<int> rows = rowLengths();
    ASSERT_EQ(rows.size(), 100u);
    for (size_t i = fills.size() - 41; i < fills.size(); i++)
        EXPECT_EQ(fills[i].rect.y, 357);
    for (int i = 0; i < 123; i++)
        EXPECT_EQ(fills[i].rect.y, 60);
    EXPECT_EQ(pixel(100, 60), 0x00AA);
    EXPECT_EQ(pixel(100, 59), 0);
}

TEST_F(Landscape, coloursOverflowIntoTheFieldAbove)
{
    const struct {
        int s;
        uint16_t colour;
    } cases[] = {{0, 0x00AA}, {100, 0x63D6}, {180, 0xB660}, {236, 0xE827}, {255, 0xF8A9}};
    for (const auto& c : cases) {
        flat(c.s);
        fills.clear();
        drawLandscape(screen, tables, map, 53);
        EXPECT_EQ(fills.back().colour, c.colour) << "s " << c.s;
        EXPECT_EQ(pixel(200, 70), c.colour) << "s " << c.s;
    }
}

TEST_F(Landscape, nearerGroundCoversFartherGround)
{
    // A wall across the whole map in the nearest row's map line: its boxes
    // are drawn last, so they win wherever they land.
    for (int x = 0; x < 300; x++)
        set(x, (99 + 472) % 300, 255);
    drawLandscape(screen, tables, map, 53);
    const Fill& last = fills.back();
    EXPECT_EQ(last.rect.y, 102);
    // The 255-high box carries the colour of its own (high) sample.
    EXPECT_EQ(pixel(last.rect.x + 1, 105), 0xF8A9);
}

TEST_F(Landscape, wrapsAroundTheMapEdges)
{
    // Near the end of the path ox is 472 and oy 33: columns 472.. wrap to
    // 172.., so the far row's first box reads map column 172, row 33.
    drawLandscape(screen, tables, map, 14999);
    EXPECT_EQ(fills.size(), 8216u);
    set((0 + tables.pathX[14999]) % 300, (0 + tables.pathY[14999]) % 300, 255);
    fills.clear();
    drawLandscape(screen, tables, map, 14999);
    EXPECT_EQ(fills[0].rect.y, -49);
}
