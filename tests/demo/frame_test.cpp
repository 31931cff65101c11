// The frame loop against the real SDL with its dummy video driver: the real
// event queue, a real 320x240 16-bit display surface.
#include "demo/frame.h"
#include "demo/startup.h"
#include "effects/landscape.h"
#include "effects/scroller.h"
#include "effects/snow.h"
#include "effects/tables.h"
#include "render/render.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace {

SDL_Event keyEvent(Uint8 type, SDLKey key)
{
    SDL_Event e{};
    e.type = type;
    e.key.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = key;
    return e;
}

SDL_Event buttonEvent(Uint8 type, Uint8 button)
{
    SDL_Event e{};
    e.type = type;
    e.jbutton.type = type;
    e.jbutton.which = 0;
    e.jbutton.button = button;
    e.jbutton.state = type == SDL_JOYBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    return e;
}

SDL_Event quitEvent()
{
    SDL_Event e{};
    e.type = SDL_QUIT;
    return e;
}

void push(SDL_Event e)
{
    ASSERT_EQ(SDL_PushEvent(&e), 0);
}

uint16_t pixel(int x, int y)
{
    return static_cast<const uint16_t*>(screen->pixels)[y * 320 + x];
}

namespace fs = std::filesystem;

// A scratch data folder: a panel of one colour with a magenta corner, and a
// high flat map whose ground stays above row 111. No music.
class DataDir {
public:
    DataDir() : path(fs::temp_directory_path() / ("newyear-frame-" + std::to_string(getpid())))
    {
        fs::create_directories(path);
        SDL_Surface* panel = SDL_CreateRGBSurface(SDL_SWSURFACE, 150, 240, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
        SDL_FillRect(panel, nullptr, SDL_MapRGB(panel->format, 200, 40, 40));
        SDL_Rect corner = {0, 0, 20, 20};
        SDL_FillRect(panel, &corner, SDL_MapRGB(panel->format, 255, 0, 255));
        SDL_SaveBMP(panel, (path / "gfx.dat").c_str());
        SDL_FreeSurface(panel);
        SDL_Surface* map = SDL_CreateRGBSurface(SDL_SWSURFACE, 300, 300, 8, 0, 0, 0, 0);
        SDL_memset(map->pixels, 255, 300 * 300);
        SDL_SaveBMP(map, (path / "hm.dat").c_str());
        SDL_FreeSurface(map);
    }
    ~DataDir() { fs::remove_all(path); }
    const fs::path path;
};

Setup setupFor(const fs::path& dir)
{
    Setup setup;
    setup.dataDirs = {dir.string()};
    setup.music = false;
    return setup;
}

}  // namespace

// The demo's own full-screen start-up, on SDL's dummy video driver.
class Frame : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error, silence;
        ASSERT_TRUE(startDemo(demo, setupFor(data.path), error, silence)) << error;
    }
    void TearDown() override { stopDemo(demo); }
    DataDir data;
    Demo demo;
};

TEST_F(Frame, screenOpensBlackFiveSixFive)
{
    EXPECT_EQ(screen->w, 320);
    EXPECT_EQ(screen->h, 240);
    EXPECT_EQ(screen->pitch, 640);
    EXPECT_EQ(gS, 5);
    // Rows below the sky are never cleared, so they must start black.
    for (int y = 0; y < 240; y++)
        for (int x = 0; x < 320; x++)
            ASSERT_EQ(pixel(x, y), 0) << x << "," << y;
}

TEST_F(Frame, quitsOnEscapeAndJoystickButtons8And14Only)
{
    push(keyEvent(SDL_KEYDOWN, SDLK_ESCAPE));
    EXPECT_TRUE(quitRequested(false));
    push(buttonEvent(SDL_JOYBUTTONDOWN, 8));
    EXPECT_TRUE(quitRequested(false));
    push(buttonEvent(SDL_JOYBUTTONDOWN, 14));
    EXPECT_TRUE(quitRequested(false));

    push(keyEvent(SDL_KEYUP, SDLK_ESCAPE));
    push(keyEvent(SDL_KEYDOWN, SDLK_a));
    push(keyEvent(SDL_KEYDOWN, SDLK_q));
    push(buttonEvent(SDL_JOYBUTTONDOWN, 9));
    push(buttonEvent(SDL_JOYBUTTONDOWN, 0));
    push(buttonEvent(SDL_JOYBUTTONUP, 8));
    push(buttonEvent(SDL_JOYBUTTONUP, 14));
    push(quitEvent());
    EXPECT_FALSE(quitRequested(false));
    // Everything was consumed.
    SDL_Event e;
    EXPECT_EQ(SDL_PollEvent(&e), 0);
}

TEST_F(Frame, escapeBehindOtherEventsStillQuits)
{
    push(quitEvent());
    push(keyEvent(SDL_KEYDOWN, SDLK_SPACE));
    push(keyEvent(SDL_KEYDOWN, SDLK_ESCAPE));
    EXPECT_TRUE(quitRequested(false));
}

TEST_F(Frame, counterStartsAt53AndStaysOdd)
{
    ASSERT_TRUE(drawFrame(demo));
    EXPECT_EQ(demo.frame, 53);
    for (int i = 2; i <= 10; i++)
        ASSERT_TRUE(drawFrame(demo));
    EXPECT_EQ(demo.frame, 71);
}

