// newyear-projection DATADIR OUT.png: draws how the landscape projects the
// first frame's ground onto the screen, from DATADIR's height map and with
// the demo's own constants and code: a side view (depth across, height up)
// with the eye, the screen and the lines of sight, a view from above of the
// rows fanning out, the frame itself, and one box worked through. Every
// number in it is computed here; the same data gives the same bytes.
#include "canvas.h"
#include "demo/demo.h"
#include "effects/landscape.h"
#include "platform/desktop/desktop.h"
#include "pngout.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

constexpr int width = 800, height = 840;

// The box worked through: on the first frame its top edge is in sight,
// right of the panel.
constexpr int shownRow = 78, shownCol = 41;

// The heights' projection as a camera. Row row lies at depth d = farDepth -
// depthStep * row, so, the truncation left out, landscapeY + boxY is
// horizonY + yScale * (eyeHeight - h) / (d + eyeSetBack): an eye at height
// eyeHeight, eyeSetBack behind depth 0, looking level at a screen yScale in
// front of it (at screenDepth, the near row's depth), on which a unit of
// height is a pixel. The eye is where the sight line of landscapeY, height
// sightRise * row, reaches depth -eyeSetBack; its horizon is far above the
// screen's top.
static_assert((farDepth + eyeSetBack) % depthStep == 0 && yScale * sightRise % depthStep == 0);
constexpr int eyeHeight = sightRise * (farDepth + eyeSetBack) / depthStep;
constexpr int horizonY = landscapeY - yScale * sightRise / depthStep;
constexpr int screenDepth = yScale - eyeSetBack;

// The height the screen shows at its row y, on the screen itself.
constexpr int planeHeight(int y)
{
    return eyeHeight + horizonY - y;
}

// Where things go: the side view's depth -eyeSetBack and height 0, the
// frame's top left corner, the view from above's depth 0 and column 0.
constexpr int sideX = 40, sideY = 600;
constexpr int frameX = 464, frameY = 56;
constexpr int topX = 470, topY = 372;

int sideDepth(int depth)
{
    return sideX + eyeSetBack + depth;
}
int sideHeight(int h)
{
    return sideY - h;
}
int topDepth(int depth)
{
    return topX + depth;
}

struct Ground {
    int depth, line, column, h, s;
};

struct Shot {
    int frame, ox, oy;
};

Ground groundAt(const Demo& demo, const Shot& shot, int row, int col)
{
    const auto* map = static_cast<const uint8_t*>(demo.heightMap->pixels);
    const int line = (row + shot.oy) % mapSize;
    const int column = (col + shot.ox) % mapSize;
    return {farDepth - depthStep * row, line, column, map[line * mapSize + column],
            map[line * mapSize + (col + shot.ox + colourLookAhead) % mapSize]};
}

std::string format(const char* pattern, ...)
{
    char buffer[200];
    va_list args;
    va_start(args, pattern);
    std::vsnprintf(buffer, sizeof buffer, pattern, args);
    va_end(args);
    return buffer;
}

struct Ink {
    int paper, rule, words, quiet, screen, sight, edge, shown;
};

Ink inks(const Screen& c)
{
    return {
        .paper = RGB2value(c, 18, 22, 34),
        .rule = RGB2value(c, 84, 92, 112),
        .words = RGB2value(c, 226, 230, 238),
        .quiet = RGB2value(c, 150, 158, 176),
        .screen = RGB2value(c, 255, 255, 255),
        .sight = RGB2value(c, 100, 200, 255),
        .edge = RGB2value(c, 120, 130, 150),
        .shown = RGB2value(c, 255, 214, 64),
    };
}

