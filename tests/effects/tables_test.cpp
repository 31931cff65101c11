#include "effects/tables.h"

#include "offscreen.h"

#include <algorithm>
#include <numeric>

class MotionTables : public ::testing::Test {
protected:
    const Tables& tables = motionTables();
    const int32_t* pathX = tables.pathX;
    const int32_t* pathY = tables.pathY;
    const int32_t* waveTable = tables.waveTable;
};

TEST_F(MotionTables, pathValuesAtKnownIndices)
{
    EXPECT_EQ(pathX[0], 500);
    EXPECT_EQ(pathY[0], 500);
    EXPECT_EQ(pathX[1], 503);
    EXPECT_EQ(pathY[1], 499);
    EXPECT_EQ(pathX[53], 663);
    EXPECT_EQ(pathY[53], 472);
    EXPECT_EQ(pathX[14999], 472);
    EXPECT_EQ(pathY[14999], 33);
}

TEST_F(MotionTables, pathExtremes)
{
    EXPECT_EQ(*std::max_element(pathX, pathX + pathLength), 999);
    EXPECT_EQ(*std::min_element(pathX, pathX + pathLength), 0);
    EXPECT_EQ(*std::max_element(pathY, pathY + pathLength), 500);
    EXPECT_EQ(*std::min_element(pathY, pathY + pathLength), 0);
}

TEST_F(MotionTables, waveIsTruncatedSine)
{
    const int32_t expected[waveLength] = {0,  0,  1,  1,  2,  2,  3,  3,  4,  4,  4,  4,  4,  4,  4,  4,  4,
                                          4,  3,  3,  2,  2,  1,  1,  0,  0,  0,  -1, -1, -2, -2, -3, -3, -4,
                                          -4, -4, -4, -4, -4, -4, -4, -4, -4, -3, -3, -2, -2, -1, -1, 0};
    for (int i = 0; i < waveLength; i++)
        EXPECT_EQ(waveTable[i], expected[i]) << "index " << i;
}

TEST_F(MotionTables, snowDriftCancelsOverOneWave)
{
    int sum = 0;
    for (int i = 0; i < waveLength; i++)
        sum += waveTable[i] / 3;
    EXPECT_EQ(sum, 0);
}
