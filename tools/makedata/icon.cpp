// The 32x32 application icon: a night-blue badge with a fir tree, its star
// and a few baubles. Drawn at 8x8 subsamples so it is smooth at its tiny size.
#include "makedata.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int side = 32;
constexpr int sub = 8;

struct Paint {
    double r, g, b, a;
};

bool inStar(double x, double y, double cx, double cy, double outer, double inner)
{
    double px[10], py[10];
    for (int i = 0; i < 10; ++i) {
        const double ang = -M_PI / 2 + i * M_PI / 5;
        const double r = i % 2 ? inner : outer;
        px[i] = cx + r * std::cos(ang);
        py[i] = cy + r * std::sin(ang);
    }
    bool in = false;
    for (int i = 0, j = 9; i < 10; j = i++)
        if ((py[i] > y) != (py[j] > y) && x < (px[j] - px[i]) * (y - py[i]) / (py[j] - py[i]) + px[i])
            in = !in;
    return in;
}

// One tier of the tree: a triangle with a slightly drooping base.
bool inTier(double x, double y, double top, double bottom, double half)
{
    const double dx = std::fabs(x - 16);
    const double base = bottom + 1.2 * (dx / half) * (dx / half);
    return y >= top && y <= base && dx <= half * (y - top) / (bottom - top) + 0.3;
}

Paint sample(double x, double y)
{
    const double d = std::hypot(x - 16, y - 16);
    if (d > 15.6)
        return {0, 0, 0, 0};
    if (d > 14.6)
        return {150, 180, 235, 1};  // a pale rim keeps it visible on dark desktops
    if (inStar(x, y, 16, 6.2, 4.4, 1.9))
        return {255, 214, 60, 1};
    const double balls[][3] = {{13.5, 13.5, 0}, {18.8, 17.3, 1}, {12.2, 21.2, 2}, {20.2, 23.0, 0}, {16.4, 19.6, 2}};
    const double tiers[][3] = {{8.5, 14.5, 4.5}, {11.5, 19.5, 7.0}, {15.0, 25.0, 9.5}};
    for (const auto& t : tiers)
        if (inTier(x, y, t[0], t[1], t[2])) {
            const Paint colours[] = {{235, 40, 50, 1}, {250, 200, 60, 1}, {70, 150, 255, 1}};
            for (const auto& b : balls)
                if (std::hypot(x - b[0], y - b[1]) < 1.25)
                    return colours[int(b[2])];
            const double light = 1.0 - 0.045 * (x - 16);  // moonlit from the left
            return {40 * light, 150 * light, 70 * light, 1};
        }
    if (std::fabs(x - 16) < 1.6 && y > 24 && y < 27.5)
        return {120, 75, 40, 1};
    if (y > 26.5 + 0.015 * (x - 16) * (x - 16))
        return {235, 242, 255, 1};
    const double t = y / 32.0;
    return {12 + 30 * t, 20 + 40 * t, 60 + 70 * t, 1};
}

}  // namespace

Bytes makeIcon()
{
    std::vector<uint8_t> rgba(side * side * 4);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            double r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < sub; ++sy)
                for (int sx = 0; sx < sub; ++sx) {
                    const Paint p = sample(x + (sx + 0.5) / sub, y + (sy + 0.5) / sub);
                    r += p.r * p.a;
                    g += p.g * p.a;
                    b += p.b * p.a;
                    a += p.a;
                }
            uint8_t* out = &rgba[(y * side + x) * 4];
            // Colours are stored unpremultiplied, as PNG expects.
            out[0] = a > 0 ? uint8_t(std::lround(r / a)) : 0;
            out[1] = a > 0 ? uint8_t(std::lround(g / a)) : 0;
            out[2] = a > 0 ? uint8_t(std::lround(b / a)) : 0;
            out[3] = uint8_t(std::lround(a / (sub * sub) * 255));
        }
    return pngRgba(side, side, rgba);
}