// A label centred under a span of the side view's depth axis, with its
// ends marked.
void span(const Screen& c, int from, int to, int y, const std::string& label, int colour)
{
    line(c, sideDepth(from), y, sideDepth(to), y, colour);
    fill(c, sideDepth(from), y - 3, 1, 7, colour);
    fill(c, sideDepth(to), y - 3, 1, 7, colour);
    const int middle = (sideDepth(from) + sideDepth(to)) / 2;
    text(c, middle - static_cast<int>(label.size()) * glyphWidth / 2, y + 3, label, colour);
}

void drawSide(const Screen& c, const Ink& ink, const Demo& demo, const Shot& shot)
{
    text(c, 16, 32, format("From the side, along column %d", shownCol), ink.words);
    // The ground along the shown column, each row a bar as tall as its box's
    // height, in its box's colour.
    for (int row = 0; row < landscapeRows; row++) {
        const Ground g = groundAt(demo, shot, row, shownCol);
        fill(c, sideDepth(g.depth) - 1, sideHeight(g.h), depthStep, g.h + 1, boxColour(c, g.s));
    }
    line(c, sideDepth(-eyeSetBack), sideY + 1, sideDepth(farDepth), sideY + 1, ink.rule);

    const int ex = sideDepth(-eyeSetBack), ey = sideHeight(eyeHeight);
    // The lines of sight through the screen's top and bottom rows and through
    // landscapeY, each out to the ground or the far row.
    const int top = planeHeight(0), bottom = planeHeight(screenHeight - 1), landscapeTop = planeHeight(landscapeY);
    const int reach = farDepth + eyeSetBack;
    line(c, ex, ey, sideDepth(farDepth), sideHeight(eyeHeight - (eyeHeight - top) * reach / yScale), ink.edge, 4);
    line(c, ex, ey, sideDepth(yScale * eyeHeight / (eyeHeight - bottom) - eyeSetBack), sideHeight(0), ink.edge, 4);
    line(c, ex, ey, sideDepth(farDepth), sideHeight(0), ink.sight);

    // The screen, a pixel a unit of height.
    const int px = sideDepth(screenDepth);
    fill(c, px - 1, sideHeight(top), 2, top - bottom + 1, ink.screen);
    text(c, px + 8, sideHeight(top) - 8, "screen, y 0", ink.screen);
    fill(c, px - 4, sideHeight(landscapeTop), 8, 1, ink.screen);
    text(c, px + 8, sideHeight(landscapeTop) - 8, format("y %d: height sightRise * row", landscapeY), ink.sight);
    text(c, px + 8, sideHeight(bottom) - 8, format("y %d", screenHeight - 1), ink.screen);

    const Ground g = groundAt(demo, shot, shownRow, shownCol);
    const int boxTop = landscapeY + boxY(shownRow, g.h, g.depth);
    line(c, ex, ey, sideDepth(g.depth), sideHeight(g.h), ink.shown);
    outline(c, sideDepth(g.depth) - 3, sideHeight(g.h) - 2, depthStep + 4, g.h + 3, ink.shown);
    fill(c, px - 4, sideHeight(planeHeight(boxTop)), 8, 1, ink.shown);
    text(c, px + 8, sideHeight(planeHeight(boxTop)) - 8, format("y %d", boxTop), ink.shown);
    text(c, sideDepth(g.depth) + 8, sideHeight(g.h) - 16, format("row %d: depth %d, h %d", shownRow, g.depth, g.h),
         ink.shown);

    disc(c, ex, ey, 4, ink.shown);
    text(c, ex + 10, ey - 16, format("eye of the heights: height %d,", eyeHeight), ink.words);
    text(c, ex + 10, ey, format("eyeSetBack %d behind depth 0", eyeSetBack), ink.words);

    text(c, sideDepth(farDepth) - 11 * glyphWidth, sideY - 36, "row 0 first", ink.quiet);
    text(c, sideDepth(nearDepth) - 12 * glyphWidth, sideY - 36, format("row %d last", landscapeRows - 1), ink.quiet);
    for (int depth : {-eyeSetBack, 0, nearDepth, g.depth, farDepth}) {
        const std::string label = format("%d", depth);
        fill(c, sideDepth(depth), sideY + 2, 1, 4, ink.quiet);
        text(c, sideDepth(depth) - static_cast<int>(label.size()) * glyphWidth / 2, sideY + 6, label,
             depth == g.depth ? ink.shown : ink.quiet);
    }
    text(c, sideDepth(farDepth) + 6, sideY - 8, "depth", ink.quiet);
    span(c, -eyeSetBack, screenDepth, sideY + 30, format("yScale %d", yScale), ink.quiet);
    span(c, nearDepth + 1, farDepth, sideY + 30, format("rows depthStep %d apart", depthStep), ink.quiet);
}

