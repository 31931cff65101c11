#include "effects/scroller.h"

#include "assets/assets.h"
#include "assets/letters.h"
#include "offscreen.h"

#include <cstring>
#include <string>

class WaveScroller : public Offscreen {
protected:
    void SetUp() override
    {
        Offscreen::SetUp();
        clearScroller(scroller);
    }
    // Points the cursor at the first occurrence of c in the text.
    void cursorAt(char c)
    {
        const char* p = std::strchr(scrollText, c);
        ASSERT_NE(p, nullptr) << "'" << c << "' is not in the text";
        textCursor = static_cast<int>(p - scrollText);
    }
    bool bufferEmpty() const
    {
        for (const auto& column : scrollBuffer)
            for (int32_t cell : column)
                if (cell != 0)
                    return false;
        return true;
    }
    void step(int frame) { stepScroller(scroller, screen, frame); }
    void draw(int frame) { drawScroller(scroller, screen, tables, frame); }
    Scroller scroller;
    int32_t (&scrollBuffer)[scrollColumns][scrollRows] = scroller.scrollBuffer;
    int& textCursor = scroller.textCursor;
};

TEST_F(WaveScroller, textStepRunsOnEveryThirdFrameFrom55)
{
    cursorAt('A');
    const int start = textCursor;
    step(53);
    step(57);
    EXPECT_EQ(textCursor, start);
    EXPECT_TRUE(bufferEmpty());
    step(55);
    EXPECT_EQ(textCursor, start + 1);
    EXPECT_FALSE(bufferEmpty());
    step(61);
    EXPECT_EQ(textCursor, start + 2);
}

TEST_F(WaveScroller, expandsAWithItsGradient)
{
    cursorAt('A');
    step(55);
    // Buffer row 0 is glyph row 2, 0x38: three set columns in the middle.
    const int32_t row0[7] = {0, 0, 0x4CF3, 0x4CF3, 0x4CF3, 0, 0};
    for (int p = 0; p < 7; p++) {
        EXPECT_EQ(scrollBuffer[189 + p][0], row0[p]) << "column " << 189 + p;
        // Row 1 repeats the glyph row one shade further down the gradient.
        EXPECT_EQ(scrollBuffer[189 + p][1] != 0, row0[p] != 0) << "column " << 189 + p;
    }
    EXPECT_EQ(scrollBuffer[191][1], 0x5514);
    // Rows 24 and 25 are glyph row 14, empty for 'A'.
    for (int p = 0; p < 7; p++) {
        EXPECT_EQ(scrollBuffer[189 + p][24], 0);
        EXPECT_EQ(scrollBuffer[189 + p][25], 0);
    }
    // The columns right of the glyph were never written.
    EXPECT_EQ(scrollBuffer[196][0], 0);
    EXPECT_EQ(scrollBuffer[197][10], 0);
}

TEST_F(WaveScroller, bottomRowColourOnADescender)
{
    // Some letter of the text reaches glyph row 14: 'g', 'p', 'q' or 'y'.
    const char* descender = std::strpbrk(scrollText, "gpqy");
    ASSERT_NE(descender, nullptr);
    textCursor = static_cast<int>(descender - scrollText);
    const unsigned char bits = font1[static_cast<unsigned char>(*descender) * 16 + 14];
    ASSERT_NE(bits & 0xFE, 0) << "'" << *descender << "' has no pixel in glyph row 14";
    step(55);
    for (int p = 0; p < 7; p++)
        EXPECT_EQ(scrollBuffer[189 + p][25], (bits >> (7 - p)) & 1 ? 0xFE9A : 0);
}

TEST_F(WaveScroller, mLosesItsRightmostColumn)
{
    cursorAt('m');
    step(55);
    // Glyph row 7, 0xDB, in buffer rows 10 and 11: bit 0 is not shown.
    const bool row[7] = {true, true, false, true, true, false, true};
    for (int j : {10, 11})
        for (int p = 0; p < 7; p++)
            EXPECT_EQ(scrollBuffer[189 + p][j] != 0, row[p]) << "column " << 189 + p << " row " << j;
}

