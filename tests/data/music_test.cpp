// music.dat: the module's own structure read back by hand, its length in
// seconds from its speed, tempo and order list, and a real SDL_mixer playing it.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const std::string musicPath = std::string(NEWYEAR_DATA_DIR) + "/music.dat";

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

// Plays the order list the way a tracker does, counting time per row.
double songSeconds(const std::vector<uint8_t>& m)
{
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
        seconds += speed * 2.5 / tempo;
        if (breakTo >= 0 || ++row == 64) {
            ++pos;
            row = std::max(breakTo, 0);
        }
    }
    return seconds;
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
    const std::string raw =
        (std::filesystem::temp_directory_path() / ("newyear-music-" + std::to_string(getpid()) + ".raw")).string();
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
    ASSERT_EQ(Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 1024), 0) << Mix_GetError();
    Mix_Music* music = Mix_LoadMUS(musicPath.c_str());
    ASSERT_NE(music, nullptr) << Mix_GetError();
    ASSERT_EQ(Mix_PlayMusic(music, 0), 0) << Mix_GetError();
    const std::uintmax_t wanted = 30 * 44100 * 4;  // enough for the beat to come in
    std::error_code err;
    for (int i = 0; i < 3000 && std::filesystem::file_size(raw, err) < wanted; ++i)
        SDL_Delay(10);
    Mix_HaltMusic();
    Mix_FreeMusic(music);
    Mix_CloseAudio();
    SDL_Quit();

    std::ifstream f(raw, std::ios::binary);
    std::vector<int16_t> pcm(wanted / 2);
    f.read(reinterpret_cast<char*>(pcm.data()), wanted);
    ASSERT_EQ(size_t(f.gcount()), wanted) << "the disk driver wrote too little";
    std::filesystem::remove(raw);
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
