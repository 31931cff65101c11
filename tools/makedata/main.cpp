// newyear-makedata OUTDIR: writes hm.dat, gfx.dat, music.dat and the icons
// icons/newyear-SIZE.png into OUTDIR, which must exist.
#include "makedata.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>

namespace {

const char* const usageLine = "usage: newyear-makedata OUTDIR\n";

int usage(const std::string& why)
{
    std::fprintf(stderr, "newyear-makedata: %s\n%s", why.c_str(), usageLine);
    return 2;
}

int help()
{
    std::printf("%s", usageLine);
    std::printf("Writes the demo's data files into OUTDIR, which must exist: hm.dat, gfx.dat, music.dat\n"
                "and icons/newyear-SIZE.png for SIZE in");
    for (const int size : iconSizes)
        std::printf(" %d", size);
    std::printf(",\nbyte for byte the same on every run.\n");
    return 0;
}

// made: false with error as the reason when the file could not be made.
bool put(const std::string& path, bool made, const Bytes& data, std::string& error)
{
    if (!made) {
        error = "cannot make \"" + path + "\": " + error;
        return false;
    }
    return writeFile(path, data, error);
}

bool writeAll(const std::string& dir, std::string& error)
{
    Bytes music;
    if (!put(dir + "/hm.dat", true, makeHeightMap(), error) || !put(dir + "/gfx.dat", true, makePanel(), error) ||
        !put(dir + "/music.dat", makeMusic(music, error), music, error))
        return false;
    const std::string icons = dir + "/icons";
    if (mkdir(icons.c_str(), 0777) != 0 && errno != EEXIST) {
        error = "cannot make the folder \"" + icons + "\": " + std::strerror(errno);
        return false;
    }
    for (const int size : iconSizes) {
        Bytes icon;
        const bool made = makeIcon(size, icon, error);
        if (!put(icons + "/newyear-" + std::to_string(size) + ".png", made, icon, error))
            return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0))
        return help();
    if (argc != 2)
        return usage("expected one argument, the folder to write into");
    if (argv[1][0] == '-')
        return usage(std::string("unknown option \"") + argv[1] + "\"");
    std::string error;
    if (!writeAll(argv[1], error)) {
        std::fprintf(stderr, "newyear-makedata: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
