// The wave scroller: the built-in text moves right to left near the bottom
// of the screen at double height, with a vertical colour gradient and a
// wobble of its rows.
//
// Characters do not go to the screen directly. Every third frame one glyph
// is expanded into columns 189..195 of scrollBuffer; every frame columns
// 0..194 take the value three columns to their right and are plotted.
// Column 195 is never shifted and 196..197 stay empty, so the last glyph's
// right column lingers there until the next glyph overwrites it.
#pragma once

#include <cstdint>

constexpr int scrollColumns = 198;
constexpr int scrollRows = 26;

// [column][row]; 0 marks an empty cell.
extern int32_t scrollBuffer[scrollColumns][scrollRows];
// Index into scrollText of the next character to expand.
extern int textCursor;

void clearScroller();
// Expands the next character, on every third frame only.
void stepScroller(int frame);
// Moves the buffer three columns left and plots it.
void drawScroller(int frame);
