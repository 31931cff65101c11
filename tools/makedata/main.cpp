// newyear-makedata OUTDIR: writes hm.dat, gfx.dat, music.dat and the icons
// icons/newyear-SIZE.png.
#include "makedata.h"

#include <cstdio>
#include <exception>
#include <filesystem>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: newyear-makedata OUTDIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    try {
        writeFile(dir + "/hm.dat", makeHeightMap());
        writeFile(dir + "/gfx.dat", makePanel());
        writeFile(dir + "/music.dat", makeMusic());
        std::filesystem::create_directories(dir + "/icons");
        for (const int size : iconSizes)
            writeFile(dir + "/icons/newyear-" + std::to_string(size) + ".png", makeIcon(size));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "newyear-makedata: %s\n", e.what());
        return 1;
    }
    return 0;
}
