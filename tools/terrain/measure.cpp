#include "measure.h"

#include "effects/landscape.h"
#include "effects/scroller.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numeric>

namespace {

uint16_t pixel(const Screen& screen, int x, int y)
{
    return static_cast<const uint16_t*>(screen.surface->pixels)[y * screenWidth + x];
}

double linear(unsigned v)
{
    const double c = v / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// One table for all 16-bit colours, so a flight costs no powers per pixel.
double luminance(uint16_t p)
{
    static const std::vector<double> table = [] {
        std::vector<double> t(65536);
        for (unsigned v = 0; v < t.size(); v++) {
            const unsigned r = v >> 11, g = (v >> 5) & 0x3F, b = v & 0x1F;
            t[v] =
                0.2126 * linear(r << 3 | r >> 2) + 0.7152 * linear(g << 2 | g >> 4) + 0.0722 * linear(b << 3 | b >> 2);
        }
        return t;
    }();
    return table[p];
}

double lightness(uint16_t p)
{
    static const std::vector<double> table = [] {
        std::vector<double> t(65536);
        for (unsigned v = 0; v < t.size(); v++) {
            const double y = luminance(static_cast<uint16_t>(v));
            t[v] = y > 216.0 / 24389 ? 116 * std::cbrt(y) - 16 : 24389.0 / 27 * y;
        }
        return t;
    }();
    return table[p];
}

double contrast(double a, double b)
{
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

double textLuminance(const Screen& screen, int y)
{
    return luminance(static_cast<uint16_t>(textColour(screen, y - textY)));
}

}  // namespace

std::vector<int> colourSamples(const Screen& screen, const Tables& tables)
{
    std::vector<int> samples(65536, -1);
    SDL_Surface* map = SDL_CreateRGBSurface(SDL_SWSURFACE, mapSize, mapSize, 8, 0, 0, 0, 0);
    for (int s = 0; s < 256; s++) {
        SDL_memset(map->pixels, s, mapSize * mapSize);
        drawBare(screen, tables, map, 53);
        for (int y = 0; y < screenHeight; y++) {
            const uint16_t p = pixel(screen, screenWidth - 1, y);
            if (p != unDrawn && samples[p] < 0)
                samples[p] = s;
        }
    }
    SDL_FreeSurface(map);
    return samples;
}

void drawBare(const Screen& screen, const Tables& tables, const SDL_Surface* heightMap, int frame)
{
    SDL_FillRect(screen.surface, nullptr, unDrawn);
    drawLandscape(screen, tables, heightMap, frame);
}

Measures measureScreen(const Screen& screen, const std::vector<int>& samples)
{
    int holes = 0, sky = 0, ground = 0, saturated = 0, legible = 0;
    for (int y = 0; y < screenHeight; y++) {
        const bool inText = y >= textY && y < textY + scrollRows;
        const double text = inText ? textLuminance(screen, y) : 0;
        for (int x = panelWidth; x < screenWidth; x++) {
            const uint16_t p = pixel(screen, x, y);
            if (p == unDrawn) {
                ++(y < skyHeight ? sky : holes);
                continue;
            }
            ++ground;
            saturated += samples[p] >= saturatedFrom;
            legible += inText && contrast(luminance(p), text) >= 3;
        }
    }
    const double width = screenWidth - panelWidth;
    return {holes / (width * (screenHeight - skyHeight)), sky / (width * skyHeight),
            ground ? double(saturated) / ground : 0, legible / (width * scrollRows)};
}

double lightnessSpread(const Screen& screen)
{
    std::vector<double> l;
    for (int y = 0; y < screenHeight; y++)
        for (int x = panelWidth; x < screenWidth; x++)
            if (pixel(screen, x, y) != unDrawn)
                l.push_back(lightness(pixel(screen, x, y)));
    if (l.empty())
        return 0;
    // nth_element, not quantile: a sort per frame would slow a flight down
    // several times over.
    const auto rank = [&](double q) {
        const auto at = l.begin() + static_cast<std::ptrdiff_t>(q * (l.size() - 1));
        std::nth_element(l.begin(), at, l.end());
        return *at;
    };
    return rank(0.9) - rank(0.1);
}

std::vector<Measures> measureFlight(const Screen& screen, const Tables& tables, const SDL_Surface* heightMap)
{
    const std::vector<int> samples = colourSamples(screen, tables);
    std::vector<Measures> flight;
    for (int n = 1; n <= flightFrames; n++) {
        drawBare(screen, tables, heightMap, flightFrame(n));
        flight.push_back(measureScreen(screen, samples));
        flight.back().spread = lightnessSpread(screen);
    }
    return flight;
}

double quantile(std::vector<double> values, double q)
{
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(q * (values.size() - 1))];
}

double mean(const std::vector<double>& values)
{
    return std::accumulate(values.begin(), values.end(), 0.0) / values.size();
}
