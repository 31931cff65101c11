// newyear-capture [--text FILE] FIRST LAST OUTDIR: draws the demo's frames
// 1..LAST without a display, sound or waiting, and writes FIRST..LAST as
// OUTDIR/frame-NNNNN.png. It reads gfx.dat and hm.dat from the working
// directory and starts up through the demo's own start-up, so frame N here is
// frame N on the demo's screen; with --text, on the screen of newyear --text
// FILE.
#include "demo/demo.h"
#include "platform/desktop/desktop.h"
#include "pngout.h"
#include "text/greeting.h"

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Five digits keep the names in frame order when sorted as text.
constexpr long lastFrame = 99'999;

void printUsage(std::FILE* to)
{
    std::fprintf(to, "usage: newyear-capture [--text FILE] FIRST LAST OUTDIR  (1 <= FIRST <= LAST <= %ld)\n",
                 lastFrame);
}

int usage(const std::string& why)
{
    std::fprintf(stderr, "newyear-capture: %s\n", why.c_str());
    printUsage(stderr);
    return 2;
}

int help()
{
    printUsage(stdout);
    std::printf("Draws the demo's frames 1..LAST from gfx.dat and hm.dat in the working directory, without a\n"
                "display, sound or waiting, and writes FIRST..LAST as OUTDIR/frame-NNNNN.png (320x240 RGB),\n"
                "making OUTDIR if it is missing. With --text, the scroller shows the words of FILE\n"
                "(- reads standard input), as newyear --text FILE does.\n");
    return 0;
}

int fail(const std::string& message)
{
    std::fprintf(stderr, "newyear-capture: %s\n", message.c_str());
    return 1;
}

// Whole decimal numbers only: "12x" or "" would otherwise pass as 12 or 0.
bool parseCount(const char* text, long& value)
{
    const char* end = text + std::strlen(text);
    auto [ptr, ec] = std::from_chars(text, end, value);
    if (ec == std::errc::result_out_of_range)
        value = lastFrame + 1;
    return ec != std::errc::invalid_argument && ptr == end && ptr != text;
}

// Makes the folder and any missing parents, as mkdir -p does.
bool makeFolder(const std::string& path, std::string& error)
{
    struct stat st;
    if (stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode) && access(path.c_str(), W_OK | X_OK) == 0)
            return true;
        error = "\"" + path + "\" is not a writable folder";
        return false;
    }
    const size_t slash = path.find_last_of('/', path.size() > 1 ? path.size() - 2 : 0);
    if (slash != std::string::npos && slash > 0 && !makeFolder(path.substr(0, slash), error))
        return false;
    if (mkdir(path.c_str(), 0777) != 0 && errno != EEXIST) {
        error = "cannot make the folder \"" + path + "\": " + std::strerror(errno);
        return false;
    }
    return true;
}

std::string frameName(const std::string& dir, long n)
{
    char name[32];
    std::snprintf(name, sizeof name, "/frame-%05ld.png", n);
    return dir + name;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0))
        return help();
    const char* text = nullptr;
    if (argc == 2 && (std::strcmp(argv[1], "--text") == 0 || std::strcmp(argv[1], "-t") == 0))
        return usage(std::string("option \"") + argv[1] + "\" needs a value");
    if (argc > 2 && (std::strcmp(argv[1], "--text") == 0 || std::strcmp(argv[1], "-t") == 0)) {
        text = argv[2];
        argc -= 2;
        argv += 2;
    }
    if (argc > 1 && argv[1][0] == '-' && !std::isdigit(static_cast<unsigned char>(argv[1][1])))
        return usage(std::string("unknown option \"") + argv[1] + "\"");
    if (argc != 4)
        return usage("expected three arguments: FIRST LAST OUTDIR");
    long first, last;
    if (!parseCount(argv[1], first) || !parseCount(argv[2], last))
        return usage("FIRST and LAST must be whole numbers");
    if (first < 1)
        return usage("FIRST must be at least 1");
    if (last > lastFrame)
        return usage("LAST must be at most " + std::to_string(lastFrame));
    if (last < first)
        return usage(std::string("LAST (") + argv[2] + ") comes before FIRST (" + argv[1] + ")");
    std::string error;
    Options options = offscreenOptions("");
    static Greeting greeting;
    if (text) {
        if (!loadGreeting(text, greeting, error)) {
            fail(error);
            return 2;
        }
        options.greeting = &greeting;
    }
    if (!makeFolder(argv[3], error))
        return fail(error);

    Demo demo;
    Edge edge;
    std::string silence;
    if (!startDemo(demo, edge, options, error, silence))
        return fail(error);
    // A long run tells a viewer at a terminal how far it has come.
    const bool progress = isatty(STDERR_FILENO) && last - first >= 1000;
    int status = 0;
    for (long n = 1; n <= last && status == 0; n++) {
        drawFrame(demo, edge);
        if (n >= first && !writePng(demo.screen.surface, frameName(argv[3], n), error))
            status = fail(error);
        if (progress && n % 500 == 0)
            std::fprintf(stderr, "\rframe %ld of %ld", n, last);
    }
    if (progress)
        std::fprintf(stderr, "\n");
    stopDemo(demo, edge);
    return status;
}
