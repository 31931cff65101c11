// The frame loop against the real SDL with its dummy video driver: the real
// event queue, a real 320x240 16-bit display surface.
#include "demo/demo.h"
#include "effects/landscape.h"
#include "platform/desktop/desktop.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
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

uint16_t pixel(const Screen& screen, int x, int y)
{
    return static_cast<const uint16_t*>(screen.surface->pixels)[y * 320 + x];
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

Options optionsFor(const fs::path& dir)
{
    Options options;
    options.dataDirs = {dir.string()};
    options.music = false;
    return options;
}

}  // namespace

// The demo's own full-screen start-up, on SDL's dummy video driver.
class Frame : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error, silence;
        ASSERT_TRUE(startDemo(demo, edge, optionsFor(data.path), error, silence)) << error;
    }
    void TearDown() override { stopDemo(demo, edge); }
    uint16_t pixel(int x, int y) const { return ::pixel(demo.screen, x, y); }
    bool quits() { return quitRequested(edge); }
    DataDir data;
    Demo demo;
    Edge edge;
};

TEST_F(Frame, screenOpensBlackFiveSixFive)
{
    EXPECT_EQ(demo.screen.surface->w, 320);
    EXPECT_EQ(demo.screen.surface->h, 240);
    EXPECT_EQ(demo.screen.surface->pitch, 640);
    EXPECT_EQ(demo.screen.gS, 5);
    // Rows below the sky are never cleared, so they must start black.
    for (int y = 0; y < 240; y++)
        for (int x = 0; x < 320; x++)
            ASSERT_EQ(pixel(x, y), 0) << x << "," << y;
}

TEST_F(Frame, quitsOnEscapeAndJoystickButtons8And14Only)
{
    push(keyEvent(SDL_KEYDOWN, SDLK_ESCAPE));
    EXPECT_TRUE(quits());
    push(buttonEvent(SDL_JOYBUTTONDOWN, 8));
    EXPECT_TRUE(quits());
    push(buttonEvent(SDL_JOYBUTTONDOWN, 14));
    EXPECT_TRUE(quits());

    push(keyEvent(SDL_KEYUP, SDLK_ESCAPE));
    push(keyEvent(SDL_KEYDOWN, SDLK_a));
    push(keyEvent(SDL_KEYDOWN, SDLK_q));
    push(buttonEvent(SDL_JOYBUTTONDOWN, 9));
    push(buttonEvent(SDL_JOYBUTTONDOWN, 0));
    push(buttonEvent(SDL_JOYBUTTONUP, 8));
    push(buttonEvent(SDL_JOYBUTTONUP, 14));
    push(quitEvent());
    EXPECT_FALSE(quits());
    // Everything was consumed.
    SDL_Event e;
    EXPECT_EQ(SDL_PollEvent(&e), 0);
}

TEST_F(Frame, escapeBehindOtherEventsStillQuits)
{
    push(quitEvent());
    push(keyEvent(SDL_KEYDOWN, SDLK_SPACE));
    push(keyEvent(SDL_KEYDOWN, SDLK_ESCAPE));
    EXPECT_TRUE(quits());
}

TEST_F(Frame, counterStartsAt53AndStaysOdd)
{
    ASSERT_TRUE(drawFrame(demo, edge));
    EXPECT_EQ(demo.frame, 53);
    for (int i = 2; i <= 10; i++)
        ASSERT_TRUE(drawFrame(demo, edge));
    EXPECT_EQ(demo.frame, 71);
}

TEST_F(Frame, drawsSkyLandscapeAndPanelInOrder)
{
    ASSERT_TRUE(drawFrame(demo, edge));
    EXPECT_EQ(pixel(10, 10), 0x3A92);  // sky, through the panel's magenta
    EXPECT_EQ(pixel(319, 0), 0xF8A9);  // high ground reaches into the sky
    EXPECT_EQ(pixel(10, 100), RGB2value(demo.screen, 200, 40, 40));
    EXPECT_EQ(pixel(149, 239), RGB2value(demo.screen, 200, 40, 40));
    EXPECT_EQ(pixel(200, 80), 0xF8A9);  // ground of height 255
}

TEST_F(Frame, rowsBelowTheSkyAreNeverCleared)
{
    putPixel(demo.screen, 250, 200, 0x1234);
    ASSERT_TRUE(drawFrame(demo, edge));
    ASSERT_TRUE(drawFrame(demo, edge));
    EXPECT_EQ(pixel(250, 200), 0x1234);
}

TEST_F(Frame, escapeStopsTheFrameBeforeSnowScrollerAndPanel)
{
    // The second frame (55) is one of the scroller's text steps.
    ASSERT_TRUE(drawFrame(demo, edge));
    SDL_FillRect(demo.screen.surface, nullptr, 0);
    const Snow before = demo.snow;
    push(keyEvent(SDL_KEYDOWN, SDLK_ESCAPE));
    EXPECT_FALSE(drawFrame(demo, edge));
    EXPECT_EQ(demo.frame, 55);
    EXPECT_EQ(pixel(10, 10), 0x3A92);  // the sky came before the input step
    EXPECT_EQ(pixel(319, 0), 0xF8A9);  // and so did the landscape
    EXPECT_EQ(pixel(10, 100), 0);      // the panel never came
    // Neither did the snow nor the text step.
    for (int i = 0; i < flakeCount; i++) {
        ASSERT_EQ(demo.snow.flakes[i].x, before.flakes[i].x) << "flake " << i;
        ASSERT_EQ(demo.snow.flakes[i].y, before.flakes[i].y) << "flake " << i;
    }
    EXPECT_EQ(demo.scroller.textCursor, 0);  // the step at 55 would have taken it to 1
}

