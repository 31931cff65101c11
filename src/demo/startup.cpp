#include "demo/startup.h"

#include "effects/landscape.h"
#include "effects/scroller.h"
#include "effects/snow.h"
#include "render/render.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string workingDirectory()
{
    char buf[4096];
    return getcwd(buf, sizeof buf) ? buf : "the working directory";
}

SDL_Surface* loadBmp(const char* name, std::string& error)
{
    struct stat st;
    if (stat(name, &st) != 0) {
        error = std::string("cannot open \"") + name + "\" in " + workingDirectory() + ": " + std::strerror(errno);
        return nullptr;
    }
    if (S_ISDIR(st.st_mode)) {
        error = std::string("\"") + name + "\" in " + workingDirectory() + " is a folder, not a file";
        return nullptr;
    }
    // Opening a FIFO would wait for a writer for ever, and a device is no
    // picture either.
    if (!S_ISREG(st.st_mode)) {
        error = std::string("\"") + name + "\" in " + workingDirectory() + " is not a regular file";
        return nullptr;
    }
    SDL_RWops* file = SDL_RWFromFile(name, "rb");
    if (!file) {
        error = std::string("cannot open \"") + name + "\" in " + workingDirectory() + ": " + std::strerror(errno);
        return nullptr;
    }
    return readBmp(file, name, error);
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
    if (!file)
        return "";  // SDL_LoadBMP_RW reports that itself
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

SDL_Surface* readBmp(SDL_RWops* file, const char* name, std::string& error)
{
    if (const std::string problem = headerProblem(file); !problem.empty()) {
        SDL_RWclose(file);
        error = std::string("\"") + name + "\" is not a readable BMP image (" + problem + ")";
        return nullptr;
    }
    SDL_Surface* image = SDL_LoadBMP_RW(file, 1);
    if (!image)
        error = std::string("\"") + name + "\" is not a readable BMP image (" + SDL_GetError() + ")";
    return image;
}

bool checkPanel(const SDL_Surface* panel, std::string& error)
{
    if (panel->w < 150 || panel->h < 240) {
        error = "\"gfx.dat\" must be a picture of at least 150x240 pixels, but it is " + describe(panel);
        return false;
    }
    return true;
}

bool checkHeightMap(const SDL_Surface* m, std::string& error)
{
    // The landscape reads the map as 300 rows of 300 index bytes.
    if (m->w != mapSize || m->h != mapSize || m->format->BytesPerPixel != 1 || m->pitch != mapSize) {
        error = "\"hm.dat\" must be an 8-bit 300x300 height map, but it is " + describe(m);
        return false;
    }
    return true;
}

void freeImages(Images& images)
{
    SDL_FreeSurface(images.panel);
    SDL_FreeSurface(images.heightMap);
    images = Images{};
}

bool loadImages(Images& images, std::string& error)
{
    images.panel = loadBmp("gfx.dat", error);
    if (images.panel && checkPanel(images.panel, error)) {
        images.heightMap = loadBmp("hm.dat", error);
        if (images.heightMap && checkHeightMap(images.heightMap, error))
            return true;
    }
    // Nothing half-loaded is left behind for the caller to free.
    freeImages(images);
    return false;
}

bool openScreen(std::string& error)
{
    screen = SDL_SetVideoMode(320, 240, 16, SDL_FULLSCREEN);
    if (!screen) {
        error = std::string("cannot open the display: ") + SDL_GetError();
        return false;
    }
    captureFormat();
    // The library hands the surface over uncleared, and rows 60..239 are
    // only ever drawn over: what the first frames leave there must be black,
    // not old heap contents.
    SDL_FillRect(screen, nullptr, 0);
    return true;
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

void resetEffects()
{
    clearScroller();
    seedFlakes();
}
