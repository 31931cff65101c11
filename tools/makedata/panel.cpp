// The picture panel: a snowy night with a full moon, a decorated fir tree,
// presents and the greeting. Its right side follows the tree's outline, so
// the demo's landscape and sky show around it.
#include "detmath.h"
#include "makedata.h"
#include "render/layout.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr int width = panelWidth;
constexpr int height = screenHeight;
constexpr int subSteps = 4;  // supersampling inside the picture
constexpr double treeX = 84.0;

struct Colour {
    double r, g, b;
};

Colour mix(Colour a, Colour b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour scale(Colour a, double k)
{
    return {a.r * k, a.g * k, a.b * k};
}

Colour add(Colour a, Colour b)
{
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}

enum Layer { none, sky, moon, ground, trunk, present, foliage, bauble, star };

struct Sample {
    Colour c;
    Layer layer;
};

// A cheap, repeatable hash for textures, so no state is needed per pixel.
double hashNoise(int x, int y)
{
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return ((h ^ (h >> 16)) & 0xffff) / 65535.0;
}

// ---- sky --------------------------------------------------------------

constexpr double moonX = 22, moonY = 27, moonR = 10;

// The landscape's boxes start at column 74, and left of it the demo draws
// only its flat sky band in rows 0..59. So the picture's sky fills all of
// that side: no strip of the demo's sky shows between the two, and the
// ground behind the star meets only the picture's own sky.
bool inSkyWindow(double x)
{
    return x < landscapeX;
}

// Night blue, lit around the moon. Towards the landscape's edge the upper
// sky turns into the demo's sky colour, so where its sky band goes on to the
// right there is no seam.
Colour skyAt(double x, double y)
{
    const Colour top{6, 10, 34}, mid{20, 32, 86}, low{70, 62, 130};
    const Colour band{double(skyColour.r), double(skyColour.g), double(skyColour.b)};
    Colour c = y < 120 ? mix(top, mid, y / 120.0) : mix(mid, low, (y - 120) / 90.0);
    const double d = det::hypot(x - moonX, y - moonY);
    const double glow = 70.0 * det::exp(-(d - moonR) / 12.0);
    if (d > moonR)
        c = add(c, {glow * 0.8, glow * 0.85, glow});
    const double fx = std::clamp((x - 34) / 39.0, 0.0, 1.0), fy = std::clamp((100 - y) / 50.0, 0.0, 1.0);
    return mix(c, band, fx * fx * (3 - 2 * fx) * fy * fy * (3 - 2 * fy));
}

Colour moonColour(double x, double y)
{
    const double dx = (x - moonX) / moonR, dy = (y - moonY) / moonR;
    Colour c = mix({255, 250, 222}, {214, 206, 170}, (dx + dy) * 0.35 + 0.35);
    // A few soft maria, so it reads as the moon and not as a lamp.
    const double spots[][3] = {{-0.3, -0.2, 0.3}, {0.25, 0.15, 0.25}, {-0.05, 0.45, 0.2}, {0.4, -0.35, 0.15}};
    for (const auto& s : spots) {
        const double d = det::hypot(dx - s[0], dy - s[1]) / s[2];
        if (d < 1)
            c = scale(c, 0.93 - 0.05 * (1 - d));
    }
    return c;
}

// ---- ground -----------------------------------------------------------

double groundTop(double x)
{
    double y = 207 + 2.5 * det::sin(x * 0.07) + 1.5 * det::sin(x * 0.19 + 1.0);
    if (x > 112)
        y += det::pow((x - 112) / 38.0, 2.0) * 30.0;  // the drift falls away on the right
    return y;
}

Colour groundColour(double x, double y)
{
    const double depth = y - groundTop(x);
    Colour c = mix({236, 242, 255}, {150, 170, 222}, depth / 26.0);
    // The tree's shadow, cast away from the moon.
    const double sx = x - treeX - (y - 205) * 1.2;
    if (std::fabs(sx) < 40 && y < 228)
        c = scale(c, 0.86 + 0.14 * std::fabs(sx) / 40);
    return c;
}

// ---- tree -------------------------------------------------------------

struct Tier {
    double top, bottom, halfWidth;
};

constexpr std::array<Tier, 4> tiers{{{30, 72, 20}, {52, 108, 34}, {84, 148, 49}, {118, 192, 66}}};

// Drooping branch tips with small scallops along the lower edge.
double tierBottom(const Tier& t, double dx)
{
    const double u = std::min(std::fabs(dx) / t.halfWidth, 1.0);
    return t.bottom - 6 + 9 * u * u - 2.5 * std::fabs(det::sin(dx * M_PI / 8.0));
}

double tierHalfWidth(const Tier& t, double y)
{
    const double s = std::clamp((y - t.top) / (t.bottom - 4 - t.top), 0.0, 1.0);
    return t.halfWidth * det::pow(s, 0.8);
}

bool inTier(const Tier& t, double x, double y)
{
    const double dx = x - treeX;
    return y >= t.top && y <= tierBottom(t, dx) && std::fabs(dx) <= tierHalfWidth(t, y);
}

int tierAt(double x, double y)
{
    for (int i = int(tiers.size()) - 1; i >= 0; --i)
        if (inTier(tiers[i], x, y))
            return i;
    return -1;
}

Colour foliageColour(int i, double x, double y)
{
    const Tier& t = tiers[i];
    const double dx = x - treeX;
    const double w = std::max(tierHalfWidth(t, y), 1.0);
    double light = 0.75 - 0.35 * dx / w;  // moonlit from the left
    // Needles: short slanting strokes running outwards and down.
    const double wobble = 1.5 * hashNoise(int(x / 3), int(y / 2));
    const double strokes = det::sin((y * 1.1 - std::fabs(dx) * 0.6) * 1.7 + wobble) * 0.5 + 0.5;
    light *= 0.8 + 0.2 * strokes + 0.08 * hashNoise(int(x * subSteps), int(y * subSteps));
    // Moonlight catches the left edge of every tier.
    if (!inTier(t, x - 1.5, y) && dx < 0)
        light *= 1.45;
    // The tier above casts a shadow on the top of this one.
    if (i > 0 && y < tierBottom(tiers[i - 1], dx) + 5)
        light *= 0.62;
    Colour c = scale({26, 92, 52}, light);
    // Snow lying along the drooping tips.
    const double lip = tierBottom(t, dx) - y;
    const double snowDepth = 2.2 + 1.2 * det::sin(dx * 0.9 + i);
    if (lip < snowDepth && std::fabs(dx) > 3)
        c = mix({245, 250, 255}, {170, 190, 230}, dx / w * 0.6 + 0.2);
    return c;
}

struct Ball {
    double x, y, r;
    Colour c;
};

const Colour red{214, 30, 44}, gold{236, 180, 40}, blue{40, 110, 230}, silver{200, 210, 225}, violet{160, 60, 200};

const std::array<Ball, 13> balls{{
    {treeX - 6, 58, 3.2, red},
    {treeX + 8, 64, 3.0, gold},
    {treeX - 18, 90, 3.6, blue},
    {treeX + 4, 86, 3.4, violet},
    {treeX + 22, 98, 3.6, red},
    {treeX - 30, 128, 4.0, gold},
    {treeX - 8, 122, 4.0, red},
    {treeX + 14, 118, 3.6, silver},
    {treeX + 38, 136, 4.0, blue},
    {treeX - 44, 172, 4.4, red},
    {treeX - 16, 160, 4.4, blue},
    {treeX + 12, 170, 4.4, gold},
    {treeX + 42, 178, 4.4, violet},
}};

int ballAt(double x, double y)
{
    for (size_t i = 0; i < balls.size(); ++i)
        if (det::hypot(x - balls[i].x, y - balls[i].y) <= balls[i].r)
            return int(i);
    return -1;
}

Colour ballColour(const Ball& b, double x, double y)
{
    // Lit from the upper left, with a hard specular spot.
    const double dx = (x - b.x) / b.r, dy = (y - b.y) / b.r;
    const double nz = std::sqrt(std::max(0.0, 1 - dx * dx - dy * dy));
    const double diffuse = std::max(0.0, (-0.5 * dx - 0.55 * dy + 0.65 * nz));
    Colour c = scale(b.c, 0.3 + 0.8 * diffuse);
    if (det::hypot(dx + 0.38, dy + 0.42) < 0.28)
        c = mix(c, {255, 255, 255}, 0.85);
    return c;
}

// Little lights on a garland that winds around each tier.
bool lightAt(double x, double y, Colour& c)
{
    const Colour bulbs[] = {{255, 230, 120}, {255, 110, 90}, {130, 255, 150}, {140, 200, 255}};
    int n = 0;
    for (const Tier& t : tiers) {
        const double y0 = t.top + (t.bottom - t.top) * 0.35, y1 = t.bottom - 9;
        for (int k = 0; k <= 6; ++k, ++n) {
            const double f = k / 6.0;
            const double ly = y0 + (y1 - y0) * f;
            const double lx = treeX + tierHalfWidth(t, ly) * 0.85 * (2 * f - 1);
            if (det::hypot(x - lx, y - ly) < 1.3) {
                c = bulbs[n % 4];
                return true;
            }
        }
    }
    return false;
}

// ---- star -------------------------------------------------------------

constexpr double starX = treeX, starY = 22;

bool inStar(double x, double y)
{
    // Even-odd test against the ten corners of a five-pointed star.
    double px[10], py[10];
    for (int i = 0; i < 10; ++i) {
        const double a = -M_PI / 2 + i * M_PI / 5;
        const double r = i % 2 ? 4.6 : 11.0;
        px[i] = starX + r * det::cos(a);
        py[i] = starY + r * det::sin(a);
    }
    bool in = false;
    for (int i = 0, j = 9; i < 10; j = i++)
        if ((py[i] > y) != (py[j] > y) && x < (px[j] - px[i]) * (y - py[i]) / (py[j] - py[i]) + px[i])
            in = !in;
    return in;
}

Colour starColour(double x, double y)
{
    const double d = det::hypot(x - starX, y - starY) / 11.0;
    Colour c = mix({255, 250, 190}, {230, 150, 20}, d * 1.3);
    if ((x - starX) > 0 && (y - starY) > -2)
        c = scale(c, 0.82);  // a bevel: one facet in shade
    return c;
}

// ---- presents and trunk ------------------------------------------------

struct Box {
    double x0, y0, x1, y1;
    Colour paper, ribbon;
};

const std::array<Box, 3> boxes{{{38, 193, 60, 213, {190, 30, 50}, {250, 210, 80}},
                                {100, 198, 118, 214, {40, 90, 200}, {235, 240, 250}},
                                {60, 203, 74, 216, {40, 150, 90}, {240, 80, 80}}}};

int boxAt(double x, double y)
{
    for (int i = int(boxes.size()) - 1; i >= 0; --i) {
        const Box& b = boxes[i];
        if (x >= b.x0 && x < b.x1 && y >= b.y0 && y < b.y1)
            return i;
    }
    return -1;
}

Colour boxColour(const Box& b, double x, double y)
{
    const double mx = (b.x0 + b.x1) / 2, my = b.y0 + (b.y1 - b.y0) * 0.4;
    Colour c = b.paper;
    if (std::fabs(x - mx) < 1.6 || std::fabs(y - my) < 1.6)
        c = b.ribbon;
    if (y < b.y0 + 2.5)
        c = mix(c, {255, 255, 255}, 0.35);  // the lid catches the light
    return scale(c, 1.05 - 0.35 * (x - b.x0) / (b.x1 - b.x0));
}

bool inTrunk(double x, double y)
{
    return std::fabs(x - treeX) < 6 && y > 180 && y < 212;
}

Colour trunkColour(double x)
{
    return scale({110, 70, 40}, 1.0 - 0.05 * (x - treeX));
}

// ---- scene ------------------------------------------------------------

Sample scene(double x, double y)
{
    if (inStar(x, y))
        return {starColour(x, y), star};
    if (int i = boxAt(x, y); i >= 0)
        return {boxColour(boxes[i], x, y), present};
    Colour lamp;
    const int tier = tierAt(x, y);
    if (tier >= 0) {
        if (int b = ballAt(x, y); b >= 0)
            return {ballColour(balls[b], x, y), bauble};
        if (lightAt(x, y, lamp))
            return {lamp, bauble};
        return {foliageColour(tier, x, y), foliage};
    }
    if (inTrunk(x, y))
        return {trunkColour(x), trunk};
    if (y >= groundTop(x))
        return {groundColour(x, y), ground};
    if (inSkyWindow(x)) {
        if (det::hypot(x - moonX, y - moonY) <= moonR)
            return {moonColour(x, y), moon};
        return {skyAt(x, y), sky};
    }
    return {{0, 0, 0}, none};
}

struct Canvas {
    std::vector<Colour> c;
    std::vector<Layer> layer;
};

// Pixels take the average of their covered subsamples only, so the outline
// against the transparent colour stays hard and free of any fringe.
Canvas render()
{
    Canvas cv{std::vector<Colour>(width * height), std::vector<Layer>(width * height, none)};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Sample centre = scene(x + 0.5, y + 0.5);
            if (centre.layer == none)
                continue;
            Colour sum{0, 0, 0};
            int n = 0;
            for (int sy = 0; sy < subSteps; ++sy)
                for (int sx = 0; sx < subSteps; ++sx) {
                    const Sample s = scene(x + (sx + 0.5) / subSteps, y + (sy + 0.5) / subSteps);
                    if (s.layer == none)
                        continue;
                    sum = add(sum, s.c);
                    ++n;
                }
            cv.c[y * width + x] = scale(sum, 1.0 / n);
            cv.layer[y * width + x] = centre.layer;
        }
    }
    return cv;
}

