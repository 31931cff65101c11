// Where everything is on the 320x240 screen. The demo draws by these
// numbers, and the tools and tests that draw or measure its frames use the
// same ones.
#pragma once

constexpr int screenWidth = 320;
constexpr int screenHeight = 240;

struct Rgb8 {
    unsigned char r, g, b;
};

// The sky band across the top rows: the only area cleared every frame.
constexpr int skyHeight = 60;
constexpr Rgb8 skyColour = {60, 80, 150};

// The picture panel covers the left columns, top to bottom, over everything.
constexpr int panelX = 0;
constexpr int panelY = 0;
constexpr int panelWidth = 150;

// The landscape's boxes: the far row's first box has its top left corner
// at (landscapeX, landscapeY) on flat ground of height 0.
constexpr int landscapeX = 74;
constexpr int landscapeY = 60;
constexpr int boxWidth = 7;
constexpr int boxHeight = 8;

// The scroller's text band: buffer cell (i, j) is plotted at
// (textX + i, textY + j), moved up or down by the wobble.
constexpr int textX = 130;
constexpr int textY = 200;
