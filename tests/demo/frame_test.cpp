// The frame loop against the real SDL with its dummy video driver: the real
// event queue, a real 320x240 16-bit display surface.
#include "demo/frame.h"
#include "demo/startup.h"
#include "effects/tables.h"
#include "render/render.h"

#include <gtest/gtest.h>

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

}  // namespace

class Frame : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        buildTables();
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK), 0) << SDL_GetError();
        std::string error;
        ASSERT_TRUE(openScreen(error)) << error;
    }
    static void TearDownTestSuite() { SDL_Quit(); }

    void SetUp() override
    {
        quitRequested();  // start from an empty queue
        // A panel of one colour with a magenta corner, and a high flat map
        // whose ground stays above row 111.
        panel = SDL_CreateRGBSurface(SDL_SWSURFACE, 150, 240, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
        SDL_FillRect(panel, nullptr, SDL_MapRGB(panel->format, 200, 40, 40));
        SDL_Rect corner = {0, 0, 20, 20};
        SDL_FillRect(panel, &corner, SDL_MapRGB(panel->format, 255, 0, 255));
        keyPanel(panel);
        map = SDL_CreateRGBSurface(SDL_SWSURFACE, 300, 300, 8, 0, 0, 0, 0);
        SDL_memset(map->pixels, 255, 300 * 300);
        resetEffects();
        demo = Demo{};
        demo.panel = panel;
        demo.heightMap = map;
        SDL_FillRect(screen, nullptr, 0);
    }
    void TearDown() override
    {
        SDL_FreeSurface(panel);
        SDL_FreeSurface(map);
    }
    SDL_Surface* panel = nullptr;
    SDL_Surface* map = nullptr;
    Demo demo;
};

TEST(Screen, opensBlackFiveSixFive)
{
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    std::string error;
    ASSERT_TRUE(openScreen(error)) << error;
    EXPECT_EQ(screen->w, 320);
    EXPECT_EQ(screen->h, 240);
    EXPECT_EQ(screen->pitch, 640);
    EXPECT_EQ(gS, 5);
    // Rows below the sky are never cleared, so they must start black.
    for (int y = 0; y < 240; y++)
        for (int x = 0; x < 320; x++)
            ASSERT_EQ(pixel(x, y), 0) << x << "," << y;
    SDL_Quit();
}

TEST_F(Frame, quitsOnEscapeAndJoystickButtons8And14Only)
{
    push(keyEvent(SDL_KEYDOWN, SDLK_ESCAPE));
    EXPECT_TRUE(quitRequested());
    push(buttonEvent(SDL_JOYBUTTONDOWN, 8));
    EXPECT_TRUE(quitRequested());
    push(buttonEvent(SDL_JOYBUTTONDOWN, 14));
    EXPECT_TRUE(quitRequested());

    push(keyEvent(SDL_KEYUP, SDLK_ESCAPE));
    push(keyEvent(SDL_KEYDOWN, SDLK_a));
    push(keyEvent(SDL_KEYDOWN, SDLK_q));
    push(buttonEvent(SDL_JOYBUTTONDOWN, 9));
    push(buttonEvent(SDL_JOYBUTTONDOWN, 0));
    push(buttonEvent(SDL_JOYBUTTONUP, 8));
    push(buttonEvent(SDL_JOYBUTTONUP, 14));
    push(quitEvent());
    EXPECT_FALSE(quitRequested());
    // Everything was consumed.
    SDL_Event e;
    EXPECT_EQ(SDL_PollEvent(&e), 0);
}

TEST_F(Frame, escapeBehindOtherEventsStillQuits)
{
    push(quitEvent());
    push(keyEvent(SDL_KEYDOWN, SDLK_SPACE));
    push(keyEvent(SDL_KEYDOWN, SDLK_ESCAPE));
    EXPECT_TRUE(quitRequested());
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
    push(keyEvent(SDL_KEYDOWN, SDLK_ESCAPE));
    EXPECT_FALSE(drawFrame(demo));
    EXPECT_EQ(demo.frame, 53);
    EXPECT_EQ(pixel(10, 10), 0x3A92);  // the sky came before the input step
    EXPECT_EQ(pixel(319, 0), 0xF8A9);  // and so did the landscape
    EXPECT_EQ(pixel(10, 100), 0);      // the panel never came
}

TEST_F(Frame, counterWrapsKeepingEveryPhase)
{
    demo.frame = frameLimit - 1;
    const int32_t before = demo.frame + 2;
    ASSERT_TRUE(drawFrame(demo));
    EXPECT_EQ(demo.frame, before - 15000);
    EXPECT_EQ(demo.frame % 2, 1);
    EXPECT_EQ(demo.frame % 15000, before % 15000);
    EXPECT_EQ(demo.frame % 50, before % 50);
    EXPECT_EQ((demo.frame / 2) % 3, (before / 2) % 3);
    for (int i = 0; i < 7600; i++) {
        ASSERT_TRUE(drawFrame(demo));
        ASSERT_LE(demo.frame, frameLimit);
        ASSERT_GT(demo.frame, frameLimit - 15000);
    }
}
