// The letters of a personal greeting: a glyph for every character people
// write in the Latin, Greek and Cyrillic alphabets of Europe, a few quotes,
// dashes and greeting symbols, in font1's look and format, and the canonical
// composition that NFC needs for them.
//
// Every glyph keeps to what the scroller shows of a cell: rows 2..14 and
// bits 7..1. Capitals with a mark above are drawn shorter (rows 4..11) so
// that the mark stays inside those rows. Lookups are binary searches, meant
// for start-up: the scroller expands its text before the first frame.
#pragma once

#include <span>

// The glyph for code point c, 16 bytes in font1's format: font1's own for printable ASCII unless the
// table overrides it, a new one for every other covered code point; nullptr when c is not covered.
const unsigned char* letterGlyph(char32_t c);
// Shown for any character that has no glyph.
extern const unsigned char standIn[16];

// Canonical composition for NFC, for the covered letters: base + combining mark -> precomposed letter,
// e.g. (U+0065, U+0301) -> U+00E9. 0 when the pair does not compose to a covered letter. Includes the
// two-step ones (U+03CA + U+0301 -> U+0390) as pairs of their own.
char32_t composeLetter(char32_t base, char32_t mark);
// The one code point NFC maps a singleton to, when that is a covered letter (U+2126 OHM SIGN -> U+03A9,
// U+212B ANGSTROM SIGN -> U+00C5, U+212A KELVIN SIGN -> U+004B, U+037E -> U+003B, U+0387 -> U+00B7, the
// Greek oxia forms U+1F71 etc. -> their tonos letters, ...); otherwise c itself.
char32_t canonicalLetter(char32_t c);

// The tables behind those lookups, each sorted by its first member.
struct Letter {
    char32_t code;
    unsigned char glyph[16];
};
// Glyphs drawn or composed here, the overrides of printable ASCII included.
extern const std::span<const Letter> letters;

// Characters shown with a glyph of font1's, at its code page 437 index.
struct Borrowed {
    char32_t code;
    unsigned char font1Index;
};
extern const std::span<const Borrowed> borrowed;

// Characters that look exactly like another covered one: Cyrillic and Greek
// letters shaped as Latin ones, the no-break space, the soft hyphen.
struct SameAs {
    char32_t code, as;
};
extern const std::span<const SameAs> sameAs;

// Sorted by base, then mark.
struct Composition {
    char32_t base, mark, letter;
};
extern const std::span<const Composition> compositions;

struct Singleton {
    char32_t from, to;
};
extern const std::span<const Singleton> singletons;
