// The greeting's letters against the character sets they must cover and
// against Unicode's own data (Debian's unicode-data package).
#include "assets/assets.h"
#include "assets/letters.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

// What the scroller shows of a glyph: rows 2..14, bits 7..1.
using Shown = std::array<unsigned char, 13>;

Shown shown(const unsigned char* glyph)
{
    Shown s{};
    for (int r = 0; r < 13; r++)
        s[r] = glyph[2 + r] & 0xFE;
    return s;
}

// The character sets a greeting may be written in, as they were asked for.
std::vector<char32_t> coveredSet()
{
    std::vector<char32_t> codes;
    const auto add = [&](char32_t first, char32_t last) {
        for (char32_t c = first; c <= last; c++)
            codes.push_back(c);
    };
    add(0x20, 0x7E);
    add(0xA0, 0xFF);
    add(0x100, 0x17F);
    add(0x218, 0x21B);
    add(0x384, 0x386);
    add(0x387, 0x387);
    add(0x388, 0x38A);
    add(0x38C, 0x38C);
    add(0x38E, 0x3A1);
    add(0x3A3, 0x3CE);
    add(0x400, 0x45F);
    add(0x490, 0x491);
    add(0x20AC, 0x20AC);
    add(0x2018, 0x201E);
    add(0x2039, 0x203A);
    add(0x2013, 0x2014);
    add(0x2026, 0x2026);
    for (char32_t c : {0x2665, 0x2764, 0x2605, 0x266A, 0x263A, 0x2744})
        codes.push_back(c);
    return codes;
}

std::string hex(char32_t c)
{
    char s[12];
    std::snprintf(s, sizeof s, "U+%04X", unsigned(c));
    return s;
}

std::string dataDir()
{
    return UNICODE_DATA_DIR;
}

struct UnicodeEntry {
    std::string category;
    std::vector<char32_t> decomposition;  // canonical only; empty for none
};

const std::map<char32_t, UnicodeEntry>& unicodeData()
{
    static const std::map<char32_t, UnicodeEntry> data = [] {
        std::map<char32_t, UnicodeEntry> d;
        std::ifstream in(dataDir() + "/UnicodeData.txt");
        std::string line;
        while (std::getline(in, line)) {
            std::vector<std::string> fields;
            std::stringstream ss(line);
            for (std::string f; std::getline(ss, f, ';');)
                fields.push_back(f);
            UnicodeEntry e{fields.at(2), {}};
            if (!fields.at(5).empty() && fields[5][0] != '<') {
                std::stringstream parts(fields[5]);
                for (std::string p; parts >> p;)
                    e.decomposition.push_back(std::stoul(p, nullptr, 16));
            }
            d[std::stoul(fields[0], nullptr, 16)] = e;
        }
        return d;
    }();
    return data;
}

std::set<char32_t> compositionExclusions()
{
    std::set<char32_t> out;
    std::ifstream in(dataDir() + "/CompositionExclusions.txt");
    std::string line;
    while (std::getline(in, line)) {
        line = line.substr(0, line.find('#'));
        if (line.find_first_not_of(" \t") != std::string::npos)
            out.insert(std::stoul(line, nullptr, 16));
    }
    return out;
}

bool isCovered(char32_t c)
{
    static const std::vector<char32_t> codes = coveredSet();
    return std::find(codes.begin(), codes.end(), c) != codes.end();
}

// ---- the glyphs ------------------------------------------------------------

// Every covered character has a glyph inside the window, with ink unless it
// is a space; printable ASCII keeps font1's own wherever that fits; anything
// else has none, and the stand-in is unlike every glyph.
TEST(Letters, EveryCoveredCharacterHasAGlyphInsideTheWindow)
{
    ASSERT_TRUE(unicodeData().size() > 30000) << "no UnicodeData.txt in " << dataDir();
    std::set<Shown> glyphs;
    for (char32_t c : coveredSet()) {
        const unsigned char* g = letterGlyph(c);
        ASSERT_NE(g, nullptr) << hex(c);
        EXPECT_EQ(g[0] | g[1] | g[15], 0) << hex(c) << " has ink outside rows 2..14";
        int bitZero = 0, ink = 0;
        for (int r = 2; r <= 14; r++) {
            bitZero |= g[r] & 1;
            ink += std::popcount(unsigned(g[r]));
        }
        EXPECT_EQ(bitZero, 0) << hex(c) << " uses bit 0";
        EXPECT_EQ(ink == 0, c == 0x20 || c == 0xA0) << hex(c);
        glyphs.insert(shown(g));
    }
    for (char32_t c = 0x20; c <= 0x7E; c++) {
        if (c != '$' && c != 'm') {
            EXPECT_EQ(letterGlyph(c), font1 + 16 * c) << "'" << char(c) << "' is not font1's own";
        }
    }
    for (char32_t c : {0x7F, 0x9F, 0x180, 0x219C, 0x37E, 0x3A2, 0x460, 0x492, 0x2015, 0x4E00, 0x1F600})
        EXPECT_EQ(letterGlyph(c), nullptr) << hex(c);
    EXPECT_EQ(standIn[0] | standIn[1] | standIn[15], 0);
    for (int r = 2; r <= 14; r++)
        EXPECT_EQ(standIn[r] & 1, 0);
    EXPECT_EQ(glyphs.count(shown(standIn)), 0u) << "the stand-in looks like a covered character";
}

