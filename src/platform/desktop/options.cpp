#include "platform/desktop/options.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <getopt.h>
#include <string>
#include <unistd.h>

namespace {

const char usageLine[] =
    "usage: newyear [-w|--window] [-s|--scale N] [-d|--data DIR] [-m|--mute] [-t|--text FILE] [-h|--help] "
    "[--version]";

int usage(const std::string& why)
{
    std::fprintf(stderr, "newyear: %s; %s\n", why.c_str(), usageLine);
    return 2;
}

int help()
{
    std::printf("%s\n\n"
                "A self-running new-year greeting: a landscape flown under a band of sky,\n"
                "falling snow, a scrolling greeting and a picture panel, with music played once.\n"
                "\n"
                "  -w, --window     show it in a window instead of full screen\n"
                "  -s, --scale N    the window's scale, a whole number (implies --window;\n"
                "                   default, and at most: the largest that fits the desktop)\n"
                "  -d, --data DIR   read gfx.dat, hm.dat and music.dat from DIR\n"
                "  -m, --mute       play no music\n"
                "  -t, --text FILE  scroll the words of FILE (UTF-8, at most 2000 characters;\n"
                "                   - reads standard input) instead of the built-in greeting\n"
                "  -h, --help       show this help and exit\n"
                "      --version    show the version and exit\n"
                "\n"
                "Keys: Escape quits, as do joystick buttons 8 and 14; in a window, so does\n"
                "its close button. F11 or Alt+Enter toggles full screen. Nothing else is read.\n"
                "\n"
                "Data: from the working directory when gfx.dat is there, otherwise from\n"
                "%s.\n",
                usageLine, NEWYEAR_INSTALLED_DATA);
    return 0;
}

// 1 to 16: a whole number, and a window no desktop is too small to hold at 1.
bool parseScale(const char* text, int& scale)
{
    char* end;
    errno = 0;
    const long n = std::strtol(text, &end, 10);
    if (errno || end == text || *end || n < 1 || n > 16)
        return false;
    scale = static_cast<int>(n);
    return true;
}

}  // namespace

int readOptions(int argc, char** argv, Options& options, Greeting& greeting)
{
    enum { versionOption = 1000 };
    const option longOptions[] = {
        {"window", no_argument, nullptr, 'w'},
        {"scale", required_argument, nullptr, 's'},
        {"data", required_argument, nullptr, 'd'},
        {"mute", no_argument, nullptr, 'm'},
        {"text", required_argument, nullptr, 't'},
        {"help", no_argument, nullptr, 'h'},
        {"version", no_argument, nullptr, versionOption},
        {nullptr, 0, nullptr, 0},
    };
    opterr = 0;  // one line of our own instead of getopt's
    const char* text = nullptr;
    int c;
    while ((c = getopt_long(argc, argv, ":ws:d:mt:h", longOptions, nullptr)) != -1) {
        switch (c) {
            case 'w':
                options.mode = ScreenMode::window;
                break;
            case 's':
                if (!parseScale(optarg, options.scale))
                    return usage(std::string("the scale must be a whole number from 1 to 16, not \"") + optarg + "\"");
                options.mode = ScreenMode::window;
                break;
            case 'd':
                options.dataDirs = {optarg};
                break;
            case 'm':
                options.music = false;
                break;
            case 't':
                text = optarg;
                break;
            case 'h':
                return help();
            case versionOption:
                std::printf("newyear %s\n", NEWYEAR_VERSION);
                return 0;
            case ':':
                return usage(std::string("option \"") + argv[optind - 1] + "\" needs a value");
            default:
                return usage(std::string("unknown option \"") + argv[optind - 1] + "\"");
        }
    }
    if (optind < argc)
        return usage(std::string("unexpected argument \"") + argv[optind] + "\"");
    // Read once every option is known, so --help is not kept waiting on it.
    if (text) {
        std::string error;
        if (!loadGreeting(text, greeting, error)) {
            std::fprintf(stderr, "newyear: %s\n", error.c_str());
            return 2;
        }
        options.greeting = &greeting;
    }
    return -1;
}
