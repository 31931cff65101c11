#include "text/greeting.h"

#include "assets/letters.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace {

// The byte at i continues a sequence: 10xxxxxx.
bool follows(const unsigned char* s, std::size_t size, std::size_t i, unsigned char low = 0x80,
             unsigned char high = 0xBF)
{
    return i < size && s[i] >= low && s[i] <= high;
}

// Decodes strict UTF-8: no overlong forms, no surrogates, nothing past
// U+10FFFF. On a bad sequence, false with its first byte's index in bad.
bool decode(const char* bytes, std::size_t size, std::u32string& out, std::size_t& bad)
{
    const auto* s = reinterpret_cast<const unsigned char*>(bytes);
    for (std::size_t i = 0; i < size;) {
        const unsigned char b = s[i];
        int more = 0;
        char32_t c = b;
        // The second byte's range rules out overlong forms and surrogates.
        unsigned char low = 0x80, high = 0xBF;
        if (b < 0x80) {
        } else if (b >= 0xC2 && b <= 0xDF) {
            more = 1, c = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            more = 2, c = b & 0x0F;
            low = b == 0xE0 ? 0xA0 : 0x80;
            high = b == 0xED ? 0x9F : 0xBF;
        } else if (b >= 0xF0 && b <= 0xF4) {
            more = 3, c = b & 0x07;
            low = b == 0xF0 ? 0x90 : 0x80;
            high = b == 0xF4 ? 0x8F : 0xBF;
        } else {
            bad = i;
            return false;
        }
        for (int k = 1; k <= more; k++) {
            if (!follows(s, size, i + k, k == 1 ? low : 0x80, k == 1 ? high : 0xBF)) {
                bad = i;
                return false;
            }
            c = c << 6 | (s[i + k] & 0x3F);
        }
        out.push_back(c);
        i += 1 + more;
    }
    return true;
}

// NFC for the letters we have: a combining mark joins the letter before it
// where Unicode composes the two into one we have, step by step (ι, then
// ϊ, then ΐ); a singleton becomes its canonical letter.
std::u32string compose(const std::u32string& in)
{
    std::u32string out;
    for (char32_t c : in) {
        c = canonicalLetter(c);
        const char32_t joined = out.empty() ? 0 : composeLetter(out.back(), c);
        if (joined)
            out.back() = joined;
        else
            out.push_back(c);
    }
    return out;
}

bool breaksLine(char32_t c)
{
    return c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == 0x85 || c == 0x2028 || c == 0x2029;
}

// Control characters, the bidirectional controls and marks, and the
// invisible joiners, spaces and variation selectors (an emoji's U+FE0F):
// nothing a reader would see, so nothing to show a stand-in for.
bool dropped(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x061C || (c >= 0x200B && c <= 0x200F) ||
           (c >= 0x202A && c <= 0x202E) || (c >= 0x2060 && c <= 0x2064) || (c >= 0x2066 && c <= 0x2069) ||
           (c >= 0xFE00 && c <= 0xFE0F) || c == 0xFEFF;
}

// Line breaks and tabs as spaces (CR LF is one break), the rest of what
// cannot be seen dropped, and no spaces at either end.
std::u32string clean(const std::u32string& in)
{
    std::u32string out;
    for (std::size_t i = 0; i < in.size(); i++) {
        if (breaksLine(in[i])) {
            out.push_back(' ');
            if (in[i] == '\r' && i + 1 < in.size() && in[i + 1] == '\n')
                i++;
        } else if (!dropped(in[i])) {
            out.push_back(in[i]);
        }
    }
    const std::size_t first = out.find_first_not_of(U' ');
    if (first == std::u32string::npos)
        return {};
    return out.substr(first, out.find_last_not_of(U' ') - first + 1);
}

std::string utf8(char32_t c)
{
    std::string s;
    if (c < 0x80) {
        s += static_cast<char>(c);
    } else if (c < 0x800) {
        s += static_cast<char>(0xC0 | c >> 6);
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        s += static_cast<char>(0xE0 | c >> 12);
        s += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | c >> 18);
        s += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        s += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    }
    return s;
}

}  // namespace

bool readGreeting(const char* bytes, std::size_t size, Greeting& greeting, std::string& error)
{
    greeting.length = 0;
    greeting.replaced.clear();
    std::u32string text;
    std::size_t bad = 0;
    if (!decode(bytes, size, text, bad)) {
        error = "is not UTF-8 text: byte " + std::to_string(bad + 1) + " is not valid UTF-8";
        return false;
    }
    text = clean(compose(text));
    if (text.empty()) {
        error = "has nothing to show: only spaces, line breaks or control characters";
        return false;
    }
    if (text.size() > greetingMaxLength) {
        error = "is too long: " + std::to_string(text.size()) + " characters, and the scroller takes at most " +
                std::to_string(greetingMaxLength);
        return false;
    }
    const unsigned char* space = letterGlyph(' ');
    for (int i = 0; i < greetingLeadIn; i++)
        greeting.glyphs[greeting.length++] = space;
    for (char32_t c : text) {
        const unsigned char* glyph = letterGlyph(c);
        if (!glyph) {
            glyph = standIn;
            if (greeting.replaced.find(c) == std::u32string::npos)
                greeting.replaced.push_back(c);
        }
        greeting.glyphs[greeting.length++] = glyph;
    }
    for (int i = 0; i < greetingRunOut; i++)
        greeting.glyphs[greeting.length++] = space;
    return true;
}

bool loadGreeting(const char* path, Greeting& greeting, std::string& error)
{
    const bool standardInput = std::strcmp(path, "-") == 0;
    const std::string name = standardInput ? "the text on standard input" : std::string("the text \"") + path + "\"";
    std::FILE* file = standardInput ? stdin : std::fopen(path, "rb");
    struct stat st;
    if (file && fstat(fileno(file), &st) == 0 && S_ISDIR(st.st_mode)) {
        std::fclose(file);
        error = name + " is a folder, not a file";
        return false;
    }
    if (!file) {
        error = name + " cannot be read: " + std::strerror(errno);
        return false;
    }
    // One byte past the limit tells a file that is too long.
    std::string bytes(greetingMaxBytes + 1, '\0');
    const std::size_t size = std::fread(bytes.data(), 1, bytes.size(), file);
    const bool failed = std::ferror(file);
    const int why = errno;
    if (!standardInput)
        std::fclose(file);
    if (failed) {
        error = name + " cannot be read: " + std::strerror(why);
        return false;
    }
    if (size > greetingMaxBytes) {
        error = name + " is too long: more than " + std::to_string(greetingMaxBytes) +
                " bytes, and the scroller takes at most " + std::to_string(greetingMaxLength) + " characters";
        return false;
    }
    if (!readGreeting(bytes.data(), size, greeting, error)) {
        error = name + " " + error;
        return false;
    }
    return true;
}

std::string replacedList(const Greeting& greeting)
{
    constexpr std::size_t named = 10;
    std::string list;
    for (std::size_t i = 0; i < greeting.replaced.size() && i < named; i++) {
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(greeting.replaced[i]));
        list += (i ? ", " : "") + utf8(greeting.replaced[i]) + " (" + code + ")";
    }
    if (greeting.replaced.size() > named) {
        char more[32];
        std::snprintf(more, sizeof more, " and %zu more", greeting.replaced.size() - named);
        list += more;
    }
    return list;
}
