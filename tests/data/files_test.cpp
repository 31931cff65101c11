// The committed data files: that they are what the generator makes, and that
// each one holds what the demo relies on.
#include "assets/assets.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string dataDir = NEWYEAR_SOURCE_DATA;
constexpr int iconSizes[] = {NEWYEAR_ICON_SIZES};

std::vector<char> readAll(const fs::path& path)
{
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

using Surface = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

Surface loadBmp(const std::string& name)
{
    return Surface(SDL_LoadBMP((dataDir + "/" + name).c_str()), SDL_FreeSurface);
}

uint8_t heightAt(const SDL_Surface* s, int x, int y)
{
    return static_cast<const uint8_t*>(s->pixels)[y * s->pitch + x];
}

SDL_Color pixelAt(const SDL_Surface* s, int x, int y)
{
    const uint8_t* p = static_cast<const uint8_t*>(s->pixels) + y * s->pitch + x * 3;
    const uint32_t v = p[0] | p[1] << 8 | p[2] << 16;
    SDL_Color c{};
    SDL_GetRGB(v, s->format, &c.r, &c.g, &c.b);
    return c;
}

}  // namespace

TEST(DataFiles, GeneratorReproducesCommittedFiles)
{
    const fs::path out = fs::temp_directory_path() / ("newyear-data-" + std::to_string(getpid()));
    fs::create_directories(out);
    const std::string cmd = std::string("\"") + NEWYEAR_MAKEDATA + "\" \"" + out.string() + "\"";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    std::vector<std::string> names = {"hm.dat", "gfx.dat", "music.dat"};
    for (const int size : iconSizes)
        names.push_back("icons/newyear-" + std::to_string(size) + ".png");
    for (const std::string& name : names) {
        const std::vector<char> made = readAll(out / name);
        ASSERT_FALSE(made.empty()) << name;
        EXPECT_TRUE(made == readAll(fs::path(dataDir) / name)) << name << " differs from the generator's output";
    }
    fs::remove_all(out);
}

// Mostly dark low ground, and nothing in the colours from 176 up, where blue
// spills into green.
TEST(HeightMap, IsAGreyEightBitMapOfLowGroundUnderTheOverflowColours)
{
    Surface hm = loadBmp("hm.dat");
    ASSERT_TRUE(hm) << SDL_GetError();
    ASSERT_EQ(hm->format->BitsPerPixel, 8);
    ASSERT_EQ(hm->w, 300);
    ASSERT_EQ(hm->h, 300);
    ASSERT_EQ(hm->pitch, 300);  // the demo indexes it as hx + hy * 300
    for (int i = 0; i < 256; i += 51)
        EXPECT_EQ(hm->format->palette->colors[i].g, i);
    int lo = 255, hi = 0, dark = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 300; ++x) {
            const int h = heightAt(hm.get(), x, y);
            lo = std::min(lo, h), hi = std::max(hi, h);
            dark += h < 48;
        }
    EXPECT_LE(lo, 8);  // the darkest blue valley floors
    EXPECT_LT(hi, 176);
    EXPECT_GT(dark, 300 * 300 / 2);
}

TEST(HeightMap, TilesWithoutSeamsAndIsSmooth)
{
    Surface hm = loadBmp("hm.dat");
    ASSERT_TRUE(hm);
    const SDL_Surface* s = hm.get();
    // Mean step between horizontal and between vertical neighbours, inside the
    // map, across its wrapped edges, and between the five columns (rows) on
    // either side of the edge: ground is steeper in some parts of the map
    // than in others, so the edge is held to the ground around it.
    double insideX = 0, insideY = 0, seamX = 0, seamY = 0, nearX = 0, nearY = 0;
    for (int a = 0; a < 300; ++a) {
        for (int b = 0; b < 299; ++b) {
            const int stepX = std::abs(heightAt(s, b, a) - heightAt(s, b + 1, a));
            const int stepY = std::abs(heightAt(s, a, b) - heightAt(s, a, b + 1));
            insideX += stepX, insideY += stepY;
            if (b < 5 || b >= 294)
                nearX += stepX, nearY += stepY;
        }
        seamX += std::abs(heightAt(s, 299, a) - heightAt(s, 0, a));
        seamY += std::abs(heightAt(s, a, 299) - heightAt(s, a, 0));
    }
    insideX /= 300 * 299, insideY /= 300 * 299, seamX /= 300, seamY /= 300, nearX /= 300 * 10, nearY /= 300 * 10;
    EXPECT_LE(seamX, 1.5 * nearX);
    EXPECT_LE(seamY, 1.5 * nearY);
    EXPECT_GT(insideX, 0.3);  // not flat
    EXPECT_LT(insideX, 6.0);  // not noise: neighbours stay close
    EXPECT_LT(insideY, 6.0);
}

