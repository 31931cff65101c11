// The demo's built-in data: the 8x16 bitmap font, the scroll text and the
// application icon's pixel art.
#pragma once

// 256 glyphs of 16 bytes in the PC code page 437 layout: glyph c starts at
// c * 16, one byte per pixel row from the top, bit 7 the leftmost pixel.
extern const unsigned char font1[4096];

// The scroller's text: 915 characters (codes 3 and 32..122) and a NUL.
extern const char scrollText[916];

// The application icon, drawn twice by hand: each row is a string of palette
// keys, row 0 at the top. '.' is transparent, everything else is opaque.
struct IconColour {
    char key;
    unsigned char r, g, b, a;
};
extern const IconColour iconPalette[];
extern const int iconPaletteSize;
extern const char icon16[16][17];
extern const char icon32[32][33];
