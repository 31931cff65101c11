#include "assets/assets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Glyph = std::array<unsigned char, 16>;

Glyph glyph(unsigned char c)
{
    Glyph g{};
    std::memcpy(g.data(), font1 + c * 16, 16);
    return g;
}

// What the scroller can show of a glyph: rows 2..14, bits 7..1.
constexpr int kFirstShownRow = 2;
constexpr int kLastShownRow = 14;
constexpr unsigned char kShownBits = 0xFE;

std::vector<unsigned char> shownPart(unsigned char c)
{
    std::vector<unsigned char> rows;
    for (int r = kFirstShownRow; r <= kLastShownRow; ++r)
        rows.push_back(font1[c * 16 + r] & kShownBits);
    return rows;
}

// Rows holding any ink, as [first, last]; {-1, -1} for an empty glyph.
std::pair<int, int> inkRows(unsigned char c)
{
    int first = -1, last = -1;
    for (int r = 0; r < 16; ++r)
        if (font1[c * 16 + r] != 0) {
            if (first < 0)
                first = r;
            last = r;
        }
    return {first, last};
}

std::string_view text()
{
    return std::string_view(scrollText, 915);
}

std::set<unsigned char> textCharacters()
{
    std::set<unsigned char> used;
    for (char ch : text())
        used.insert(static_cast<unsigned char>(ch));
    return used;
}

std::string hexRows(const Glyph& g)
{
    std::string s;
    char buf[4];
    for (unsigned char v : g) {
        std::snprintf(buf, sizeof buf, "%02X ", v);
        s += buf;
    }
    return s;
}

void expectGlyph(unsigned char c, Glyph expected)
{
    EXPECT_EQ(hexRows(glyph(c)), hexRows(expected)) << "glyph " << int(c);
}

// ---- the glyphs other code relies on exactly ------------------------------

TEST(Font, GlyphZeroIsASingleDot)
{
    expectGlyph(0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x10, 0, 0, 0, 0});
}

TEST(Font, HeartGlyph)
{
    expectGlyph(3, {0, 0, 0, 0, 0x6C, 0xFE, 0xFE, 0xFE, 0xFE, 0x7C, 0x38, 0x10, 0, 0, 0, 0});
}

TEST(Font, CapitalA)
{
    expectGlyph('A', {0, 0, 0x38, 0x6C, 0xC6, 0xC6, 0xC6, 0xFE, 0xC6, 0xC6, 0xC6, 0xC6, 0, 0, 0, 0});
}

TEST(Font, Dollar)
{
    expectGlyph('$', {0x18, 0x18, 0x7C, 0xC6, 0xC0, 0xC0, 0x7C, 0x06, 0x06, 0x06, 0xC6, 0x7C, 0x18, 0x18, 0, 0});
}

TEST(Font, SmallM)
{
    expectGlyph('m', {0, 0, 0, 0, 0, 0xFE, 0xFF, 0xDB, 0xDB, 0xDB, 0xDB, 0xDB, 0, 0, 0, 0});
}

// ---- the glyphs as the scroller shows them ---------------------------------

TEST(Font, OnlySmallMReachesTheHiddenColumnInTheText)
{
    for (unsigned char c : textCharacters()) {
        bool usesBitZero = false;
        for (int r = kFirstShownRow; r <= kLastShownRow; ++r)
            usesBitZero |= (font1[c * 16 + r] & 0x01) != 0;
        EXPECT_EQ(usesBitZero, c == 'm') << "character " << int(c);
    }
}

TEST(Font, EveryCharacterOfTheTextShowsInTheScrollerWindow)
{
    for (unsigned char c : textCharacters()) {
        if (c == ' ')
            continue;
        auto rows = shownPart(c);
        int pixels = 0;
        for (unsigned char v : rows)
            pixels += std::popcount(v);
        EXPECT_GE(pixels, 4) << "character " << int(c) << " is (nearly) blank";
    }
}

TEST(Font, SpaceIsBlank)
{
    EXPECT_EQ(inkRows(' '), std::make_pair(-1, -1));
}

TEST(Font, LettersAndDigitsLookDifferentInTheScroller)
{
    std::string chars;
    for (char c = 'a'; c <= 'z'; ++c)
        chars += c;
    for (char c = 'A'; c <= 'Z'; ++c)
        chars += c;
    for (char c = '0'; c <= '9'; ++c)
        chars += c;
    for (size_t i = 0; i < chars.size(); ++i)
        for (size_t j = i + 1; j < chars.size(); ++j)
            EXPECT_NE(shownPart(chars[i]), shownPart(chars[j])) << "'" << chars[i] << "' and '" << chars[j] << "'";
}

TEST(Font, AllPrintableCharactersLookDifferentInTheScroller)
{
    for (int a = 33; a <= 126; ++a)
        for (int b = a + 1; b <= 126; ++b)
            EXPECT_NE(shownPart(a), shownPart(b)) << "codes " << a << " and " << b;
}

