// Loading and checking the data files, in a scratch working directory.
#include "demo/startup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

class Startup : public ::testing::Test {
protected:
    void SetUp() override
    {
        home = fs::current_path();
        dir = fs::temp_directory_path() / ("newyear-startup-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        fs::current_path(dir);
    }
    void TearDown() override
    {
        freeImages(images);
        fs::current_path(home);
        fs::remove_all(dir);
    }
    static void saveBmp(const char* name, int w, int h, int depth)
    {
        SDL_Surface* s = depth == 24 ? SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0)
                                     : SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, depth, 0, 0, 0, 0);
        ASSERT_EQ(SDL_SaveBMP(s, name), 0) << SDL_GetError();
        SDL_FreeSurface(s);
    }
    static void saveGood()
    {
        saveBmp("gfx.dat", 150, 240, 24);
        saveBmp("hm.dat", 300, 300, 8);
    }
    bool load()
    {
        freeImages(images);
        error.clear();
        const bool ok = loadImages(images, error);
        // A failed load must not leave anything behind for the caller.
        if (!ok) {
            EXPECT_EQ(images.panel, nullptr);
            EXPECT_EQ(images.heightMap, nullptr);
        }
        return ok;
    }
    fs::path home, dir;
    Images images;
    std::string error;
};

TEST_F(Startup, loadsGoodImages)
{
    saveGood();
    ASSERT_TRUE(load()) << error;
    EXPECT_EQ(images.heightMap->pitch, 300);
    EXPECT_EQ(images.panel->w, 150);
}

TEST_F(Startup, namesAMissingFileAndWhereItLooked)
{
    saveBmp("hm.dat", 300, 300, 8);
    EXPECT_FALSE(load());
    EXPECT_NE(error.find("\"gfx.dat\""), std::string::npos) << error;
    EXPECT_NE(error.find(dir.string()), std::string::npos) << error;
    EXPECT_NE(error.find("No such file"), std::string::npos) << error;

    saveBmp("gfx.dat", 150, 240, 24);
    fs::remove("hm.dat");
    EXPECT_FALSE(load());
    EXPECT_NE(error.find("\"hm.dat\""), std::string::npos) << error;
}

TEST_F(Startup, rejectsWhatIsNotABmp)
{
    saveGood();
    std::ofstream("hm.dat") << "this is not a picture";
    EXPECT_FALSE(load());
    EXPECT_NE(error.find("\"hm.dat\" is not a readable BMP"), std::string::npos) << error;

    std::ofstream("gfx.dat", std::ios::trunc).close();
    EXPECT_FALSE(load());
    EXPECT_NE(error.find("\"gfx.dat\" is not a readable BMP"), std::string::npos) << error;

    fs::remove("gfx.dat");
    fs::create_directory("gfx.dat");
    EXPECT_FALSE(load());
    EXPECT_NE(error.find("is a folder"), std::string::npos) << error;
}

TEST_F(Startup, rejectsHeightMapsOfAnotherShape)
{
    saveBmp("gfx.dat", 150, 240, 24);
    const int shapes[][3] = {{299, 300, 8}, {300, 299, 8}, {301, 301, 8}, {300, 300, 24}, {300, 300, 16}};
    for (const auto& s : shapes) {
        saveBmp("hm.dat", s[0], s[1], s[2]);
        EXPECT_FALSE(load()) << s[0] << "x" << s[1] << "x" << s[2];
        EXPECT_NE(error.find("\"hm.dat\" must be an 8-bit 300x300"), std::string::npos) << error;
    }
}

TEST_F(Startup, rejectsAPanelSmallerThan150x240)
{
    saveBmp("hm.dat", 300, 300, 8);
    for (const auto& s : {std::pair{149, 240}, std::pair{150, 239}}) {
        saveBmp("gfx.dat", s.first, s.second, 24);
        EXPECT_FALSE(load());
        EXPECT_NE(error.find("\"gfx.dat\" must be a picture of at least 150x240"), std::string::npos) << error;
    }
    saveBmp("gfx.dat", 400, 300, 24);
    EXPECT_TRUE(load()) << error;
}

TEST_F(Startup, onlyExactMagentaBecomesTransparent)
{
    SDL_Surface* rgb = SDL_CreateRGBSurface(SDL_SWSURFACE, 150, 240, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
    keyPanel(rgb);
    EXPECT_TRUE(rgb->flags & SDL_SRCCOLORKEY);
    EXPECT_EQ(rgb->format->colorkey, 0xFF00FFu);
    SDL_FreeSurface(rgb);

    // A palette of greys has no magenta: no colour may vanish.
    SDL_Surface* grey = SDL_CreateRGBSurface(SDL_SWSURFACE, 150, 240, 8, 0, 0, 0, 0);
    SDL_Color greys[256];
    for (int i = 0; i < 256; i++)
        greys[i] = {Uint8(i), Uint8(i), Uint8(i), 0};
    SDL_SetColors(grey, greys, 0, 256);
    keyPanel(grey);
    EXPECT_FALSE(grey->flags & SDL_SRCCOLORKEY);
    SDL_FreeSurface(grey);
}
