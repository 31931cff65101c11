// The real demo against damaged and hostile data files, each in a scratch
// folder of its own: it must either refuse with one line naming the cause
// and status 1, or run normally. Nothing may crash, hang or trip a
// sanitizer.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <signal.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

namespace {

Bytes readFile(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const fs::path& p, const Bytes& b)
{
    std::ofstream(p, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(b.data()), b.size());
}

void put32(Bytes& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; i++)
        b[at + i] = uint8_t(v >> (8 * i));
}

void put16(Bytes& b, size_t at, uint16_t v)
{
    b[at] = uint8_t(v);
    b[at + 1] = uint8_t(v >> 8);
}

// A BMP written byte by byte, so that depths and encodings SDL cannot save
// are covered too: rows padded to 4 bytes, a grey palette for depths up to
// 8, every pixel byte set to fill.
Bytes makeBmp(int w, int h, int bpp, uint32_t compression = 0, uint8_t fill = 0x55)
{
    const int colours = bpp <= 8 ? 1 << bpp : 0;
    const size_t rowBytes = (size_t(w) * bpp + 31) / 32 * 4;
    const size_t offset = 54 + 4 * colours;
    const size_t rows = size_t(h < 0 ? -h : h);  // negative: rows top down
    Bytes b(offset + rowBytes * rows, fill);
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 2, uint32_t(b.size()));
    put32(b, 6, 0);
    put32(b, 10, uint32_t(offset));
    put32(b, 14, 40);
    put32(b, 18, uint32_t(w));
    put32(b, 22, uint32_t(h));
    put16(b, 26, 1);
    put16(b, 28, uint16_t(bpp));
    put32(b, 30, compression);
    put32(b, 34, uint32_t(rowBytes * rows));
    put32(b, 38, 2835);
    put32(b, 42, 2835);
    put32(b, 46, uint32_t(colours));
    put32(b, 50, 0);
    for (int i = 0; i < colours; i++) {
        const uint8_t g = uint8_t(i * 255 / (colours - 1));
        b[54 + 4 * i] = b[55 + 4 * i] = b[56 + 4 * i] = g;
        b[57 + 4 * i] = 0;
    }
    return b;
}

// 300 rows of RLE8: one run of 250 and one of 50, then end of line.
Bytes rleHeightMap()
{
    Bytes b = makeBmp(300, 300, 8, 1);
    b.resize(54 + 1024);
    for (int row = 0; row < 300; row++)
        b.insert(b.end(), {250, uint8_t(row), 50, uint8_t(row), 0, 0});
    b.insert(b.end(), {0, 1});
    put32(b, 2, uint32_t(b.size()));
    put32(b, 34, uint32_t(b.size() - 54 - 1024));
    return b;
}

Bytes randomBytes(size_t n, unsigned seed)
{
    std::mt19937 gen(seed);
    Bytes b(n);
    for (auto& c : b)
        c = uint8_t(gen());
    return b;
}

enum class Expect { error, run };

struct Case {
    const char* name;
    Expect expect;
    const char* file;  // the damaged one, named in the error line
    std::function<void(const fs::path& dir, const fs::path& data)> make;
};

// Names the case, not its bytes, in test names and failures.
void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.name;
}

fs::path dataDir()
{
    return NEWYEAR_SOURCE_DATA;
}

// Rewrites one header field of a committed file.
auto patched(const char* file, size_t at, uint32_t value, int width = 4)
{
    return [=](const fs::path& dir, const fs::path& data) {
        Bytes b = readFile(data / file);
        width == 4 ? put32(b, at, value) : put16(b, at, uint16_t(value));
        writeFile(dir / file, b);
    };
}

auto truncated(const char* file, long keep)
{
    return [=](const fs::path& dir, const fs::path& data) {
        Bytes b = readFile(data / file);
        b.resize(keep >= 0 ? size_t(keep) : b.size() / 2);
        writeFile(dir / file, b);
    };
}

auto written(const char* file, std::function<Bytes()> bytes)
{
    return [=](const fs::path& dir, const fs::path&) { writeFile(dir / file, bytes()); };
}

