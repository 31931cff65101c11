#include "effects/snow.h"

#include "offscreen.h"

class Snowfall : public Offscreen {
protected:
    void SetUp() override
    {
        Offscreen::SetUp();
        seedFlakes(snow);
    }
    // Parks every flake far above the screen, out of the way.
    void park()
    {
        for (Flake& f : flakes)
            f = {100, -5000, 1};
    }
    void draw(int frame) { drawFlakes(snow, screen, tables, frame); }
    Snow snow;
    Flake (&flakes)[flakeCount] = snow.flakes;
    const int32_t* pathX = tables.pathX;
};

TEST_F(Snowfall, seedsInRange)
{
    for (const Flake& f : flakes) {
        EXPECT_GE(f.x, 50);
        EXPECT_LE(f.x, 319);
        EXPECT_GE(f.y, -1259);
        EXPECT_LE(f.y, -1000);
        EXPECT_GE(f.speed, 1);
        EXPECT_LE(f.speed, 4);
    }
}

TEST_F(Snowfall, noFlakeInTheFirstFrame)
{
    draw(53);
    EXPECT_EQ(count(0xFFFF), 0);
}

TEST_F(Snowfall, snowSetsInAndStaysOnScreen)
{
    int frame = 53;
    for (; frame < 53 + 2 * 1400; frame += 2)
        draw(frame);
    fill(0);
    draw(frame);
    EXPECT_GT(count(0xFFFF), 50);
    // Visible flakes lie in columns 51..319.
    for (int y = 0; y < 240; y++)
        for (int x = 0; x <= 50; x++)
            ASSERT_EQ(pixel(x, y), 0) << x << "," << y;
}

TEST_F(Snowfall, drawsWhiteAtTheCameraOffsetThenFalls)
{
    park();
    flakes[7] = {100, 10, 3};
    // pathX[53] is 663: column 320 - (1326 + 100) % 270 = 244.
    draw(53);
    EXPECT_EQ(pixel(244, 10), 0xFFFF);
    EXPECT_EQ(count(0xFFFF), 1);
    EXPECT_EQ(flakes[7].y, 13);
    // Drift waveTable[(7 + 53) % 50] / 3 = 4 / 3 = 1.
    EXPECT_EQ(flakes[7].x, 101);
}

TEST_F(Snowfall, clipsInsteadOfWrapping)
{
    park();
    // (1326 + 294) % 270 == 0: screen column 320, off the right edge.
    flakes[0] = {294, 50, 1};
    // Drifted far left: a negative remainder, a column above 320.
    flakes[1] = {-1400, 60, 1};
    // Row 240: drawn, clipped, and still moving (the test is y > 240).
    flakes[2] = {100, 240, 2};
    draw(53);
    EXPECT_EQ(count(0xFFFF), 0);
    EXPECT_EQ(flakes[2].y, 242);
}

TEST_F(Snowfall, restartedFlakeShowsAtRowSpeedMinusOne)
{
    park();
    flakes[3] = {100, 241, 1};
    draw(53);  // drawn off screen, then restarts
    const Flake restarted = flakes[3];
    EXPECT_EQ(restarted.y, -1);
    EXPECT_GE(restarted.x, 0);
    EXPECT_LT(restarted.x, 270);
    draw(55);  // drawn at row -1, invisible
    EXPECT_EQ(count(0xFFFF), 0);
    const int column = 320 - (2 * pathX[57] + flakes[3].x) % 270;
    draw(57);
    EXPECT_EQ(count(0xFFFF), 1);
    EXPECT_EQ(pixel(column, restarted.speed - 1), 0xFFFF);
}
