// The wave scroller: the built-in text, or a personal greeting, moves right
// to left near the bottom of the screen at double height, with a vertical
// colour gradient and a wobble of its rows.
//
// Characters do not go to the screen directly. Every third frame one glyph
// is expanded into columns 189..195 of scrollBuffer; every frame columns
// 0..194 take the value three columns to their right and are plotted.
// Column 195 is never shifted and 196..197 stay empty, so the last glyph's
// right column lingers there until the next glyph overwrites it.
#pragma once

#include "effects/tables.h"
#include "render/render.h"
#include "text/greeting.h"

#include <cstdint>

constexpr int scrollColumns = 198;
constexpr int scrollRows = 26;

struct Scroller {
    // [column][row]; 0 marks an empty cell.
    int32_t scrollBuffer[scrollColumns][scrollRows];
    // Index into the text of the next character to expand.
    int textCursor;
    // The sender's words, set through in place of the built-in text.
    const Greeting* greeting = nullptr;
};

// Empties the buffer and points the cursor at the start of the text: the
// greeting's, or the built-in scrollText when greeting is null.
void clearScroller(Scroller& scroller, const Greeting* greeting = nullptr);
// Expands the next character, on every third frame only.
void stepScroller(Scroller& scroller, const Screen& screen, int frame);
// Moves the buffer three columns left and plots it.
void drawScroller(Scroller& scroller, const Screen& screen, const Tables& tables, int frame);

// The colour of the text in buffer row 0..25: red rises from 78 at the top
// to 253 at the bottom, green and blue together from 158 to 208.
int textColour(const Screen& screen, int row);