const Case cases[] = {
    {"emptyPanel", Expect::error, "gfx.dat", written("gfx.dat", [] { return Bytes{}; })},
    {"emptyMap", Expect::error, "hm.dat", written("hm.dat", [] { return Bytes{}; })},
    {"panelCutInMagic", Expect::error, "gfx.dat", truncated("gfx.dat", 1)},
    {"panelCutInFileHeader", Expect::error, "gfx.dat", truncated("gfx.dat", 10)},
    {"panelCutInInfoHeader", Expect::error, "gfx.dat", truncated("gfx.dat", 30)},
    {"panelCutAfterHeaders", Expect::error, "gfx.dat", truncated("gfx.dat", 54)},
    {"panelCutHalfway", Expect::error, "gfx.dat", truncated("gfx.dat", -1)},
    {"mapCutInPalette", Expect::error, "hm.dat", truncated("hm.dat", 300)},
    {"mapCutHalfway", Expect::error, "hm.dat", truncated("hm.dat", -1)},
    {"panelWrongMagic", Expect::error, "gfx.dat", patched("gfx.dat", 0, 'X' | 'Y' << 8, 2)},
    {"mapWrongMagic", Expect::error, "hm.dat", patched("hm.dat", 0, 0, 2)},
    {"map299x300", Expect::error, "hm.dat", written("hm.dat", [] { return makeBmp(299, 300, 8); })},
    {"map300x299", Expect::error, "hm.dat", written("hm.dat", [] { return makeBmp(300, 299, 8); })},
    {"map301x301", Expect::error, "hm.dat", written("hm.dat", [] { return makeBmp(301, 301, 8); })},
    {"map24Bit", Expect::error, "hm.dat", written("hm.dat", [] { return makeBmp(300, 300, 24); })},
    {"map32Bit", Expect::error, "hm.dat", written("hm.dat", [] { return makeBmp(300, 300, 32); })},
    // SDL widens 1- and 4-bit pictures and RLE to one byte per pixel: these
    // are still 300x300 height maps.
    {"map1Bit", Expect::run, "hm.dat", written("hm.dat", [] { return makeBmp(300, 300, 1); })},
    {"map4Bit", Expect::run, "hm.dat", written("hm.dat", [] { return makeBmp(300, 300, 4); })},
    {"mapRle8", Expect::run, "hm.dat", written("hm.dat", rleHeightMap)},
    {"mapTopDown", Expect::run, "hm.dat", written("hm.dat", [] { return makeBmp(300, -300, 8); })},
    {"mapBitDepth7", Expect::error, "hm.dat", patched("hm.dat", 28, 7, 2)},
    {"mapBitDepthZero", Expect::error, "hm.dat", patched("hm.dat", 28, 0, 2)},
    {"mapHugeWidth", Expect::error, "hm.dat", patched("hm.dat", 18, 0x7FFFFFFF)},
    {"mapHugeHeight", Expect::error, "hm.dat", patched("hm.dat", 22, 0x7FFFFFFF)},
    {"mapNegativeWidth", Expect::error, "hm.dat", patched("hm.dat", 18, uint32_t(-300))},
    {"mapMostNegativeHeight", Expect::error, "hm.dat", patched("hm.dat", 22, 0x80000000)},
    {"mapZeroWidth", Expect::error, "hm.dat", patched("hm.dat", 18, 0)},
    {"mapZeroHeight", Expect::error, "hm.dat", patched("hm.dat", 22, 0)},
    {"mapHugePalette", Expect::error, "hm.dat", patched("hm.dat", 46, 0x7FFFFFFF)},
    {"mapPixelsPastTheEnd", Expect::error, "hm.dat", patched("hm.dat", 10, 0xFFFFFF00)},
    {"panelHugeWidth", Expect::error, "gfx.dat", patched("gfx.dat", 18, 0x7FFFFFFF)},
    {"panelHugeHeaderSize", Expect::error, "gfx.dat", patched("gfx.dat", 14, 0xFFFFFFF0)},
    // A 12-byte header's 16-bit sizes: a 26-byte file asking for 4 GB.
    {"panelOldHeaderHugeSizes", Expect::error, "gfx.dat",
     written("gfx.dat",
             [] {
                 Bytes b(26, 0);
                 b[0] = 'B';
                 b[1] = 'M';
                 put32(b, 10, 26);
                 put32(b, 14, 12);
                 put16(b, 18, 0xFFFE);
                 put16(b, 20, 0xFFFD);
                 put16(b, 22, 1);
                 put16(b, 24, 24);
                 return b;
             })},
    {"panelRandomBytes", Expect::error, "gfx.dat", written("gfx.dat", [] { return randomBytes(5000, 1); })},
    {"mapRandomBytesAfterMagic", Expect::error, "hm.dat",
     written("hm.dat",
             [] {
                 Bytes b = randomBytes(91078, 2);
                 b[0] = 'B';
                 b[1] = 'M';
                 return b;
             })},
    {"panelIsAFolder", Expect::error, "gfx.dat",
     [](const fs::path& dir, const fs::path&) { fs::create_directory(dir / "gfx.dat"); }},
    // Root reads any file whatever its mode, so unreadable means a name
    // that leads nowhere: a dangling link, a loop of links, or a FIFO that
    // no one writes to, which would block a plain open for ever.
    {"panelDanglingLink", Expect::error, "gfx.dat",
     [](const fs::path& dir, const fs::path&) { fs::create_symlink("nowhere.bmp", dir / "gfx.dat"); }},
    {"mapLinkLoop", Expect::error, "hm.dat",
     [](const fs::path& dir, const fs::path&) { fs::create_symlink("hm.dat", dir / "hm.dat"); }},
    {"mapIsAFifo", Expect::error, "hm.dat",
     [](const fs::path& dir, const fs::path&) { ASSERT_EQ(mkfifo((dir / "hm.dat").c_str(), 0644), 0); }},
    {"panelIsADevice", Expect::error, "gfx.dat",
     [](const fs::path& dir, const fs::path&) { fs::create_symlink("/dev/zero", dir / "gfx.dat"); }},
    {"panel149x240", Expect::error, "gfx.dat", written("gfx.dat", [] { return makeBmp(149, 240, 24); })},
    {"panel150x239", Expect::error, "gfx.dat", written("gfx.dat", [] { return makeBmp(150, 239, 24); })},
    {"panelPaletted", Expect::run, "gfx.dat", written("gfx.dat", [] { return makeBmp(150, 240, 8); })},
    {"panelOneBit", Expect::run, "gfx.dat", written("gfx.dat", [] { return makeBmp(160, 240, 1); })},
    {"musicRandomBytes", Expect::run, "music.dat", written("music.dat", [] { return randomBytes(4000, 3); })},
    {"musicEmpty", Expect::run, "music.dat", written("music.dat", [] { return Bytes{}; })},
    {"musicIsAFolder", Expect::run, "music.dat",
     [](const fs::path& dir, const fs::path&) { fs::create_directory(dir / "music.dat"); }},
};