void drawShot(const Screen& c, const Ink& ink, Demo& demo, const Shot& shot)
{
    text(c, frameX, 32, "The first frame's landscape", ink.words);
    const Screen& s = demo.screen;
    SDL_FillRect(s.surface, nullptr, 0);
    SDL_FillRect(s.surface, &demo.skyRect, RGB2value(s, skyColour.r, skyColour.g, skyColour.b));
    drawLandscape(s, demo.tables, demo.heightMap, shot.frame);
    SDL_Rect to = {frameX, frameY, 0, 0};
    SDL_UpperBlit(s.surface, nullptr, c.surface, &to);
    const Ground g = groundAt(demo, shot, shownRow, shownCol);
    const int x = landscapeX + boxX(shownCol, g.depth), y = landscapeY + boxY(shownRow, g.h, g.depth);
    outline(c, frameX + x - 2, frameY + y - 2, boxWidth + 4, boxHeight + 4, ink.shown);
    fill(c, frameX + landscapeX, frameY + screenHeight, 1, 4, ink.words);
    text(c, frameX + landscapeX - 2 * glyphWidth, frameY + screenHeight + 4, format("x %d", landscapeX), ink.quiet);
    fill(c, frameX - 4, frameY + landscapeY, 4, 1, ink.words);
    text(c, frameX - 5 * glyphWidth - 4, frameY + landscapeY - 8, format("y %d", landscapeY), ink.quiet);
}

void drawTop(const Screen& c, const Ink& ink, const Demo& demo, const Shot& shot)
{
    text(c, frameX, topY - 48, "From above: the rows fan out", ink.words);
    for (int row = 0; row < landscapeRows; row++) {
        const int depth = farDepth - depthStep * row;
        for (int col = 0; col < rowWidth(depth); col++)
            fill(c, topDepth(depth) - 1, topY + col, depthStep, 1, boxColour(c, groundAt(demo, shot, row, col).s));
    }
    const int right = screenWidth - landscapeX;
    line(c, topDepth(0), topY, topDepth(farDepth), topY + right * farDepth / xScale, ink.edge, 4);
    line(c, topDepth(0), topY, topDepth(farDepth), topY, ink.sight);
    fill(c, topDepth(screenDepth) - 1, topY, 2, right * screenDepth / xScale + 1, ink.screen);
    const Ground g = groundAt(demo, shot, shownRow, shownCol);
    line(c, topDepth(0), topY, topDepth(g.depth), topY + shownCol, ink.shown);
    disc(c, topDepth(0), topY, 3, ink.shown);
    text(c, topDepth(0) + 8, topY - 20, "eye of the widths, depth 0", ink.words);
    text(c, topDepth(farDepth) - 4 * glyphWidth, topY - 20, format("x %d", landscapeX), ink.sight);
    text(c, topDepth(nearDepth) - 9 * glyphWidth, topY + 44, "screen", ink.screen);
    text(c, topDepth(farDepth) - 5 * glyphWidth, topY + right * farDepth / xScale + 6, format("x %d", screenWidth),
         ink.edge);
    const std::string at = format("col %d: x %d", shownCol, landscapeX + boxX(shownCol, g.depth));
    text(c, topDepth(g.depth) - static_cast<int>(at.size()) * glyphWidth, topY + right * g.depth / xScale + 8, at,
         ink.shown);
    const std::string widths =
        format("rowWidth %d at depth %d, %d at %d", rowWidth(farDepth), farDepth, rowWidth(nearDepth), nearDepth);
    text(c, frameX, topY + 146, widths, ink.quiet);
}