void plot(Canvas& cv, int x, int y, Colour c, double alpha, Layer only)
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return;
    const int i = y * width + x;
    if (cv.layer[i] == only)
        cv.c[i] = mix(cv.c[i], c, alpha);
}

void starfield(Canvas& cv)
{
    Rng rng{1231u};
    for (int n = 0; n < 70; ++n) {
        const int x = int(randUnit(rng) * width), y = int(randUnit(rng) * 200);
        const double b = 0.35 + 0.65 * randUnit(rng) * randUnit(rng);
        const Colour c = mix({255, 255, 255}, {190, 210, 255}, randUnit(rng));
        plot(cv, x, y, c, b, sky);
        if (b > 0.75) {  // the brightest few twinkle with a small cross
            for (int d : {-1, 1}) {
                plot(cv, x + d, y, c, b * 0.45, sky);
                plot(cv, x, y + d, c, b * 0.45, sky);
            }
        }
    }
}

// Snow falling in the picture's own sky, as it does over the landscape.
void snowfall(Canvas& cv)
{
    Rng rng{4242u};
    for (int n = 0; n < 45; ++n) {
        const int x = int(randUnit(rng) * 74), y = int(randUnit(rng) * 205);
        const double a = 0.5 + 0.5 * randUnit(rng);
        plot(cv, x, y, {235, 240, 255}, a, sky);
        if (n % 3 == 0) {  // nearer flakes are bigger and softer
            plot(cv, x + 1, y, {235, 240, 255}, a * 0.6, sky);
            plot(cv, x, y + 1, {235, 240, 255}, a * 0.6, sky);
            plot(cv, x + 1, y + 1, {235, 240, 255}, a * 0.35, sky);
        }
    }
}

