#include "effects/snow.h"

#include "effects/tables.h"
#include "offscreen.h"

#include <cstdlib>

class Snow : public Offscreen {
protected:
    static void SetUpTestSuite() { buildTables(); }
    void SetUp() override
    {
        Offscreen::SetUp();
        std::srand(1);  // the C library's own starting point
        seedFlakes();
    }
    // Parks every flake far above the screen, out of the way.
    static void park()
    {
        for (Flake& f : flakes)
            f = {100, -5000, 1};
    }
};

TEST_F(Snow, seedsInRangeAndTheSameEveryRun)
{
    Flake first[flakeCount];
    std::copy(flakes, flakes + flakeCount, first);
    for (const Flake& f : flakes) {
        EXPECT_GE(f.x, 50);
        EXPECT_LE(f.x, 319);
        EXPECT_GE(f.y, -1259);
        EXPECT_LE(f.y, -1000);
        EXPECT_GE(f.speed, 1);
        EXPECT_LE(f.speed, 4);
    }
    std::srand(1);
    seedFlakes();
    for (int i = 0; i < flakeCount; i++) {
        EXPECT_EQ(flakes[i].x, first[i].x);
        EXPECT_EQ(flakes[i].y, first[i].y);
        EXPECT_EQ(flakes[i].speed, first[i].speed);
    }
}

TEST_F(Snow, noFlakeInTheFirstFrame)
{
    drawFlakes(53);
    EXPECT_EQ(count(0xFFFF), 0);
}

TEST_F(Snow, snowSetsInAndStaysOnScreen)
{
    int frame = 53;
    for (; frame < 53 + 2 * 1400; frame += 2)
        drawFlakes(frame);
    fill(0);
    drawFlakes(frame);
    EXPECT_GT(count(0xFFFF), 50);
    // Visible flakes lie in columns 51..319.
    for (int y = 0; y < 240; y++)
        for (int x = 0; x <= 50; x++)
            ASSERT_EQ(pixel(x, y), 0) << x << "," << y;
}

TEST_F(Snow, drawsWhiteAtTheCameraOffsetThenFalls)
{
    park();
    flakes[7] = {100, 10, 3};
    // pathX[53] is 663: column 320 - (1326 + 100) % 270 = 244.
    drawFlakes(53);
    EXPECT_EQ(pixel(244, 10), 0xFFFF);
    EXPECT_EQ(count(0xFFFF), 1);
    EXPECT_EQ(flakes[7].y, 13);
    // Drift waveTable[(7 + 53) % 50] / 3 = 4 / 3 = 1.
    EXPECT_EQ(flakes[7].x, 101);
}

TEST_F(Snow, clipsInsteadOfWrapping)
{
    park();
    // (1326 + 294) % 270 == 0: screen column 320, off the right edge.
    flakes[0] = {294, 50, 1};
    // Drifted far left: a negative remainder, a column above 320.
    flakes[1] = {-1400, 60, 1};
    // Row 240: drawn, clipped, and still moving (the test is y > 240).
    flakes[2] = {100, 240, 2};
    drawFlakes(53);
    EXPECT_EQ(count(0xFFFF), 0);
    EXPECT_EQ(flakes[2].y, 242);
}

TEST_F(Snow, restartedFlakeShowsAtRowSpeedMinusOne)
{
    park();
    flakes[3] = {100, 241, 1};
    drawFlakes(53);  // drawn off screen, then restarts
    const Flake restarted = flakes[3];
    EXPECT_EQ(restarted.y, -1);
    EXPECT_GE(restarted.x, 0);
    EXPECT_LT(restarted.x, 270);
    drawFlakes(55);  // drawn at row -1, invisible
    EXPECT_EQ(count(0xFFFF), 0);
    const int column = 320 - (2 * pathX[57] + flakes[3].x) % 270;
    drawFlakes(57);
    EXPECT_EQ(count(0xFFFF), 1);
    EXPECT_EQ(pixel(column, restarted.speed - 1), 0xFFFF);
}