TEST_F(Frame, drawsSkyLandscapeAndPanelInOrder)
{
    ASSERT_TRUE(drawFrame(demo));
    EXPECT_EQ(pixel(10, 10), 0x3A92);  // sky, through the panel's magenta
    EXPECT_EQ(pixel(319, 0), 0xF8A9);  // high ground reaches into the sky
    EXPECT_EQ(pixel(10, 100), RGB2value(200, 40, 40));
    EXPECT_EQ(pixel(149, 239), RGB2value(200, 40, 40));
    EXPECT_EQ(pixel(200, 80), 0xF8A9);  // ground of height 255
}

TEST_F(Frame, rowsBelowTheSkyAreNeverCleared)
{
    putPixel(250, 200, 0x1234);
    ASSERT_TRUE(drawFrame(demo));
    ASSERT_TRUE(drawFrame(demo));
    EXPECT_EQ(pixel(250, 200), 0x1234);
}

TEST_F(Frame, escapeStopsTheFrameBeforeSnowScrollerAndPanel)
{
    // The second frame (55) is one of the scroller's text steps.
    ASSERT_TRUE(drawFrame(demo));
    SDL_FillRect(screen, nullptr, 0);
    const std::vector<Flake> before(flakes, flakes + flakeCount);
    push(keyEvent(SDL_KEYDOWN, SDLK_ESCAPE));
    EXPECT_FALSE(drawFrame(demo));
    EXPECT_EQ(demo.frame, 55);
    EXPECT_EQ(pixel(10, 10), 0x3A92);  // the sky came before the input step
    EXPECT_EQ(pixel(319, 0), 0xF8A9);  // and so did the landscape
    EXPECT_EQ(pixel(10, 100), 0);      // the panel never came
    // Neither did the snow nor the text step.
    for (int i = 0; i < flakeCount; i++) {
        ASSERT_EQ(flakes[i].x, before[i].x) << "flake " << i;
        ASSERT_EQ(flakes[i].y, before[i].y) << "flake " << i;
    }
    EXPECT_EQ(textCursor, 0);  // the step at 55 would have taken it to 1
}

TEST_F(Frame, closeRequestQuitsOnlyAWindow)
{
    push(quitEvent());
    EXPECT_FALSE(quitRequested(false));
    push(quitEvent());
    EXPECT_TRUE(quitRequested(true));
    EXPECT_FALSE(demo.closeQuits);  // full screen, as started here
}

TEST_F(Frame, counterWrapsKeepingEveryPhase)
{
    demo.frame = frameWrap - 1;
    const int32_t before = demo.frame + 2;
    ASSERT_TRUE(drawFrame(demo));
    EXPECT_EQ(demo.frame, before - 15000);
    EXPECT_EQ(demo.frame % 2, 1);
    EXPECT_EQ(demo.frame % 15000, before % 15000);
    EXPECT_EQ(demo.frame % 50, before % 50);
    EXPECT_EQ((demo.frame / 2) % 3, (before / 2) % 3);
    for (int i = 0; i < 7600; i++) {
        ASSERT_TRUE(drawFrame(demo));
        ASSERT_LE(demo.frame, frameWrap);
        ASSERT_GT(demo.frame, frameWrap - 15000);
    }
}

// With the committed data, every frame is the sky band, the landscape, the
// snow, the text step, the scroller and the panel, in that order and nothing
// else: frames drawn step by step match drawFrame's, pixel for pixel, over
// the first 700 frames, by which the snow and the text are both on screen.
TEST(FrameOrder, isSkyLandscapeSnowTextScrollerPanel)
{
    constexpr int frames = 700;
    std::vector<std::vector<uint16_t>> drawn;
    Demo demo;
    std::string error, silence;
    std::srand(1);
    ASSERT_TRUE(startDemo(demo, offscreenSetup(NEWYEAR_DATA_DIR), error, silence)) << error;
    for (int i = 0; i < frames; i++) {
        ASSERT_TRUE(drawFrame(demo));
        const auto* p = static_cast<const uint16_t*>(screen->pixels);
        drawn.emplace_back(p, p + 320 * 240);
    }
    stopDemo(demo);

    std::srand(1);
    ASSERT_TRUE(startDemo(demo, offscreenSetup(NEWYEAR_DATA_DIR), error, silence)) << error;
    int white = 0, text = 0;
    for (int i = 0; i < frames; i++) {
        SDL_FillRect(screen, &demo.skyRect, 0x3A92);
        demo.frame += 2;
        drawLandscape(demo.frame, demo.heightMap);
        drawFlakes(demo.frame);
        stepScroller(demo.frame);
        drawScroller(demo.frame);
        SDL_UpperBlit(demo.panel, &demo.panelSrcRect, screen, &demo.panelDstRect);
        const auto* p = static_cast<const uint16_t*>(screen->pixels);
        ASSERT_TRUE(std::equal(p, p + 320 * 240, drawn[i].begin())) << "frame " << i + 1;
    }
    for (int y = 0; y < 240; y++)
        for (int x = 150; x < 320; x++) {
            white += pixel(x, y) == 0xFFFF;
            for (int k = 4; k < 30; k++)
                text += pixel(x, y) == RGB2value(7 * k + 50, 2 * k + 150, 2 * k + 150);
        }
    stopDemo(demo);
    // Right of the panel only the snow draws white, and only the scroller
    // the colours of its rows.
    EXPECT_GT(white, 20);
    EXPECT_GT(text, 20);
}