// The scroller sets characters nine columns apart, the seven it shows and
// two blank ones. Small letters and digits carry a blank left column as
// well, so that letters in a word keep three columns between them, as wide
// as their strokes are thick. Only the wide m and w fill the whole cell.
TEST(Font, SmallLettersAndDigitsKeepAGapOnTheLeft)
{
    std::string chars = "0123456789";
    for (char c = 'a'; c <= 'z'; ++c)
        if (c != 'm' && c != 'w')
            chars += c;
    for (char c : chars) {
        unsigned char leftColumn = 0;
        for (int r = kFirstShownRow; r <= kLastShownRow; ++r)
            leftColumn |= font1[static_cast<unsigned char>(c) * 16 + r] & 0x80;
        EXPECT_EQ(leftColumn, 0) << c;
    }
}

TEST(Font, CapitalsAndDigitsStandOnTheBaseline)
{
    std::string chars;
    for (char c = 'A'; c <= 'Z'; ++c)
        chars += c;
    for (char c = '0'; c <= '9'; ++c)
        chars += c;
    for (char c : chars) {
        auto [top, bottom] = inkRows(c);
        EXPECT_EQ(top, 2) << c;
        // Q's tail may dip just below.
        EXPECT_EQ(bottom, c == 'Q' ? 12 : 11) << c;
    }
}

TEST(Font, SmallLettersShareXHeightAscendersAndDescenders)
{
    const std::string_view ascenders = "bdhkl";
    const std::string_view descenders = "gjpqy";
    for (char c = 'a'; c <= 'z'; ++c) {
        auto [top, bottom] = inkRows(c);
        bool asc = ascenders.find(c) != std::string_view::npos;
        bool desc = descenders.find(c) != std::string_view::npos;
        if (asc)
            EXPECT_EQ(top, 2) << c;
        else if (c == 'i' || c == 'j' || c == 'f' || c == 't')
            EXPECT_LT(top, 5) << c;  // dots and short ascenders
        else
            EXPECT_EQ(top, 5) << c;
        if (desc)
            EXPECT_EQ(bottom, 14) << c;
        else
            EXPECT_EQ(bottom, 11) << c;
    }
}

// ---- the rest of the table -------------------------------------------------

TEST(Font, EveryGlyphButSpaceAndNoBreakSpaceHasInk)
{
    for (int c = 0; c < 256; ++c) {
        if (c == 32 || c == 255)
            continue;
        EXPECT_NE(inkRows(c).first, -1) << "glyph " << c << " is blank";
    }
    EXPECT_EQ(inkRows(255), std::make_pair(-1, -1));
}

TEST(Font, BlocksAndShadesFillInOrder)
{
    auto ink = [](int c) {
        int n = 0;
        for (unsigned char v : glyph(c))
            n += std::popcount(v);
        return n;
    };
    EXPECT_EQ(ink(219), 128);
    EXPECT_EQ(ink(220), 64);
    EXPECT_EQ(ink(221), 64);
    EXPECT_EQ(ink(222), 64);
    EXPECT_EQ(ink(223), 64);
    EXPECT_LT(ink(176), ink(177));
    EXPECT_LT(ink(177), ink(178));
    EXPECT_LT(ink(178), ink(219));
    EXPECT_EQ(glyph(220)[15], 0xFF);
    EXPECT_EQ(glyph(223)[0], 0xFF);
    EXPECT_EQ(glyph(221)[0] & 0x80, 0x80);
    EXPECT_EQ(glyph(222)[0] & 0x01, 0x01);
}