// A letter with a mark never looks like its base: the base is the first
// code point of Unicode's full canonical decomposition.
TEST(Letters, EveryLetterWithAMarkDiffersFromItsBase)
{
    const auto& data = unicodeData();
    int checked = 0;
    for (char32_t c : coveredSet()) {
        const auto it = data.find(c);
        if (it == data.end() || it->second.decomposition.size() < 2)
            continue;
        char32_t base = it->second.decomposition[0];
        while (data.count(base) && !data.at(base).decomposition.empty())
            base = data.at(base).decomposition[0];
        ASSERT_TRUE(letterGlyph(c) && letterGlyph(base)) << hex(c) << " or its base has no glyph";
        EXPECT_NE(shown(letterGlyph(c)), shown(letterGlyph(base))) << hex(c) << " looks like " << hex(base);
        checked++;
    }
    EXPECT_GT(checked, 200);
}

// Within the Latin, the Greek and the Cyrillic letters no two look alike;
// across them sharing is right (Latin A, Greek Α and Cyrillic А).
TEST(Letters, NoTwoLettersOfOneAlphabetShareAGlyph)
{
    std::map<int, std::map<Shown, char32_t>> alphabets;
    for (char32_t c : coveredSet()) {
        if (unicodeData().at(c).category[0] != 'L')
            continue;
        ASSERT_NE(letterGlyph(c), nullptr) << hex(c);
        const int alphabet = c < 0x370 ? 0 : c < 0x400 ? 1 : 2;
        const auto [it, added] = alphabets[alphabet].emplace(shown(letterGlyph(c)), c);
        EXPECT_TRUE(added) << hex(c) << " looks like " << hex(it->second);
    }
    EXPECT_EQ(alphabets.size(), 3u);
}

// ---- composition for NFC ---------------------------------------------------

// Both ways: every canonical pair and singleton that gives a covered
// character is in the tables, and every entry of the tables is Unicode's.
TEST(Letters, CompositionIsUnicodesForEveryCoveredLetter)
{
    const auto& data = unicodeData();
    const std::set<char32_t> excluded = compositionExclusions();
    ASSERT_FALSE(excluded.empty()) << "no CompositionExclusions.txt in " << dataDir();
    // NFC's result for a code point whose decomposition is a single one.
    const auto singletonResult = [&](char32_t c) {
        while (data.count(c) && data.at(c).decomposition.size() == 1)
            c = data.at(c).decomposition[0];
        return c;
    };
    int pairs = 0, ones = 0;
    for (const auto& [c, e] : data) {
        if (e.decomposition.size() == 2 && isCovered(c) && !excluded.count(c)) {
            EXPECT_EQ(composeLetter(e.decomposition[0], e.decomposition[1]), c) << hex(c);
            pairs++;
        }
        if (e.decomposition.size() == 1 && isCovered(singletonResult(c))) {
            EXPECT_EQ(canonicalLetter(c), singletonResult(c)) << hex(c);
            ones++;
        }
    }
    EXPECT_EQ(size_t(pairs), compositions.size());
    EXPECT_EQ(size_t(ones), singletons.size());
    for (const Composition& k : compositions) {
        ASSERT_TRUE(data.count(k.letter)) << hex(k.letter);
        EXPECT_EQ(data.at(k.letter).decomposition, (std::vector<char32_t>{k.base, k.mark})) << hex(k.letter);
        EXPECT_FALSE(excluded.count(k.letter)) << hex(k.letter);
        EXPECT_TRUE(isCovered(k.letter)) << hex(k.letter);
    }
    for (const Singleton& s : singletons) {
        ASSERT_TRUE(data.count(s.from)) << hex(s.from);
        EXPECT_EQ(data.at(s.from).decomposition.size(), 1u) << hex(s.from);
        EXPECT_EQ(singletonResult(s.from), s.to) << hex(s.from);
    }
    // Pairs that compose to nothing covered, and code points left alone.
    EXPECT_EQ(composeLetter(U'q', 0x301), 0u);
    EXPECT_EQ(composeLetter(U'<', 0x338), 0u);
    for (char32_t c : coveredSet()) {
        if (data.at(c).decomposition.size() != 1) {
            EXPECT_EQ(canonicalLetter(c), c) << hex(c);
        }
    }
}

}  // namespace
