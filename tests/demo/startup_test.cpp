// Finding, loading and checking the data files, in a scratch folder, and the
// demo's start-up around them.
#include "demo/startup.h"

#include "render/render.h"

#include <SDL_mixer.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

class Startup : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("newyear-startup-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override
    {
        free();
        fs::remove_all(dir);
    }
    void saveBmp(const char* name, int w, int h, int depth)
    {
        SDL_Surface* s = depth == 24 ? SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0)
                                     : SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, depth, 0, 0, 0, 0);
        ASSERT_EQ(SDL_SaveBMP(s, (dir / name).c_str()), 0) << SDL_GetError();
        SDL_FreeSurface(s);
    }
    void saveGood()
    {
        saveBmp("gfx.dat", 150, 240, 24);
        saveBmp("hm.dat", 300, 300, 8);
    }
    void free()
    {
        SDL_FreeSurface(demo.panel);
        SDL_FreeSurface(demo.heightMap);
        demo = Demo{};
    }
    bool load()
    {
        free();
        error.clear();
        const bool ok = loadImages(demo, dir.string(), error);
        // A failed load must not leave anything behind for the caller.
        if (!ok) {
            EXPECT_EQ(demo.panel, nullptr);
            EXPECT_EQ(demo.heightMap, nullptr);
        }
        return ok;
    }
    fs::path dir;
    Demo demo;
    std::string error;
};

TEST_F(Startup, loadsGoodImages)
{
    saveGood();
    ASSERT_TRUE(load()) << error;
    EXPECT_EQ(demo.heightMap->pitch, 300);
    EXPECT_EQ(demo.panel->w, 150);
}

TEST_F(Startup, namesAMissingFileAndWhereItLooked)
{
    saveBmp("hm.dat", 300, 300, 8);
    EXPECT_FALSE(load());
    EXPECT_NE(error.find("\"gfx.dat\""), std::string::npos) << error;
    EXPECT_NE(error.find(dir.string()), std::string::npos) << error;
    EXPECT_NE(error.find("No such file"), std::string::npos) << error;

    saveBmp("gfx.dat", 150, 240, 24);
    fs::remove(dir / "hm.dat");
    EXPECT_FALSE(load());
    EXPECT_NE(error.find("\"hm.dat\""), std::string::npos) << error;
}

TEST_F(Startup, rejectsWhatIsNotABmp)
{
    saveGood();
    std::ofstream(dir / "hm.dat") << "this is not a picture";
    EXPECT_FALSE(load());
    EXPECT_NE(error.find("\"hm.dat\" is not a readable BMP"), std::string::npos) << error;

    std::ofstream(dir / "gfx.dat", std::ios::trunc).close();
    EXPECT_FALSE(load());
    EXPECT_NE(error.find("\"gfx.dat\" is not a readable BMP"), std::string::npos) << error;

    fs::remove(dir / "gfx.dat");
    fs::create_directory(dir / "gfx.dat");
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

TEST_F(Startup, takesTheFirstFolderHoldingThePanelAndNamesEveryFolderLookedIn)
{
    const fs::path empty = dir / "empty";
    fs::create_directories(empty);
    saveGood();
    std::string found;
    ASSERT_TRUE(findData({empty.string(), dir.string(), "/nonexistent"}, found, error)) << error;
    EXPECT_EQ(found, dir.string());

    EXPECT_FALSE(findData({empty.string(), "/nonexistent"}, found, error));
    EXPECT_EQ(error, "cannot open \"gfx.dat\" in " + empty.string() + " or /nonexistent: No such file or directory");
}

// Music that cannot play only silences the demo, and silence says why.
// Each start is a test of its own: SDL keeps one display surface per start.
TEST_F(Startup, aFifoForMusicOnlySilences)
{
    saveGood();
    ASSERT_EQ(mkfifo((dir / "music.dat").c_str(), 0600), 0);
    ::Setup setup;
    setup.dataDirs = {dir.string()};
    std::string silence;
    ASSERT_TRUE(startDemo(demo, setup, error, silence)) << error;
    EXPECT_EQ(demo.music, nullptr);
    EXPECT_EQ(silence, "\"music.dat\" in " + dir.string() + " is not a regular file");
    stopDemo(demo);
}

TEST_F(Startup, playableMusicPlays)
{
    saveGood();
    fs::copy_file(fs::path(NEWYEAR_DATA_DIR) / "music.dat", dir / "music.dat");
    ::Setup setup;
    setup.dataDirs = {dir.string()};
    std::string silence;
    ASSERT_TRUE(startDemo(demo, setup, error, silence)) << error;
    EXPECT_NE(demo.music, nullptr);
    EXPECT_TRUE(Mix_PlayingMusic());
    EXPECT_EQ(silence, "");
    stopDemo(demo);
}

TEST_F(Startup, noSoundDeviceOnlySilences)
{
    saveGood();
    fs::copy_file(fs::path(NEWYEAR_DATA_DIR) / "music.dat", dir / "music.dat");
    setenv("SDL_AUDIODRIVER", "nosuchdriver", 1);
    ::Setup setup;
    setup.dataDirs = {dir.string()};
    std::string silence;
    ASSERT_TRUE(startDemo(demo, setup, error, silence)) << error;
    EXPECT_EQ(silence.rfind("no sound: ", 0), 0u) << silence;
    EXPECT_NE(screen, nullptr);
    stopDemo(demo);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

TEST_F(Startup, aFailedStartLeavesNothingBehind)
{
    saveBmp("gfx.dat", 150, 240, 24);
    ::Setup setup;
    setup.dataDirs = {dir.string()};
    std::string silence;
    EXPECT_FALSE(startDemo(demo, setup, error, silence));
    EXPECT_EQ(error, "cannot open \"hm.dat\" in " + dir.string() + ": No such file or directory");
    EXPECT_EQ(demo.panel, nullptr);
    EXPECT_EQ(screen, nullptr);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);
}