struct Outcome {
    bool exited = false;  // false: still running when stopped
    bool shown = false;   // a frame was on screen
    int status = -1;      // exit status, or the signal that ended it
    bool signalled = false;
    std::vector<std::string> lines;
};

// A headless X server of the demo's own size, so that a case that runs can
// be seen to draw.
class Xvfb {
public:
    // A display number drawn at random from a wide range: tests running
    // side by side start and kill servers, and one going down can take the
    // files of a new server on its number with it.
    Xvfb()
    {
        std::mt19937 pick(std::random_device{}());
        for (int attempt = 0; attempt < 20 && !x; attempt++) {
            const std::string candidate = std::string(":").append(std::to_string(1000 + pick() % 1000));
            pid = fork();
            if (pid == 0) {
                if (!std::freopen("/dev/null", "w", stderr))
                    _exit(126);
                execlp("Xvfb", "Xvfb", candidate.c_str(), "-screen", "0", "320x240x24", "-nolisten", "tcp", "-noreset",
                       static_cast<char*>(nullptr));
                _exit(127);
            }
            // Ready when it answers; gone when the number was taken.
            for (int tick = 0; tick < 400 && !x && waitpid(pid, nullptr, WNOHANG) == 0; tick++) {
                x = XOpenDisplay(candidate.c_str());
                if (!x)
                    usleep(50'000);
            }
            if (x) {
                name = candidate;
            } else {
                kill(pid, SIGKILL);
                waitpid(pid, nullptr, 0);
                pid = -1;
            }
        }
    }
    ~Xvfb()
    {
        if (x)
            XCloseDisplay(x);
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }
    // True once anything but black is on the screen: the demo's first frame.
    bool drawn() const
    {
        XImage* image = XGetImage(x, XDefaultRootWindow(x), 0, 0, 320, 240, AllPlanes, ZPixmap);
        bool any = false;
        for (int y = 0; image && y < 240 && !any; y++)
            for (int i = 0; i < 320 && !any; i++)
                any = (XGetPixel(image, i, y) & 0xFFFFFF) != 0;
        if (image)
            XDestroyImage(image);
        return any;
    }
    std::string name;
    Display* x = nullptr;
    pid_t pid = -1;
};

// Runs the demo in dir, on the X server when there is one, else on the
// dummy video driver. It is given a minute to end by itself, or, on the X
// server, until its first frame shows: then it is sent SIGTERM, which must
// end it as it would any program.
Outcome runDemo(const fs::path& dir, const Xvfb* screen)
{
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(dir.c_str()) != 0)
            _exit(120);
        FILE* err = std::freopen("stderr.txt", "w", stderr);
        FILE* out = std::freopen("stdout.txt", "w", stdout);
        if (!err || !out)
            _exit(121);
        if (screen) {
            setenv("DISPLAY", screen->name.c_str(), 1);
            unsetenv("SDL_VIDEODRIVER");
        } else {
            setenv("SDL_VIDEODRIVER", "dummy", 1);
        }
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        // The sanitized run keeps the GL driver loaded, as for the other
        // tests of the real demo.
        if (const char* preload = std::getenv("NEWYEAR_PRELOAD"))
            setenv("LD_PRELOAD", preload, 1);
        execl(NEWYEAR_EXE, NEWYEAR_EXE, static_cast<char*>(nullptr));
        _exit(122);
    }
    Outcome o;
    int wstatus = 0;
    for (int tick = 0; tick < 60 * 20 && !o.shown; tick++) {
        if (waitpid(pid, &wstatus, WNOHANG) == pid) {
            o.exited = true;
            break;
        }
        o.shown = screen && screen->drawn();
        usleep(50'000);
    }
    if (!o.exited) {
        kill(pid, o.shown ? SIGTERM : SIGKILL);
        waitpid(pid, &wstatus, 0);
    }
    if (WIFSIGNALED(wstatus)) {
        o.signalled = true;
        o.status = WTERMSIG(wstatus);
    } else {
        o.status = WEXITSTATUS(wstatus);
    }
    std::ifstream in(dir / "stderr.txt");
    for (std::string line; std::getline(in, line);)
        o.lines.push_back(line);
    return o;
}