void glitter(Canvas& cv)
{
    Rng rng{777u};
    for (int n = 0; n < 90; ++n) {
        const int x = int(randUnit(rng) * width), y = 200 + int(randUnit(rng) * 40);
        plot(cv, x, y, {255, 255, 255}, 0.9, ground);
    }
}

// Text in the pixel font with a one-pixel dark outline, so it stays legible
// on snow and on sky alike.
void text(Canvas& cv, const char* s, int x0, int y0, int size, Colour top, Colour bottom)
{
    const int advance = 6 * size;
    for (int pass = 0; pass < 2; ++pass) {
        for (int k = 0; s[k]; ++k) {
            const uint8_t* rows = glyph(s[k]);
            for (int gy = 0; gy < 7 * size; ++gy)
                for (int gx = 0; gx < 5 * size; ++gx) {
                    if (!(rows[gy / size] & (0x10 >> (gx / size))))
                        continue;
                    const int x = x0 + k * advance + gx, y = y0 + gy;
                    if (pass == 0) {
                        for (int oy = -1; oy <= 1; ++oy)
                            for (int ox = -1; ox <= 1; ++ox)
                                if (x + ox >= 0 && x + ox < width && cv.layer[(y + oy) * width + x + ox] != none)
                                    cv.c[(y + oy) * width + x + ox] = {20, 18, 48};
                    } else {
                        cv.c[y * width + x] = mix(top, bottom, double(gy) / (7 * size - 1));
                    }
                }
        }
    }
}

Rgb toRgb(Colour c)
{
    Rgb p{uint8_t(det::lround(std::clamp(c.r, 0.0, 255.0))), uint8_t(det::lround(std::clamp(c.g, 0.0, 255.0))),
          uint8_t(det::lround(std::clamp(c.b, 0.0, 255.0)))};
    if (p.r >= 240 && p.b >= 240 && p.g < 16)
        p.g = 16;  // keep clear of the transparent key
    return p;
}

}  // namespace

Bytes makePanel()
{
    Canvas cv = render();
    starfield(cv);
    snowfall(cv);
    glitter(cv);
    text(cv, "2027", 6, 66, 2, {255, 236, 140}, {232, 150, 30});
    text(cv, "HAPPY NEW YEAR", 33, 224, 1, {235, 40, 50}, {160, 20, 40});
    std::vector<Rgb> px(width * height);
    for (int i = 0; i < width * height; ++i)
        px[i] = cv.layer[i] == none ? Rgb{255, 0, 255} : toRgb(cv.c[i]);
    return bmp24(width, height, px);
}
