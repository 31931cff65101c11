#include "data/data.h"

#include "render/layout.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string workingDirectory()
{
    char buf[4096];
    return getcwd(buf, sizeof buf) ? buf : ".";
}

std::string quoted(const char* name)
{
    return std::string("\"") + name + "\"";
}

std::string cannotOpen(const char* name, const std::string& dir, int err)
{
    return "cannot open " + inFolder(name, dir) + ": " + std::strerror(err);
}

bool loadBmp(const std::string& dir, const char* name, SDL_Surface*& image, std::string& error)
{
    if (!checkFile(dir, name, error))
        return false;
    SDL_RWops* file = SDL_RWFromFile((dir + "/" + name).c_str(), "rb");
    if (!file) {
        error = cannotOpen(name, dir, errno);
        return false;
    }
    return readBmp(file, name, image, error);
}

std::string describe(const SDL_Surface* s)
{
    return std::to_string(s->w) + "x" + std::to_string(s->h) + " with " + std::to_string(s->format->BitsPerPixel) +
           " bits per pixel";
}

Uint32 le32(const Uint8* p)
{
    return p[0] | p[1] << 8 | p[2] << 16 | Uint32(p[3]) << 24;
}

// What SDL would take too far: it reads as many palette entries as the
// header claims, one at a time and on past the end of the file, and it
// allocates and clears the claimed picture before reading a pixel. A few
// bytes could keep it busy for minutes or take gigabytes. Returns why the
// header is refused, or an empty string.
std::string headerProblem(SDL_RWops* file)
{
    Uint8 h[54] = {};
    const int start = SDL_RWtell(file);
    const int got = SDL_RWread(file, h, 1, sizeof h);
    SDL_RWseek(file, start, RW_SEEK_SET);
    // Other magics are left to SDL to judge; a cut header it would fill
    // with whatever follows.
    if (got < 2 || h[0] != 'B' || h[1] != 'M')
        return "";
    const bool old = got >= 18 && le32(h + 14) == 12;  // 16-bit sizes, no count
    if (got < (old ? 26 : int(sizeof h)))
        return "cut short after " + std::to_string(got) + " bytes";
    const int bpp = old ? h[24] | h[25] << 8 : h[28] | h[29] << 8;
    const Uint32 used = old ? 0 : le32(h + 46);
    if (bpp <= 8 && used > (1u << bpp))
        return "a palette of " + std::to_string(used) + " colours";
    // Far more than the demo shows, and well inside what memory can hold.
    const int64_t w = old ? h[18] | h[19] << 8 : int32_t(le32(h + 18));
    const int64_t hgt = old ? h[20] | h[21] << 8 : int32_t(le32(h + 22));
    if (w * w > 8192 * 8192 || hgt * hgt > 8192 * 8192)
        return std::to_string(w) + "x" + std::to_string(hgt) + " pixels";
    return "";
}

}  // namespace

std::string inFolder(const char* name, const std::string& dir)
{
    return quoted(name) + " in " + dir;
}

bool checkFile(const std::string& dir, const char* name, std::string& error)
{
    struct stat st;
    if (stat((dir + "/" + name).c_str(), &st) != 0)
        error = cannotOpen(name, dir, errno);
    else if (S_ISDIR(st.st_mode))
        error = inFolder(name, dir) + " is a folder, not a file";
    else if (!S_ISREG(st.st_mode))
        error = inFolder(name, dir) + " is not a regular file";
    else
        return true;
    return false;
}

bool readBmp(SDL_RWops* file, const char* name, SDL_Surface*& image, std::string& error)
{
    image = nullptr;
    if (!file) {
        error = quoted(name) + " cannot be read: " + SDL_GetError();
        return false;
    }
    if (const std::string problem = headerProblem(file); !problem.empty()) {
        SDL_RWclose(file);
        error = quoted(name) + " is not a readable BMP image (" + problem + ")";
        return false;
    }
    image = SDL_LoadBMP_RW(file, 1);
    if (!image)
        error = quoted(name) + " is not a readable BMP image (" + SDL_GetError() + ")";
    return image;
}

bool checkPanel(const SDL_Surface* panel, std::string& error)
{
    if (panel->w >= panelWidth && panel->h >= screenHeight)
        return true;
    error = "\"gfx.dat\" must be a picture of at least " + std::to_string(panelWidth) + "x" +
            std::to_string(screenHeight) + " pixels, but it is " + describe(panel);
    return false;
}

bool checkHeightMap(const SDL_Surface* m, std::string& error)
{
    // The landscape reads the map as 300 rows of 300 index bytes.
    if (m->w == mapSize && m->h == mapSize && m->format->BytesPerPixel == 1 && m->pitch == mapSize)
        return true;
    error = "\"hm.dat\" must be an 8-bit 300x300 height map, but it is " + describe(m);
    return false;
}

bool findData(const std::vector<std::string>& dirs, std::string& dir, std::string& error)
{
    if (dirs.empty()) {
        dir = workingDirectory();
        return true;
    }
    std::string looked;
    for (const std::string& d : dirs) {
        // A broken link or a folder is there too: loading it says what is wrong.
        struct stat st;
        if (lstat((d + "/gfx.dat").c_str(), &st) == 0) {
            dir = d;
            return true;
        }
        looked += (looked.empty() ? "" : " or ") + d;
    }
    error = cannotOpen("gfx.dat", looked, ENOENT);
    return false;
}

bool loadImages(const std::string& dir, SDL_Surface*& panel, SDL_Surface*& heightMap, std::string& error)
{
    panel = heightMap = nullptr;
    if (loadBmp(dir, "gfx.dat", panel, error) && checkPanel(panel, error) && loadBmp(dir, "hm.dat", heightMap, error) &&
        checkHeightMap(heightMap, error))
        return true;
    SDL_FreeSurface(panel);
    SDL_FreeSurface(heightMap);
    panel = heightMap = nullptr;
    return false;
}

void keyPanel(SDL_Surface* panel)
{
    const Uint32 key = SDL_MapRGB(panel->format, 255, 0, 255);
    // On a palette without magenta the nearest colour would come back, and
    // an ordinary part of the picture would turn transparent.
    Uint8 r, g, b;
    SDL_GetRGB(key, panel->format, &r, &g, &b);
    if (r == 255 && g == 0 && b == 255)
        SDL_SetColorKey(panel, SDL_SRCCOLORKEY, key);
}