// The formula on the left, the first frame's numbers on the right.
void worked(const Screen& c, const Ink& ink, int& y, const std::string& formula, const std::string& numbers)
{
    text(c, 16, y, formula, ink.words);
    text(c, 16 + 51 * glyphWidth, y, numbers, ink.shown);
    y += glyphHeight + 2;
}

void drawWorked(const Screen& c, const Ink& ink, const Demo& demo, const Shot& shot)
{
    const Ground g = groundAt(demo, shot, shownRow, shownCol);
    const int sx = boxX(shownCol, g.depth), sy = boxY(shownRow, g.h, g.depth);
    int y = 680;
    text(c, 16, y,
         format("Row %d, column %d of the first frame (frame counter %d: ox %d, oy %d)", shownRow, shownCol, shot.frame,
                shot.ox, shot.oy),
         ink.words);
    y += glyphHeight + 6;
    worked(c, ink, y, "depth = farDepth - depthStep * row",
           format("= %d - %d * %d = %d", farDepth, depthStep, shownRow, g.depth));
    worked(c, ink, y, format("h     = map[(col + ox) %% %d, (row + oy) %% %d]", mapSize, mapSize),
           format("= map[%d, %d] = %d", g.column, g.line, g.h));
    worked(c, ink, y, "s     = the same line, colourLookAhead columns on",
           format("= map[%d, %d] = %d", (g.column + colourLookAhead) % mapSize, g.line, g.s));
    worked(c, ink, y, "sx    = col * xScale / depth", format("= %d * %d / %d = %d", shownCol, xScale, g.depth, sx));
    worked(c, ink, y, "sy    = (sightRise * row - h) * yScale",
           format("= (%d * %d - %d) * %d", sightRise, shownRow, g.h, yScale));
    worked(c, ink, y, "        / (depth + eyeSetBack)", format("  / (%d + %d) = %d", g.depth, eyeSetBack, sy));
    worked(c, ink, y, "box   = (landscapeX + sx, landscapeY + sy)",
           format("= (%d, %d), %d x %d", landscapeX + sx, landscapeY + sy, boxWidth, boxHeight));
}

void drawPicture(const Screen& c, Demo& demo)
{
    const Ink ink = inks(c);
    fill(c, 0, 0, width, height, ink.paper);
    // The first frame's counter, as drawFrame makes it.
    const int frame = demo.frame + 2;
    const int k = frame % pathLength;
    const Shot shot = {frame, demo.tables.pathX[k], demo.tables.pathY[k]};
    text(c, 16, 8, "How the landscape is projected", ink.words);
    drawSide(c, ink, demo, shot);
    drawShot(c, ink, demo, shot);
    drawTop(c, ink, demo, shot);
    drawWorked(c, ink, demo, shot);
}

int fail(const std::string& message)
{
    std::fprintf(stderr, "newyear-projection: %s\n", message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: newyear-projection DATADIR OUT.png\n");
        return 2;
    }
    Demo demo;
    Edge edge;
    std::string error, silence;
    if (!startDemo(demo, edge, offscreenOptions(argv[1]), error, silence))
        return fail(error);
    SDL_Surface* picture = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 16, 0xF800, 0x07E0, 0x001F, 0);
    bool ok = picture != nullptr;
    if (!ok)
        error = std::string("cannot make the picture: ") + SDL_GetError();
    if (ok) {
        drawPicture(screenOf(picture), demo);
        ok = writePng(picture, argv[2], error);
        SDL_FreeSurface(picture);
    }
    stopDemo(demo, edge);
    return ok ? 0 : fail(error);
}
