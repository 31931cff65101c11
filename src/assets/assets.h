// The demo's built-in data: the 8x16 bitmap font and the scroll text.
#pragma once

// 256 glyphs of 16 bytes in the PC code page 437 layout: glyph c starts at
// c * 16, one byte per pixel row from the top, bit 7 the leftmost pixel.
extern const unsigned char font1[4096];

// The scroller's text: 915 characters (codes 3 and 32..122) and a NUL.
extern const char scrollText[916];
