// A personal greeting: the sender's own words for the scroller, in place of
// the built-in text.
//
// The words come as UTF-8. They are normalised to NFC (an e followed by a
// combining acute is é), line breaks and tabs become spaces, other control
// characters and the bidirectional controls are dropped, and the spaces at
// either end go. What is left, 1 to greetingMaxLength characters, is looked
// up once, at start-up, in the letters the scroller has (assets/letters.h):
// a character with no letter is shown as the stand-in glyph and named in
// replaced. The scroller then only steps through glyphs.
//
// It scrolls as the built-in text does: greetingLeadIn spaces first, so the
// words enter from the right edge, and greetingRunOut after, so the last
// word leaves the screen before they start again.
#pragma once

#include <cstddef>
#include <string>

constexpr int greetingMaxLength = 2000;
constexpr int greetingLeadIn = 30;
constexpr int greetingRunOut = 26;
// More than this many bytes cannot clean down to greetingMaxLength
// characters of any use: a longer file is refused unread.
constexpr std::size_t greetingMaxBytes = 65536;

struct Greeting {
    // The glyph of every character the scroller sets, in font1's format,
    // lead-in and run-out included.
    const unsigned char* glyphs[greetingLeadIn + greetingMaxLength + greetingRunOut];
    int length = 0;
    // The characters shown with the stand-in, each once, in the order they
    // first come.
    std::u32string replaced;
};

// Cleans size bytes of UTF-8 into greeting. False, with one line in error,
// when they are not UTF-8 (naming the byte, counted from 1), when nothing is
// left to show, or when more than greetingMaxLength characters are.
bool readGreeting(const char* bytes, std::size_t size, Greeting& greeting, std::string& error);

// Reads the file at path ("-": standard input) into greeting, as
// readGreeting; the lines name the file.
bool loadGreeting(const char* path, Greeting& greeting, std::string& error);

// The characters in replaced, for a line that names them: each as itself
// and as U+XXXX, the first ten, then how many more.
std::string replacedList(const Greeting& greeting);
