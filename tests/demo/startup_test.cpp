// Finding, loading and checking the data files, in a scratch folder, and the
// demo's start-up around them: the library calls it makes, in their order,
// and what it leaves behind.
#include "data/data.h"
#include "demo/demo.h"
#include "platform/desktop/desktop.h"

#include <alsa/asoundlib.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

// Every start-up call the demo makes to SDL and SDL_mixer, as it made it,
// while recording is on; each still reaches the library.
namespace {
bool recording = false;
std::vector<std::string> calls;

template <typename... Args>
void record(const char* format, Args... args)
{
    if (!recording)
        return;
    char line[256];
    std::snprintf(line, sizeof line, format, args...);
    calls.push_back(line);
}

std::string base(const char* path)
{
    return fs::path(path).filename().string();
}
}  // namespace

extern "C" {
int __real_SDL_Init(Uint32);
int __real_SDL_ShowCursor(int);
SDL_Joystick* __real_SDL_JoystickOpen(int);
SDL_RWops* __real_SDL_RWFromFile(const char*, const char*);
SDL_Surface* __real_SDL_LoadBMP_RW(SDL_RWops*, int);
SDL_Surface* __real_SDL_SetVideoMode(int, int, int, Uint32);
int __real_Mix_OpenAudio(int, Uint16, int, int);
Mix_Music* __real_Mix_LoadMUS(const char*);
int __real_Mix_PlayMusic(Mix_Music*, int);
int __real_SDL_SetColorKey(SDL_Surface*, Uint32, Uint32);

int __wrap_SDL_Init(Uint32 flags)
{
    record("SDL_Init(0x%x)", flags);
    return __real_SDL_Init(flags);
}
int __wrap_SDL_ShowCursor(int toggle)
{
    record("SDL_ShowCursor(%d)", toggle);
    return __real_SDL_ShowCursor(toggle);
}
SDL_Joystick* __wrap_SDL_JoystickOpen(int index)
{
    record("SDL_JoystickOpen(%d)", index);
    return __real_SDL_JoystickOpen(index);
}
SDL_RWops* __wrap_SDL_RWFromFile(const char* file, const char* mode)
{
    record("SDL_RWFromFile(%s, %s)", base(file).c_str(), mode);
    return __real_SDL_RWFromFile(file, mode);
}
SDL_Surface* __wrap_SDL_LoadBMP_RW(SDL_RWops* src, int freesrc)
{
    record("SDL_LoadBMP_RW(%d)", freesrc);
    return __real_SDL_LoadBMP_RW(src, freesrc);
}
SDL_Surface* __wrap_SDL_SetVideoMode(int w, int h, int bpp, Uint32 flags)
{
    record("SDL_SetVideoMode(%d, %d, %d, 0x%x)", w, h, bpp, flags);
    return __real_SDL_SetVideoMode(w, h, bpp, flags);
}
int __wrap_Mix_OpenAudio(int frequency, Uint16 format, int channels, int chunksize)
{
    record("Mix_OpenAudio(%d, 0x%x, %d, %d)", frequency, format, channels, chunksize);
    return __real_Mix_OpenAudio(frequency, format, channels, chunksize);
}
Mix_Music* __wrap_Mix_LoadMUS(const char* file)
{
    record("Mix_LoadMUS(%s)", base(file).c_str());
    return __real_Mix_LoadMUS(file);
}
int __wrap_Mix_PlayMusic(Mix_Music* music, int loops)
{
    record("Mix_PlayMusic(%d)", loops);
    return __real_Mix_PlayMusic(music, loops);
}
int __wrap_SDL_SetColorKey(SDL_Surface* surface, Uint32 flag, Uint32 key)
{
    record("SDL_SetColorKey(0x%x, 0x%x)", flag, key);
    return __real_SDL_SetColorKey(surface, flag, key);
}
}

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
        SDL_FreeSurface(panel);
        SDL_FreeSurface(heightMap);
        panel = heightMap = nullptr;
    }
    bool load()
    {
        free();
        error.clear();
        const bool ok = loadImages(dir.string(), panel, heightMap, error);
        // A failed load must not leave anything behind for the caller.
        if (!ok) {
            EXPECT_EQ(panel, nullptr);
            EXPECT_EQ(heightMap, nullptr);
        }
        return ok;
    }
    Options options() const
    {
        Options o;
        o.dataDirs = {dir.string()};
        return o;
    }
    fs::path dir;
    SDL_Surface* panel = nullptr;
    SDL_Surface* heightMap = nullptr;
    Demo demo;
    Edge edge;
    std::string error, silence;
};

