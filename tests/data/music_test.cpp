// music.dat: the module's own structure read back by hand, its length in
// seconds from its speed, tempo and order list, and a real SDL_mixer playing
// it: audibly, without clipping, and in tune.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const std::string musicPath = std::string(NEWYEAR_SOURCE_DATA) + "/music.dat";

std::vector<uint8_t> module()
{
    std::ifstream f(musicPath, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

int word(const std::vector<uint8_t>& m, size_t at)
{
    return m[at] << 8 | m[at + 1];
}

int patternCount(const std::vector<uint8_t>& m)
{
    return 1 + *std::max_element(m.begin() + 952, m.begin() + 952 + m[950]);
}

const uint8_t* cell(const std::vector<uint8_t>& m, int pattern, int row, int ch)
{
    return &m[1084 + pattern * 1024 + row * 16 + ch * 4];
}

struct Row {
    int pattern, row;
    double start, length;  // seconds
};

// Plays the order list the way a tracker does, timing every row.
std::vector<Row> rows(const std::vector<uint8_t>& m)
{
    std::vector<Row> out;
    double seconds = 0;
    int speed = 6, tempo = 125, row = 0;
    for (int pos = 0; pos < m[950];) {
        const int pattern = m[952 + pos];
        int breakTo = -1;
        for (int ch = 0; ch < 4; ++ch) {
            const uint8_t* c = cell(m, pattern, row, ch);
            const int fx = c[2] & 0x0f, param = c[3];
            if (fx == 0xf && param > 0)
                (param < 32 ? speed : tempo) = param;
            if (fx == 0xd)
                breakTo = (param >> 4) * 10 + (param & 0x0f);
            EXPECT_NE(fx, 0xb) << "position jumps are not walked here";
        }
        out.push_back({pattern, row, seconds, speed * 2.5 / tempo});
        seconds += out.back().length;
        if (breakTo >= 0 || ++row == 64) {
            ++pos;
            row = std::max(breakTo, 0);
        }
    }
    return out;
}

double songSeconds(const std::vector<uint8_t>& m)
{
    const std::vector<Row> all = rows(m);
    return all.back().start + all.back().length;
}

// Waits for a condition of the mixer's progress, polling, for at most a
// generous bound so a stuck mixer fails instead of hanging.
bool waitFor(const std::function<bool()>& done)
{
    for (int i = 0; i < 12000; ++i) {
        if (done())
            return true;
        SDL_Delay(5);
    }
    return false;
}

// The real mixer on SDL's disk driver, which writes what it plays to a raw
// file (signed 16-bit stereo at the device's own rate), as fast as it can.
std::string openDisk(const char* what)
{
    const std::string raw = (std::filesystem::temp_directory_path() /
                             ("newyear-" + std::string(what) + "-" + std::to_string(getpid()) + ".raw"))
                                .string();
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    EXPECT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
    EXPECT_EQ(Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 1024), 0) << Mix_GetError();
    return raw;
}

std::uintmax_t writtenBytes(const std::string& raw)
{
    std::error_code err;
    const std::uintmax_t n = std::filesystem::file_size(raw, err);
    return err ? 0 : n;
}

// Closes the mixer and returns what the driver wrote.
std::vector<int16_t> closeDisk(const std::string& raw)
{
    Mix_CloseAudio();
    SDL_Quit();
    std::ifstream f(raw, std::ios::binary);
    std::vector<int16_t> pcm(writtenBytes(raw) / 2);
    f.read(reinterpret_cast<char*>(pcm.data()), pcm.size() * 2);
    std::filesystem::remove(raw);
    return pcm;
}

// The driver's rate, measured: the mixer plays one second of a 441 Hz sine,
// and the file's rate is 441 times the length of one of its cycles there.
double diskRate()
{
    const std::string raw = openDisk("tone");
    int rate = 0, channels = 0;
    Uint16 format = 0;
    Mix_QuerySpec(&rate, &format, &channels);
    EXPECT_EQ(format, AUDIO_S16SYS);
    EXPECT_EQ(channels, 2);
    std::vector<int16_t> tone(2 * size_t(rate));
    for (size_t i = 0; i < tone.size(); ++i)
        tone[i] = int16_t(8000 * std::sin(2 * M_PI * 441.0 * double(i / 2) / rate));
    Mix_Chunk* chunk = Mix_QuickLoad_RAW(reinterpret_cast<Uint8*>(tone.data()), Uint32(tone.size() * 2));
    EXPECT_NE(chunk, nullptr) << Mix_GetError();
    EXPECT_NE(Mix_PlayChannel(-1, chunk, 0), -1) << Mix_GetError();
    EXPECT_TRUE(waitFor([] { return !Mix_Playing(-1); }));
    Mix_FreeChunk(chunk);
    const std::vector<int16_t> pcm = closeDisk(raw);
    // Rising zero crossings of the left channel, placed between samples.
    std::vector<double> ups;
    for (size_t i = 2; i < pcm.size(); i += 2)
        if (pcm[i - 2] < 0 && pcm[i] >= 0 && std::abs(pcm[i]) < 4000 && std::abs(pcm[i - 2]) < 4000)
            ups.push_back(i / 2 - 1 + double(-pcm[i - 2]) / (pcm[i] - pcm[i - 2]));
    if (ups.size() < 100)
        return 0;
    // Leave out the first and last cycles, where the tone starts and stops.
    const size_t a = 10, b = ups.size() - 10;
    return 441.0 * (ups[b] - ups[a]) / double(b - a);
}

// How strongly a harmonic series on f0 (in cycles per frame) sounds in a
// windowed stretch of one channel.
double harmonicPower(const std::vector<double>& x, double f0)
{
    double total = 0;
    for (int h = 1; h <= 3; ++h) {
        const double w = 2 * M_PI * h * f0, c = std::cos(w), s = std::sin(w);
        double re = 0, im = 0, pr = 1, pi = 0;
        for (double v : x) {
            re += v * pr, im += v * pi;
            const double t = pr * c - pi * s;
            pi = pr * s + pi * c, pr = t;
        }
        total += re * re + im * im;
    }
    return total;
}

// Where, within 60 cents either way of where the note should be, its
// harmonics sound strongest over a Hann window: a coarse search, then a fine
// one around the best.
double centsOff(const std::vector<int16_t>& pcm, int side, size_t from, size_t n, double f0)
{
    std::vector<double> x(n);
    for (size_t k = 0; k < n; ++k)
        x[k] = pcm[2 * (from + k) + side] * (0.5 - 0.5 * std::cos(2 * M_PI * double(k) / double(n)));
    double best = 0, bestPower = -1;
    const auto tryCents = [&](double cents) {
        const double p = harmonicPower(x, f0 * std::exp2(cents / 1200));
        if (p > bestPower)
            bestPower = p, best = cents;
    };
    for (double c = -60; c <= 60; c += 5)
        tryCents(c);
    const double coarse = best;
    for (double c = coarse - 3; c <= coarse + 3; c += 0.25)
        tryCents(c);
    return best;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

double quantile(std::vector<double> v, double q)
{
    std::sort(v.begin(), v.end());
    return v[size_t(q * double(v.size() - 1) + 0.5)];
}

}  // namespace

TEST(Music, HeaderAndSizesAgree)
{
    const std::vector<uint8_t> m = module();
    ASSERT_GT(m.size(), 1084u);
    EXPECT_EQ(std::string(m.begin() + 1080, m.begin() + 1084), "M.K.");
    const int songLength = m[950];
    ASSERT_GE(songLength, 1);
    ASSERT_LE(songLength, 128);
    for (int i = songLength; i < 128; ++i)
        EXPECT_EQ(m[952 + i], 0) << "unused order " << i;
    size_t samples = 0;
    for (int s = 0; s < 31; ++s) {
        const size_t h = 20 + s * 30;
        const int length = word(m, h + 22), loopStart = word(m, h + 26), loopLength = word(m, h + 28);
        EXPECT_LE(m[h + 25], 64);
        if (loopLength > 1) {
            EXPECT_LE(loopStart + loopLength, length) << "sample " << s + 1;
        }
        samples += 2 * size_t(length);
    }
    EXPECT_EQ(m.size(), 1084 + 1024 * size_t(patternCount(m)) + samples);
}

TEST(Music, NotesUseTheStandardPeriods)
{
    const std::vector<uint8_t> m = module();
    const int table[36] = {856, 808, 762, 720, 678, 640, 604, 570, 538, 508, 480, 453, 428, 404, 381, 360, 339, 320,
                           302, 285, 269, 254, 240, 226, 214, 202, 190, 180, 170, 160, 151, 143, 135, 127, 120, 113};
    int notes = 0;
    for (int p = 0; p < patternCount(m); ++p)
        for (int r = 0; r < 64; ++r)
            for (int ch = 0; ch < 4; ++ch) {
                const uint8_t* c = cell(m, p, r, ch);
                const int period = (c[0] & 0x0f) << 8 | c[1], sample = (c[0] & 0xf0) | c[2] >> 4;
                if (!period)
                    continue;
                ++notes;
                EXPECT_TRUE(std::find(table, table + 36, period) != table + 36) << "period " << period;
                EXPECT_GE(sample, 1);
                EXPECT_GT(word(m, 20 + (sample - 1) * 30 + 22), 0) << "note on an empty sample";
            }
    EXPECT_GT(notes, 300);
}

TEST(Music, LastsOneToTwoMinutes)
{
    const double seconds = songSeconds(module());
    EXPECT_GE(seconds, 60.0);
    EXPECT_LE(seconds, 120.0);
}

// The mixer writes what it plays to a raw file through SDL's disk driver;
// the file's sample rate is the device's own, so only levels are judged.
TEST(Music, SdlMixerPlaysItAudiblyWithoutClipping)
{
    const std::string raw = openDisk("music");
    Mix_Music* music = Mix_LoadMUS(musicPath.c_str());
    ASSERT_NE(music, nullptr) << Mix_GetError();
    ASSERT_EQ(Mix_PlayMusic(music, 0), 0) << Mix_GetError();
    const std::uintmax_t wanted = 30 * 44100 * 4;  // enough for the beat to come in
    waitFor([&] { return writtenBytes(raw) >= wanted; });
    Mix_HaltMusic();
    Mix_FreeMusic(music);
    std::vector<int16_t> pcm = closeDisk(raw);
    ASSERT_GE(pcm.size(), wanted / 2) << "the disk driver wrote too little";
    pcm.resize(wanted / 2);
    double sum[2] = {0, 0};
    size_t clipped = 0;
    for (size_t i = 0; i < pcm.size(); ++i) {
        sum[i % 2] += double(pcm[i]) * pcm[i];
        clipped += std::abs(pcm[i]) >= 32767;
    }
    const double rmsLeft = std::sqrt(sum[0] / (pcm.size() / 2)), rmsRight = std::sqrt(sum[1] / (pcm.size() / 2));
    EXPECT_GT(rmsLeft, 1000);
    EXPECT_GT(rmsRight, 1000);
    EXPECT_LT(std::max(rmsLeft, rmsRight) / std::min(rmsLeft, rmsRight), 2.0) << "channels out of balance";
    EXPECT_LT(clipped, pcm.size() / 10000);
}

// Every lead, bass and bell note long enough to measure, found from the score,
// is looked up in a real rendering: how many cents it sounds off equal
// temperament at A = 440 Hz.
TEST(Music, SdlMixerPlaysItInTune)
{
    const double rate = diskRate();
    ASSERT_GT(rate, 8000) << "the calibration tone was not found";
    const std::string raw = openDisk("tune");
    Mix_Music* music = Mix_LoadMUS(musicPath.c_str());
    ASSERT_NE(music, nullptr) << Mix_GetError();
    ASSERT_EQ(Mix_PlayMusic(music, 0), 0) << Mix_GetError();
    ASSERT_TRUE(waitFor([] { return !Mix_PlayingMusic(); })) << "the music did not end";
    Mix_FreeMusic(music);
    const std::vector<int16_t> pcm = closeDisk(raw);
    // The driver writes silence until the music starts.
    size_t onset = 0;
    while (onset < pcm.size() && std::abs(pcm[onset]) < 64)
        ++onset;
    onset /= 2;

    const std::vector<uint8_t> m = module();
    const std::map<std::string, int> base{{"lead", 60}, {"bass", 48}, {"bell", 72}};  // MIDI note at C-2
    const int periods[36] = {856, 808, 762, 720, 678, 640, 604, 570, 538, 508, 480, 453, 428, 404, 381, 360, 339, 320,
                             302, 285, 269, 254, 240, 226, 214, 202, 190, 180, 170, 160, 151, 143, 135, 127, 120, 113};
    const std::vector<Row> song = rows(m);
    std::map<std::string, std::vector<double>> off;
    std::vector<double> all;
    for (size_t i = 0; i < song.size(); ++i)
        for (int ch = 0; ch < 4; ++ch) {
            const uint8_t* c = cell(m, song[i].pattern, song[i].row, ch);
            const int period = (c[0] & 0x0f) << 8 | c[1], sample = (c[0] & 0xf0) | c[2] >> 4;
            const int* at = std::find(periods, periods + 36, period);
            if (!period || at == periods + 36 || sample < 1)
                continue;
            const std::string name(reinterpret_cast<const char*>(&m[20 + (sample - 1) * 30]));
            if (!base.count(name))
                continue;
            // The note sounds until the next note, a silencing or a vibrato.
            double end = song.back().start + song.back().length;
            for (size_t j = i + 1; j < song.size(); ++j) {
                const uint8_t* d = cell(m, song[j].pattern, song[j].row, ch);
                const int fx = d[2] & 0x0f;
                if (((d[0] & 0x0f) << 8 | d[1]) || (fx == 0xc && d[3] == 0) || fx == 0x4) {
                    end = song[j].start;
                    break;
                }
            }
            const double from = song[i].start + 0.03, to = std::min(end, song[i].start + 0.6);
            const size_t first = onset + size_t(from * rate), n = size_t((to - from) * rate);
            if (to - from < 0.15 || 2 * (first + n) > pcm.size())
                continue;
            const int midi = base.at(name) + int(at - periods) - 12;
            const double hz = 440 * std::exp2((midi - 69) / 12.0);
            const double cents = centsOff(pcm, ch == 0 || ch == 3 ? 0 : 1, first, n, hz / rate);
            off[name].push_back(cents);
            all.push_back(cents);
        }

    ASSERT_GT(all.size(), 200u);
    for (const auto& [name, v] : off) {
        std::cout << name << ": " << v.size() << " notes, median " << median(v) << " cents, quartiles "
                  << quantile(v, 0.25) << " .. " << quantile(v, 0.75) << ", range " << quantile(v, 0) << " .. "
                  << quantile(v, 1) << "\n";
        EXPECT_NEAR(median(v), 0.0, 3.0) << name;
    }
    std::cout << "all: " << all.size() << " notes, median " << median(all) << " cents, quartiles "
              << quantile(all, 0.25) << " .. " << quantile(all, 0.75) << "; disk rate " << rate << " Hz\n";
    EXPECT_NEAR(median(all), 0.0, 3.0);
    EXPECT_LT(quantile(all, 0.75) - quantile(all, 0.25), 6.0);
}
