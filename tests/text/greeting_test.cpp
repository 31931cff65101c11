#include "text/greeting.h"

#include "assets/letters.h"

#include <gtest/gtest.h>
#include <string>

namespace {

// The characters between the lead-in and the run-out, as the glyphs the
// scroller sets.
std::basic_string<const unsigned char*> words(const Greeting& g)
{
    return {g.glyphs + greetingLeadIn, g.glyphs + g.length - greetingRunOut};
}

std::basic_string<const unsigned char*> glyphsOf(const std::u32string& text)
{
    std::basic_string<const unsigned char*> out;
    for (char32_t c : text)
        out.push_back(letterGlyph(c));
    return out;
}

struct Read {
    bool ok;
    std::string error;
};

Read read(const std::string& bytes, Greeting& g)
{
    std::string error;
    const bool ok = readGreeting(bytes.data(), bytes.size(), g, error);
    return {ok, error};
}

}  // namespace

TEST(Greeting, normalisedCleanedAndFramedBySpaces)
{
    static Greeting g;
    // e + combining acute is é; ι + diaeresis + acute is ΐ, in two steps;
    // the ohm sign is omega. CR LF is one break, tabs and breaks are spaces,
    // controls and bidirectional controls go, and so do the spaces at the
    // ends.
    const std::string text = "  \xEF\xBB\xBF"
                             "e\xCC\x81\r\n\xCE\xB9\xCC\x88\xCC\x81\t\xE2\x84\xA6"
                             "a\x01\x7F"
                             "\xE2\x80\xAE"
                             "b\xE2\x81\xA6"
                             "c\xC2\x85"
                             "d\n\n";
    ASSERT_TRUE(read(text, g).ok);
    EXPECT_EQ(words(g), glyphsOf(U"\u00E9 \u0390 \u03A9abc d"));
    EXPECT_TRUE(g.replaced.empty());
    ASSERT_EQ(g.length, greetingLeadIn + 10 + greetingRunOut);
    for (int i : {0, greetingLeadIn - 1, g.length - greetingRunOut, g.length - 1})
        EXPECT_EQ(g.glyphs[i], letterGlyph(' ')) << i;
}

TEST(Greeting, charactersWithoutALetterShowTheStandInAndAreNamedOnce)
{
    static Greeting g;
    // An emoji with its variation selector, a Chinese character, the emoji
    // again, and a combining mark that composes with nothing.
    ASSERT_TRUE(read("a\xF0\x9F\x98\x80\xEF\xB8\x8F\xE4\xB8\xAD\xF0\x9F\x98\x80"
                     "b\xCC\xA3",
                     g)
                    .ok);
    EXPECT_EQ(words(g), (std::basic_string<const unsigned char*>{letterGlyph('a'), standIn, standIn, standIn,
                                                                 letterGlyph('b'), standIn}));
    EXPECT_EQ(g.replaced, U"\U0001F600\u4E2D\u0323");
    EXPECT_EQ(replacedList(g), "\xF0\x9F\x98\x80 (U+1F600), \xE4\xB8\xAD (U+4E2D), \xCC\xA3 (U+0323)");

    std::string many;
    for (char32_t c = 0x4E00; c < 0x4E0C; c++)
        many += std::string{static_cast<char>(0xE4), static_cast<char>(0xB8), static_cast<char>(0x80 | (c & 0x3F))};
    ASSERT_TRUE(read(many, g).ok);
    EXPECT_EQ(g.replaced.size(), 12u);
    EXPECT_TRUE(replacedList(g).ends_with("(U+4E09) and 2 more")) << replacedList(g);
}

TEST(Greeting, refusedWithOneLineWhenBrokenEmptyOrTooLong)
{
    static Greeting g;
    const struct {
        std::string bytes, error;
    } cases[] = {
        {"ok \xC3", "byte 4 "},              // cut short at the end
        {"a\x80", "byte 2 "},                // a continuation with no lead
        {"ab\xC0\xAF", "byte 3 "},           // an overlong '/'
        {"\xE0\x80\xAF", "byte 1 "},         // an overlong three-byte form
        {"x\xED\xA0\x80", "byte 2 "},        // a surrogate
        {"xyz\xF4\x90\x80\x80", "byte 4 "},  // past U+10FFFF
        {"\xF5\x80\x80\x80", "byte 1 "},     // no such lead byte
        {"Gr\xFC\xC3\x9F"
         "e",
         "byte 3 "},                                      // Latin-1, not UTF-8
        {"", "nothing to show"},                          // empty
        {" \t\r\n\x01\xE2\x80\xAE \xC2\xA0", ""},         // NBSP is a character of its own
        {" \t\r\n\x01\xE2\x80\xAE ", "nothing to show"},  // only what cannot be seen
        {std::string(2001, 'x'), "2001 characters"},
        {std::string(1000, 'e') + std::string(1001, 'x'), "2001 characters"},
    };
    for (const auto& c : cases) {
        const Read r = read(c.bytes, g);
        EXPECT_EQ(r.ok, c.error.empty()) << c.bytes << ": " << r.error;
        EXPECT_NE(r.error.find(c.error), std::string::npos) << r.error;
        EXPECT_EQ(r.error.find('\n'), std::string::npos);
    }
    // Composed marks count once: 2000 letters fit, however they were typed.
    std::string composed;
    for (int i = 0; i < greetingMaxLength; i++)
        composed += "e\xCC\x81";
    ASSERT_TRUE(read(composed, g).ok) << read(composed, g).error;
    EXPECT_EQ(g.length, greetingLeadIn + greetingMaxLength + greetingRunOut);
}