// Box-drawing glyphs must run into their neighbours on exactly the sides the
// code page gives them arms on, or frames drawn with them break apart.
TEST(Font, BoxDrawingArmsReachTheCellEdges)
{
    struct Arms {
        int code;
        bool up, down, left, right;
    };
    const Arms table[] = {
        {179, 1, 1, 0, 0}, {180, 1, 1, 1, 0}, {181, 1, 1, 1, 0}, {182, 1, 1, 1, 0}, {183, 0, 1, 1, 0},
        {184, 0, 1, 1, 0}, {185, 1, 1, 1, 0}, {186, 1, 1, 0, 0}, {187, 0, 1, 1, 0}, {188, 1, 0, 1, 0},
        {189, 1, 0, 1, 0}, {190, 1, 0, 1, 0}, {191, 0, 1, 1, 0}, {192, 1, 0, 0, 1}, {193, 1, 0, 1, 1},
        {194, 0, 1, 1, 1}, {195, 1, 1, 0, 1}, {196, 0, 0, 1, 1}, {197, 1, 1, 1, 1}, {198, 1, 1, 0, 1},
        {199, 1, 1, 0, 1}, {200, 1, 0, 0, 1}, {201, 0, 1, 0, 1}, {202, 1, 0, 1, 1}, {203, 0, 1, 1, 1},
        {204, 1, 1, 0, 1}, {205, 0, 0, 1, 1}, {206, 1, 1, 1, 1}, {207, 1, 0, 1, 1}, {208, 1, 0, 1, 1},
        {209, 0, 1, 1, 1}, {210, 0, 1, 1, 1}, {211, 1, 0, 0, 1}, {212, 1, 0, 0, 1}, {213, 0, 1, 0, 1},
        {214, 0, 1, 0, 1}, {215, 1, 1, 1, 1}, {216, 1, 1, 1, 1}, {217, 1, 0, 1, 0}, {218, 0, 1, 0, 1},
    };
    for (const Arms& a : table) {
        Glyph g = glyph(a.code);
        bool left = false, right = false;
        for (unsigned char v : g) {
            left |= (v & 0x80) != 0;
            right |= (v & 0x01) != 0;
        }
        EXPECT_EQ(g[0] != 0, a.up) << a.code;
        EXPECT_EQ(g[15] != 0, a.down) << a.code;
        EXPECT_EQ(left, a.left) << a.code;
        EXPECT_EQ(right, a.right) << a.code;
    }
    // Double lines are two strokes, single ones one.
    EXPECT_EQ(std::popcount(unsigned(glyph(186)[0])), 2 * std::popcount(unsigned(glyph(179)[0])));
    EXPECT_NE(glyph(186)[0], glyph(179)[0]);
}

// ---- the scroll text -------------------------------------------------------

struct Section {
    size_t begin, length;
};
// Where each part of the text lies; the scroller's timing depends on it.
constexpr Section kLeadIn{0, 30}, kEnglish{30, 155}, kPause1{185, 16}, kTurkish{201, 287}, kPause2{488, 15},
    kHearts{503, 6}, kCredits{509, 315}, kPause3{824, 15}, kClosing{839, 50}, kRunOut{889, 26};

std::string_view part(Section s)
{
    return text().substr(s.begin, s.length);
}

TEST(ScrollText, Is915CharactersLong)
{
    EXPECT_EQ(std::strlen(scrollText), 915u);
    EXPECT_EQ(scrollText[915], '\0');
}

TEST(ScrollText, UsesOnlyHeartsAndCodes32To122)
{
    for (size_t i = 0; i < 915; ++i) {
        unsigned char c = scrollText[i];
        EXPECT_TRUE(c == 3 || (c >= 32 && c <= 122)) << "code " << int(c) << " at " << i;
    }
}

TEST(ScrollText, PausesAreExactRunsOfSpaces)
{
    for (Section s : {kLeadIn, kPause1, kPause2, kPause3, kRunOut}) {
        EXPECT_EQ(part(s).find_first_not_of(' '), std::string_view::npos) << "pause at " << s.begin;
        // The run must not be longer than intended: bounded by non-spaces.
        if (s.begin > 0) {
            EXPECT_NE(scrollText[s.begin - 1], ' ') << s.begin;
        }
        if (s.begin + s.length < 915) {
            EXPECT_NE(scrollText[s.begin + s.length], ' ') << s.begin;
        }
    }
}

TEST(ScrollText, MessagesFillTheirWholeSection)
{
    for (Section s : {kEnglish, kTurkish, kClosing}) {
        std::string_view p = part(s);
        EXPECT_NE(p.front(), ' ') << s.begin;
        EXPECT_NE(p.back(), ' ') << s.begin;
        // No pauses hidden inside a message.
        EXPECT_EQ(p.find("  "), std::string_view::npos) << s.begin;
        EXPECT_EQ(p.find('\003'), std::string_view::npos) << s.begin;
    }
    std::string_view credits = part(kCredits);
    EXPECT_EQ(credits.front(), ' ');
    EXPECT_NE(credits[1], ' ');
    EXPECT_NE(credits.back(), ' ');
    EXPECT_EQ(credits.find("  "), std::string_view::npos);
}

TEST(ScrollText, SixHeartsAndNoOthers)
{
    EXPECT_EQ(part(kHearts), std::string_view("\003\003\003\003\003\003"));
    EXPECT_EQ(std::count(text().begin(), text().end(), '\003'), 6);
}

TEST(ScrollText, TurkishUsesDollarForSCedillaOnlyThere)
{
    EXPECT_NE(part(kTurkish).find('$'), std::string_view::npos);
    for (Section s : {kEnglish, kCredits, kClosing})
        EXPECT_EQ(part(s).find('$'), std::string_view::npos) << s.begin;
}

TEST(ScrollText, CreditsNameTheTeam)
{
    EXPECT_NE(part(kCredits).find("the newyear team"), std::string_view::npos);
}

TEST(ScrollText, GreetsTheComingYear)
{
    EXPECT_NE(part(kEnglish).find("2027"), std::string_view::npos);
    EXPECT_NE(part(kTurkish).find("2027"), std::string_view::npos);
}

}  // namespace