TEST_F(WaveScroller, nulIsADotThenTheTextRestarts)
{
    textCursor = 915;
    ASSERT_EQ(scrollText[915], '\0');
    step(55);
    EXPECT_EQ(textCursor, 0);
    // Glyph 0 has one dot, row 11 bit 4: buffer rows 18 and 19, column 192.
    int set = 0;
    for (int i = 189; i < 196; i++)
        for (int j = 0; j < scrollRows; j++)
            set += scrollBuffer[i][j] != 0;
    EXPECT_EQ(set, 2);
    EXPECT_NE(scrollBuffer[192][18], 0);
    EXPECT_NE(scrollBuffer[192][19], 0);
}

TEST_F(WaveScroller, shiftsThreeColumnsAndWobbles)
{
    cursorAt('A');
    step(55);
    draw(55);
    // Column 191 moved to 188: x 318, row 0 lifted by waveTable[5] = 2.
    EXPECT_EQ(scrollBuffer[188][0], 0x4CF3);
    EXPECT_EQ(scrollBuffer[191][0], 0);
    EXPECT_EQ(pixel(318, 202), 0x4CF3);
    EXPECT_EQ(pixel(318, 200), 0);
    // A new glyph shows only its left columns, at x 316..319.
    for (int y = 190; y < 240; y++)
        for (int x = 130; x < 316; x++)
            ASSERT_EQ(pixel(x, y), 0) << x << "," << y;
}

TEST_F(WaveScroller, lastColumnLingersUntilTheNextGlyph)
{
    for (int j = 0; j < scrollRows; j++)
        scrollBuffer[195][j] = 0x1234;
    draw(55);
    draw(57);
    // Column 195 is never shifted: its copies reach 189, shown at x 319.
    EXPECT_EQ(scrollBuffer[195][0], 0x1234);
    EXPECT_EQ(scrollBuffer[192][0], 0x1234);
    EXPECT_EQ(scrollBuffer[189][0], 0x1234);
    EXPECT_EQ(scrollBuffer[196][0], 0);
    EXPECT_EQ(pixel(319, 200 + tables.waveTable[57 % 50]), 0x1234);
}

TEST_F(WaveScroller, leadingSpacesKeepTheScrollerEmpty)
{
    int frame = 53;
    int steps = 0;
    while (steps < 30) {
        frame += 2;
        if ((frame / 2) % 3 == 0)
            steps++;
        step(frame);
        draw(frame);
    }
    EXPECT_EQ(textCursor, 30);
    EXPECT_EQ(count(0), 320 * 240);
    frame += 6;
    step(frame);
    draw(frame);
    EXPECT_GT(320 * 240 - count(0), 0);
}

TEST_F(WaveScroller, aGreetingSetsItsOwnGlyphsThenStartsAgain)
{
    static Greeting greeting;
    std::string error;
    ASSERT_TRUE(readGreeting("A\xC3\xA9", 3, greeting, error)) << error;
    clearScroller(scroller, &greeting);
    int frame = 55;
    for (int i = 0; i < greetingLeadIn; i++, frame += 6)
        step(frame);
    EXPECT_TRUE(bufferEmpty());
    // 'A' as the built-in text sets it, then é from the new letters.
    step(frame);
    EXPECT_EQ(scrollBuffer[191][0], 0x4CF3);
    EXPECT_EQ(scrollBuffer[189][0], 0);
    step(frame += 6);
    const unsigned char* e = letterGlyph(U'\u00E9');
    for (int j = 0; j < scrollRows; j++)
        for (int p = 0; p < 7; p++)
            ASSERT_EQ(scrollBuffer[189 + p][j] != 0, (e[2 + j / 2] >> (7 - p) & 1) != 0) << p << "," << j;
    for (int i = 0; i < greetingRunOut; i++)
        step(frame += 6);
    EXPECT_EQ(textCursor, 0);
}