TEST(Panel, IsTwentyFourBitAndBigEnough)
{
    Surface gfx = loadBmp("gfx.dat");
    ASSERT_TRUE(gfx) << SDL_GetError();
    EXPECT_EQ(gfx->format->BitsPerPixel, 24);
    EXPECT_GE(gfx->w, 150);
    EXPECT_GE(gfx->h, 240);
}

TEST(Panel, TransparencyOnlyWhereTheDemoRedraws)
{
    Surface gfx = loadBmp("gfx.dat");
    ASSERT_TRUE(gfx);
    int magenta = 0, misplaced = 0, nearMagenta = 0;
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 150; ++x) {
            const SDL_Color c = pixelAt(gfx.get(), x, y);
            if (c.r == 255 && c.g == 0 && c.b == 255) {
                ++magenta;
                if (x < 74)
                    ++misplaced;  // the landscape never draws there: flat sky or old frames would show
            } else if (c.r >= 248 && c.g < 4 && c.b >= 248) {
                ++nearMagenta;  // would turn transparent once packed to 5-6-5
            }
        }
    EXPECT_GT(magenta, 1000);
    EXPECT_EQ(misplaced, 0);
    EXPECT_EQ(nearMagenta, 0);
}

// Left of the landscape's first column, down to where the tree covers it,
// the picture's sky packs to the demo's own sky colour (60, 80, 150), so the
// two skies meet without a seam.
TEST(Panel, SkyMeetsTheSkyBandWithoutASeam)
{
    Surface gfx = loadBmp("gfx.dat");
    ASSERT_TRUE(gfx);
    for (int y = 0; y < 46; ++y) {
        if (y >= 11 && y <= 33)
            continue;  // the star's left point touches column 73
        const SDL_Color c = pixelAt(gfx.get(), 73, y);
        EXPECT_EQ(c.r >> 3, 60 >> 3) << y;
        EXPECT_EQ(c.g >> 2, 80 >> 2) << y;
        EXPECT_EQ(c.b >> 3, 150 >> 3) << y;
    }
}

namespace {

struct Rgba {
    std::vector<png_byte> pixels;
    unsigned width = 0, height = 0;
};

// The icon's pixels as 8-bit RGBA, or nothing when it is not such a PNG.
Rgba readRgbaPng(const std::string& path)
{
    Rgba image;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return image;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (!setjmp(png_jmpbuf(png))) {
        png_init_io(png, f);
        png_read_info(png, info);
        if (png_get_color_type(png, info) == PNG_COLOR_TYPE_RGBA && png_get_bit_depth(png, info) == 8) {
            image.width = png_get_image_width(png, info);
            image.height = png_get_image_height(png, info);
            image.pixels.resize(image.width * image.height * 4);
            for (unsigned y = 0; y < image.height; ++y)
                png_read_row(png, &image.pixels[y * image.width * 4], nullptr);
        }
    } else {
        image = {};
    }
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(f);
    return image;
}

const IconColour* paletteColour(char key)
{
    for (int i = 0; i < iconPaletteSize; ++i)
        if (iconPalette[i].key == key)
            return &iconPalette[i];
    return nullptr;
}

}  // namespace

// The icons at the art's own sizes are the art, pixel for pixel. (The ship
// tests hold every larger icon to a whole-number scale of one of these.)
class Icon : public testing::TestWithParam<int> {};

TEST_P(Icon, IsTheArtPixelForPixel)
{
    const int side = GetParam();
    const Rgba image = readRgbaPng(dataDir + "/icons/newyear-" + std::to_string(side) + ".png");
    ASSERT_EQ(image.width, unsigned(side)) << "not an 8-bit RGBA PNG of the right size";
    ASSERT_EQ(image.height, unsigned(side));
    int wrong = 0;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const char key = side == 32 ? icon32[y][x] : icon16[y][x];
            const IconColour* c = paletteColour(key);
            ASSERT_TRUE(c) << "key '" << key << "'";
            const png_byte* p = &image.pixels[(y * side + x) * 4];
            wrong += p[0] != c->r || p[1] != c->g || p[2] != c->b || p[3] != c->a;
        }
    EXPECT_EQ(wrong, 0);
}

INSTANTIATE_TEST_SUITE_P(ArtSizes, Icon, testing::Values(16, 32));