TEST_F(Frame, closeRequestQuitsOnlyAWindow)
{
    EXPECT_FALSE(edge.closeQuits);  // full screen, as started here
    push(quitEvent());
    EXPECT_FALSE(quits());
    edge.closeQuits = true;
    push(quitEvent());
    EXPECT_TRUE(quits());
}

TEST_F(Frame, counterWrapsKeepingEveryPhase)
{
    demo.frame = frameWrap - 1;
    const int32_t before = demo.frame + 2;
    ASSERT_TRUE(drawFrame(demo, edge));
    EXPECT_EQ(demo.frame, before - 15000);
    EXPECT_EQ(demo.frame % 2, 1);
    EXPECT_EQ(demo.frame % 15000, before % 15000);
    EXPECT_EQ(demo.frame % 50, before % 50);
    EXPECT_EQ((demo.frame / 2) % 3, (before / 2) % 3);
    for (int i = 0; i < 7600; i++) {
        ASSERT_TRUE(drawFrame(demo, edge));
        ASSERT_LE(demo.frame, frameWrap);
        ASSERT_GT(demo.frame, frameWrap - 15000);
    }
}

// What the frame's order must produce, pixel for pixel, against each step
// drawn on its own from the state the frame started with: the panel's
// opaque pixels lie over everything, the text over the snow and the ground,
// the snow over the ground, the ground over the sky band, and below the sky
// whatever no step draws keeps the previous frame. Over the first 700 frames
// of the committed data, by which the snow and the text are both on screen.
class FrameLayers : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error, silence;
        ASSERT_TRUE(startDemo(demo, edge, offscreenOptions(NEWYEAR_SOURCE_DATA), error, silence)) << error;
        layer = screenOf(SDL_CreateRGBSurface(SDL_SWSURFACE, 320, 240, 16, 0xF800, 0x07E0, 0x001F, 0));
    }
    void TearDown() override
    {
        SDL_FreeSurface(layer.surface);
        stopDemo(demo, edge);
    }
    // The pixels one step draws on its own: drawn twice, on two different
    // grounds, a pixel is the step's where both agree.
    std::vector<std::optional<uint16_t>> alone(const std::function<void()>& step)
    {
        std::vector<std::optional<uint16_t>> drawn(320 * 240);
        std::vector<uint16_t> first(320 * 240);
        for (const uint16_t ground : {0x07E0, 0xF81F}) {
            SDL_FillRect(layer.surface, nullptr, ground);
            step();
            for (int i = 0; i < 320 * 240; i++) {
                const uint16_t p = static_cast<const uint16_t*>(layer.surface->pixels)[i];
                if (ground == 0x07E0)
                    first[i] = p;
                else if (p == first[i] && p != 0xF81F && p != 0x07E0)
                    drawn[i] = p;
            }
        }
        return drawn;
    }
    Demo demo;
    Edge edge;
    Screen layer;
};

TEST_F(FrameLayers, panelOverTextOverSnowOverGroundOverSky)
{
    const uint16_t sky = 0x3A92;
    std::vector<uint16_t> previous(320 * 240, 0);
    int snowShown = 0, textShown = 0;
    for (int n = 1; n <= 700; n++) {
        Demo before = demo;
        ASSERT_TRUE(drawFrame(demo, edge));
        const int frame = demo.frame;
        const auto ground = alone([&] { drawLandscape(layer, before.tables, before.heightMap, frame); });
        const auto snow = alone([&] {
            Snow copy = before.snow;
            drawFlakes(copy, layer, before.tables, frame);
        });
        const auto text = alone([&] {
            Scroller copy = before.scroller;
            stepScroller(copy, layer, frame);
            drawScroller(copy, layer, before.tables, frame);
        });
        const auto panel = alone([&] {
            SDL_Rect to = before.panelDstRect;
            SDL_UpperBlit(before.panel, &before.panelSrcRect, layer.surface, &to);
        });
        for (int y = 0; y < 240; y++)
            for (int x = 0; x < 320; x++) {
                const int i = y * 320 + x;
                const uint16_t want = panel[i]    ? *panel[i]
                                      : text[i]   ? *text[i]
                                      : snow[i]   ? *snow[i]
                                      : ground[i] ? *ground[i]
                                      : y < 60    ? sky
                                                  : previous[i];
                ASSERT_EQ(pixel(demo.screen, x, y), want) << "frame " << n << " at " << x << "," << y;
                snowShown += !panel[i] && !text[i] && snow[i].has_value();
                textShown += !panel[i] && text[i].has_value();
            }
        const auto* p = static_cast<const uint16_t*>(demo.screen.surface->pixels);
        previous.assign(p, p + 320 * 240);
    }
    EXPECT_GT(snowShown, 1000);
    EXPECT_GT(textShown, 1000);
}