std::string joined(const std::vector<std::string>& lines)
{
    std::string s;
    for (const auto& l : lines)
        s += l + "\n";
    return s;
}

class Hostile : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("newyear-hostile-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        for (const char* f : {"gfx.dat", "hm.dat", "music.dat"})
            fs::copy_file(dataDir() / f, dir / f);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

TEST_P(Hostile, refusesWithOneLineOrRuns)
{
    const Case& c = GetParam();
    ASSERT_TRUE(fs::exists(dataDir() / "hm.dat")) << "no committed data files in " << dataDir();
    fs::remove_all(dir / c.file);
    ASSERT_NO_FATAL_FAILURE(c.make(dir, dataDir()));

    // An error comes at once; a demo that runs is watched until it draws.
    std::optional<Xvfb> x;
    if (c.expect == Expect::run) {
        x.emplace();
        ASSERT_NE(x->x, nullptr) << "no X server to run on";
    }
    const Outcome o = runDemo(dir, x ? &*x : nullptr);
    const std::string err = joined(o.lines);
    EXPECT_EQ(err.find("Sanitizer"), std::string::npos) << err;
    EXPECT_EQ(err.find("runtime error"), std::string::npos) << err;
    if (c.expect == Expect::error) {
        EXPECT_FALSE(o.signalled) << "killed by signal " << o.status << "\n" << err;
        ASSERT_TRUE(o.exited) << "still running after a minute: a hang\n" << err;
        EXPECT_EQ(o.status, 1) << err;
        ASSERT_EQ(o.lines.size(), 1u) << err;
        EXPECT_EQ(o.lines[0].rfind("newyear: ", 0), 0u) << err;
        EXPECT_NE(o.lines[0].find(std::string("\"") + c.file + "\""), std::string::npos) << err;
    } else {
        EXPECT_TRUE(o.shown) << "no frame on screen; " << (o.exited ? "it ended" : "it hung") << "\n" << err;
        EXPECT_TRUE(o.signalled && o.status == SIGTERM) << "ended with " << o.status << "\n" << err;
        ASSERT_LE(o.lines.size(), 1u) << err;
        if (!o.lines.empty()) {
            EXPECT_NE(o.lines[0].find("playing without music"), std::string::npos) << err;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(DataFiles, Hostile, ::testing::ValuesIn(cases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
