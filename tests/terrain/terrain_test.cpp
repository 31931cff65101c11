// The landscape measures on maps whose figures follow by hand from the
// drawing geometry and the colour formula, and the committed height map held
// to the targets over a whole flight.
#include "measure.h"

#include "demo/demo.h"
#include "offscreen.h"
#include "platform/desktop/desktop.h"

#include <algorithm>

namespace {

int band(int s)
{
    return s < saturatedFrom ? 0 : s < 236 ? 1 : 2;
}

}  // namespace

class Terrain : public OffscreenMap {
protected:
    Measures measure(int frame)
    {
        const std::vector<int> samples = colourSamples(screen, tables);  // draws on screen too
        drawBare(screen, tables, map, frame);
        return measureScreen(screen, samples);
    }
};

TEST_F(Terrain, everyColourDecodesToItsOwnBandAndNoneIsTheSentinel)
{
    const std::vector<int> samples = colourSamples(screen, tables);
    for (int s = 0; s < 256; s++) {
        flat(s);
        drawBare(screen, tables, map, 53);
        int drawn = 0;
        for (int i = 0; i < 320 * 240; i++) {
            const uint16_t p = static_cast<const uint16_t*>(screen.surface->pixels)[i];
            if (p == unDrawn)
                continue;
            ++drawn;
            ASSERT_GE(samples[p], 0) << s;
            ASSERT_EQ(band(samples[p]), band(s)) << s;
        }
        ASSERT_GT(drawn, 20000) << s;
    }
}

// Low flat ground stays below the horizon and is the darkest blue there is,
// in contrast with every row of the text.
TEST_F(Terrain, lowFlatGroundLeavesAllSkyAndAllTextLegible)
{
    flat(0);
    const Measures m = measure(53);
    EXPECT_EQ(m.holes, 0);
    EXPECT_EQ(m.sky, 1);
    EXPECT_EQ(m.saturated, 0);
    EXPECT_EQ(m.legible, 1);
}

// At 200 the far row already starts above the screen, and the near row's
// boxes end at row 164: the 75 rows below are holes, and so are 10 pixels at
// the right edge where a row's last box falls short of column 319 and the
// rows behind it are too high to fill in. All ground is yellow.
TEST_F(Terrain, highFlatGroundHidesTheSkyAndLeavesTheBottomBare)
{
    flat(200);
    const Measures m = measure(53);
    EXPECT_EQ(m.sky, 0);
    EXPECT_DOUBLE_EQ(m.holes, (75.0 * 170 + 10) / (180 * 170));
    EXPECT_EQ(m.saturated, 1);
    EXPECT_EQ(m.legible, 0);
}

// Ground of colour 56 is too light for the text's five darkest rows (k 4..8,
// ratios 2.6 to 2.9) and dark enough for the other 21 (3.08 and up).
TEST_F(Terrain, midBlueGroundIsLegibleUnderTheLighterTextRows)
{
    flat(56);
    EXPECT_DOUBLE_EQ(measure(53).legible, 21.0 / 26);
}

// Ground at 100 that falls to 0 from the eleventh row before the camera on:
// the last high row ends on screen row 214 and nothing draws below it.
TEST_F(Terrain, aDropTowardsTheViewerLeavesAHoleBelowIt)
{
    const int oy = tables.pathY[53];
    for (int y = 0; y < 300; y++)
        SDL_memset(static_cast<Uint8*>(map->pixels) + y * 300, (y - oy + 300) % 300 < 90 ? 100 : 0, 300);
    EXPECT_DOUBLE_EQ(measure(53).holes, 25.0 / 180);
}

// Far ground at 100 behind near ground at 0, each well over a tenth of what
// is drawn: the spread runs from the L* of 0x00AA (9.872) to that of 0x63D6
// (51.455). The rows between them are holes and count for nothing.
TEST_F(Terrain, spreadRunsFromTheDarkTenthToTheLightTenthOfTheGround)
{
    const int oy = tables.pathY[53];
    for (int y = 0; y < 300; y++)
        SDL_memset(static_cast<Uint8*>(map->pixels) + y * 300, (y - oy + 300) % 300 < 50 ? 100 : 0, 300);
    drawBare(screen, tables, map, 53);
    EXPECT_NEAR(lightnessSpread(screen), 51.455 - 9.872, 0.001);
}

TEST(TerrainFlight, committedHeightMapMeetsTheTargets)
{
    Demo demo;
    Edge edge;
    std::string error, silence;
    ASSERT_TRUE(startDemo(demo, edge, offscreenOptions(NEWYEAR_SOURCE_DATA), error, silence)) << error;
    const std::vector<Measures> flight = measureFlight(demo.screen, demo.tables, demo.heightMap);
    stopDemo(demo, edge);
    ASSERT_EQ(flight.size(), 7500u);
    std::vector<double> holes, sky, saturated, legible, spread;
    int shaded = 0;
    for (const Measures& m : flight) {
        holes.push_back(m.holes);
        sky.push_back(m.sky);
        saturated.push_back(m.saturated);
        legible.push_back(m.legible);
        spread.push_back(m.spread);
        shaded += m.spread >= 12;
    }
    EXPECT_EQ(quantile(holes, 1), 0) << "pixels no box draws";
    EXPECT_GE(mean(sky), 0.30);
    EXPECT_GE(quantile(sky, 0), 0.05) << "a frame without sky";
    EXPECT_EQ(quantile(saturated, 1), 0) << "ground in the overflow colours";
    EXPECT_GE(mean(legible), 0.60);
    EXPECT_GE(mean(spread), 25);
    EXPECT_GE(shaded, 0.9 * flight.size()) << "frames of flat ground";
}