TEST_F(Startup, loadsGoodImages)
{
    saveGood();
    ASSERT_TRUE(load()) << error;
    EXPECT_EQ(heightMap->pitch, 300);
    EXPECT_EQ(panel->w, 150);
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

// The calls of a full start, in the demo's fixed order: the
// library, the cursor and the joystick; the panel and the height map; the
// screen; the music; the panel's colour key.
TEST_F(Startup, callsTheLibraryInTheDemosOrder)
{
    saveGood();
    fs::copy_file(fs::path(NEWYEAR_SOURCE_DATA) / "music.dat", dir / "music.dat");
    recording = true;
    const bool started = startDemo(demo, edge, options(), error, silence);
    recording = false;
    ASSERT_TRUE(started) << error;
    EXPECT_EQ(silence, "");
    const std::vector<std::string> want = {
        "SDL_Init(0x220)",
        "SDL_ShowCursor(0)",
        "SDL_JoystickOpen(0)",
        "SDL_RWFromFile(gfx.dat, rb)",
        "SDL_LoadBMP_RW(1)",
        "SDL_RWFromFile(hm.dat, rb)",
        "SDL_LoadBMP_RW(1)",
        "SDL_SetVideoMode(320, 240, 16, 0x80000000)",
        "Mix_OpenAudio(22050, 0x8010, 2, 1024)",
        "Mix_LoadMUS(music.dat)",
        "Mix_PlayMusic(0)",
        "SDL_SetColorKey(0x1000, 0xff00ff)",
    };
    EXPECT_EQ(calls, want);
    stopDemo(demo, edge);
}

// Music that cannot play only silences the demo, and silence says why.
TEST_F(Startup, aFifoForMusicOnlySilences)
{
    saveGood();
    ASSERT_EQ(mkfifo((dir / "music.dat").c_str(), 0600), 0);
    ASSERT_TRUE(startDemo(demo, edge, options(), error, silence)) << error;
    EXPECT_EQ(edge.music, nullptr);
    EXPECT_EQ(silence, "\"music.dat\" in " + dir.string() + " is not a regular file");
    stopDemo(demo, edge);
}

TEST_F(Startup, playableMusicPlays)
{
    saveGood();
    fs::copy_file(fs::path(NEWYEAR_SOURCE_DATA) / "music.dat", dir / "music.dat");
    ASSERT_TRUE(startDemo(demo, edge, options(), error, silence)) << error;
    EXPECT_NE(edge.music, nullptr);
    EXPECT_TRUE(Mix_PlayingMusic());
    EXPECT_EQ(silence, "");
    stopDemo(demo, edge);
}

// No sound only silences, in a line that names the driver tried; ALSA's
// messages are held back only while the device is opened, and the sound
// server's latency is put back at the end.
TEST_F(Startup, noSoundDeviceOnlySilences)
{
    saveGood();
    fs::copy_file(fs::path(NEWYEAR_SOURCE_DATA) / "music.dat", dir / "music.dat");
    setenv("SDL_AUDIODRIVER", "nosuchdriver", 1);
    const snd_lib_error_handler_t alsaHandler = snd_lib_error;
    ASSERT_TRUE(startDemo(demo, edge, options(), error, silence)) << error;
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    EXPECT_EQ(silence, "no sound: Audio target 'nosuchdriver' not available (SDL_AUDIODRIVER=nosuchdriver)");
    EXPECT_EQ(snd_lib_error, alsaHandler);
    EXPECT_NE(demo.screen.surface, nullptr);
    stopDemo(demo, edge);
    EXPECT_EQ(std::getenv("PULSE_LATENCY_MSEC"), nullptr);
}

// Nothing of a failed start stays: no pictures, no screen, no library, and
// the process as it was.
TEST_F(Startup, aFailedStartLeavesNothingBehind)
{
    saveBmp("gfx.dat", 150, 240, 24);
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    const std::string driverBefore = driver ? driver : "";
    EXPECT_FALSE(startDemo(demo, edge, options(), error, silence));
    EXPECT_EQ(error, "cannot open \"hm.dat\" in " + dir.string() + ": No such file or directory");
    EXPECT_EQ(demo.panel, nullptr);
    EXPECT_EQ(demo.screen.surface, nullptr);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);
    EXPECT_EQ(std::getenv("SDL_NO_SIGNAL_HANDLERS"), nullptr);
    driver = std::getenv("SDL_VIDEODRIVER");
    EXPECT_EQ(driver ? driver : "", driverBefore);
}
