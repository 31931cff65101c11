// The icon's hand-drawn art: crisp, round, and drawn only with its palette.
#include "assets/assets.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

// Both arts as rows of keys, so one check covers each size.
std::vector<std::string> art(int side)
{
    std::vector<std::string> rows;
    for (int y = 0; y < side; ++y)
        rows.emplace_back(side == 16 ? icon16[y] : icon32[y]);
    return rows;
}

const IconColour* colour(char key)
{
    for (int i = 0; i < iconPaletteSize; ++i)
        if (iconPalette[i].key == key)
            return &iconPalette[i];
    return nullptr;
}

// A pixel centre inside the circle that fills the square.
bool inBadge(int side, int x, int y)
{
    const int dx = 2 * x + 1 - side, dy = 2 * y + 1 - side;
    return dx * dx + dy * dy <= side * side;
}

char keyAt(const std::vector<std::string>& rows, int x, int y)
{
    const int side = rows.size();
    return x < 0 || y < 0 || x >= side || y >= side ? '.' : rows[y][x];
}

}  // namespace

TEST(IconPalette, KeysAreUniqueAndOnlyTheDotIsTransparent)
{
    ASSERT_EQ(iconPaletteSize, 17);
    std::set<char> keys;
    for (int i = 0; i < iconPaletteSize; ++i) {
        const IconColour& c = iconPalette[i];
        EXPECT_TRUE(keys.insert(c.key).second) << "key '" << c.key << "' twice";
        EXPECT_EQ(c.a, c.key == '.' ? 0 : 255) << "key '" << c.key << "'";  // no soft edges
    }
    const IconColour* clear = colour('.');
    ASSERT_TRUE(clear);
    EXPECT_EQ(clear->r + clear->g + clear->b, 0);
}

class IconArt : public testing::TestWithParam<int> {};

TEST_P(IconArt, RowsAreFullAndUseEveryColourOfThePalette)
{
    const int side = GetParam();
    std::set<char> used;
    for (const std::string& row : art(side)) {
        ASSERT_EQ(int(row.size()), side) << row;
        for (char key : row) {
            EXPECT_TRUE(colour(key)) << "key '" << key << "' in " << row;
            used.insert(key);
        }
    }
    EXPECT_EQ(int(used.size()), iconPaletteSize);
}

TEST_P(IconArt, TransparentExactlyOutsideTheRoundBadge)
{
    const int side = GetParam();
    const std::vector<std::string> rows = art(side);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            EXPECT_EQ(rows[y][x] == '.', !inBadge(side, x, y)) << "pixel " << x << "," << y;
}

TEST_P(IconArt, ThePaleRimIsTheBadgesWholeEdgeAndNothingElse)
{
    const int side = GetParam();
    const std::vector<std::string> rows = art(side);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            if (rows[y][x] == '.')
                continue;
            const bool edge = keyAt(rows, x - 1, y) == '.' || keyAt(rows, x + 1, y) == '.' ||
                              keyAt(rows, x, y - 1) == '.' || keyAt(rows, x, y + 1) == '.';
            EXPECT_EQ(rows[y][x] == 'o', edge) << "pixel " << x << "," << y;
        }
}

TEST_P(IconArt, StarTopsTheTreeAndTheTrunkStandsInTheSnow)
{
    const int side = GetParam();
    const std::vector<std::string> rows = art(side);
    const int mid = side / 2;
    int star = -1, trunk = -1;
    for (int y = 0; y < side; ++y) {
        if (star < 0 && rows[y].find('y') != std::string::npos)
            star = y;
        if (rows[y].find('k') != std::string::npos)
            trunk = y;
    }
    EXPECT_EQ(star, side == 16 ? 1 : 2);
    // Centred: the badge's middle lies between two columns.
    EXPECT_EQ(rows[star].substr(mid - 1, 2), "yy");
    EXPECT_EQ(rows[star].find_first_of("yY"), size_t(mid - 1));
    EXPECT_EQ(rows[star].find_last_of("yY"), size_t(mid));
    ASSERT_GT(trunk, 0);
    EXPECT_EQ(rows[trunk].substr(mid - 2, 4), side == 16 ? "SkKS" : "kkkK");
    // Below it only snow, in the badge's rim.
    EXPECT_EQ(rows[trunk + 1].find_first_not_of(".osS"), std::string::npos) << rows[trunk + 1];
}

INSTANTIATE_TEST_SUITE_P(Sizes, IconArt, testing::Values(16, 32));
