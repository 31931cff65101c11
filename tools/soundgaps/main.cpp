// newyear-soundgaps FILE: where the sound in a recording starts and ends,
// and the runs of exact digital silence of 5 ms or more between, which a
// late mixing thread leaves when the sound server runs out of samples.
// FILE is a WAV of signed 16-bit samples, as parec writes it, or headerless
// signed 16-bit stereo at 44100 Hz, as SDL's disk audio driver writes it.
// Prints one line: start, end and length in seconds, then each gap in
// milliseconds with the whole second of the music it starts in (ms@s), and
// their sum.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

uint32_t word(const std::vector<char>& b, size_t at, int bytes)
{
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; i--)
        v = v << 8 | static_cast<unsigned char>(b[at + i]);
    return v;
}

// The samples' first byte, rate and channels. A header may give the data
// chunk a length it never reached (a recording cut off): it runs to the end.
bool readFormat(const std::vector<char>& b, size_t& data, uint32_t& rate, uint32_t& channels)
{
    data = 0, rate = 44100, channels = 2;
    if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0)
        return true;
    for (size_t at = 12; at + 8 <= b.size(); at += 8 + word(b, at + 4, 4)) {
        if (std::memcmp(&b[at], "fmt ", 4) == 0 && at + 24 <= b.size()) {
            channels = word(b, at + 10, 2);
            rate = word(b, at + 12, 4);
            if (word(b, at + 8, 2) != 1 || word(b, at + 22, 2) != 16)
                return false;
        } else if (std::memcmp(&b[at], "data", 4) == 0) {
            data = at + 8;
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: newyear-soundgaps FILE\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const bool opened = in.is_open();
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    size_t data;
    uint32_t rate, channels;
    if (!opened || !readFormat(bytes, data, rate, channels) || channels < 1 || rate < 1) {
        std::fprintf(stderr, "newyear-soundgaps: %s is not 16-bit PCM sound\n", argv[1]);
        return 1;
    }
    const size_t frameBytes = 2 * channels;
    const size_t frames = (bytes.size() - data) / frameBytes;
    const auto silent = [&](size_t f) {
        for (size_t i = 0; i < frameBytes; i++)
            if (bytes[data + f * frameBytes + i])
                return false;
        return true;
    };
    size_t first = 0, last = frames;
    while (first < frames && silent(first))
        first++;
    while (last > first && silent(last - 1))
        last--;
    if (first == last) {
        std::printf("no sound\n");
        return 0;
    }
    const size_t shortest = rate * 5 / 1000;
    std::string gaps;
    size_t count = 0, total = 0;
    for (size_t f = first; f < last;) {
        size_t end = f;
        while (end < last && silent(end))
            end++;
        if (end - f >= shortest) {
            count++;
            total += end - f;
            gaps += ' ';
            gaps += std::to_string((end - f) * 1000 / rate);
            gaps += '@';
            gaps += std::to_string((f - first) / rate);
        }
        f = end > f ? end : f + 1;
    }
    std::printf("start %.3f s, end %.3f s, length %.3f s, %zu gaps (ms@s:%s), %zu ms of silence\n",
                double(first) / rate, double(last) / rate, double(last - first) / rate, count, gaps.c_str(),
                total * 1000 / rate);
    return 0;
}
