// The height map: ridges whose crests run across the view, lit where they
// rise towards their peaks and dark in the valleys between, a frozen river
// and a frozen lake, and one pale mountain. Every wave is a whole number of
// cycles across the 300-pixel map, so the terrain tiles with no seam.
//
// The demo flies a fixed path over the map with its camera at a fixed
// height, drawing boxes of fixed size: ground falling towards the camera
// pulls its boxes apart into holes, high ground near the camera leaves the
// bottom of the screen bare, and high ground far off hides the sky. So the
// generator follows the path to learn how near the camera comes to each
// point, and keeps the ground low and its camera-facing slopes gentle where
// it comes near; only ground it sees from afar rises into the mountain. The
// colour of a box comes from the height 20 columns to its right, so crests
// that run along x keep their own colour: high is light, low is dark. No
// height reaches 176, where the colour's blue spills into its green.
#include "detmath.h"
#include "makedata.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int side = 300;
constexpr double twoPi = 6.283185307179586;

std::vector<double> waveTable(double (*f)(double))
{
    std::vector<double> t(side);
    for (int i = 0; i < side; ++i)
        t[i] = f(twoPi * i / side);
    return t;
}

// Amplitude falls with frequency like natural terrain (about 1/f^beta).
// Waves across x count `stretch` times their frequency, so the hills come
// out that much longer along x than along y.
std::vector<double> fractalField(Rng& rng, double maxFreq, double beta, double stretch)
{
    static const std::vector<double> cosT = waveTable([](double a) { return det::cos(a); });
    static const std::vector<double> sinT = waveTable([](double a) { return det::sin(a); });
    std::vector<double> field(side * side, 0.0);
    const int top = int(maxFreq);
    for (int ky = 0; ky <= top; ++ky) {
        for (int kx = -top; kx <= top; ++kx) {
            if (ky == 0 && kx <= 0)
                continue;  // each wave once, and no constant term
            const double f = std::sqrt(stretch * stretch * kx * kx + double(ky * ky));
            const double a = randNormal(rng) * det::pow(f, -beta);
            const double b = randNormal(rng) * det::pow(f, -beta);
            if (f > maxFreq)
                continue;
            const int stepX = (kx % side + side) % side;
            for (int y = 0; y < side; ++y) {
                int phase = (ky * y) % side;
                double* row = &field[y * side];
                for (int x = 0; x < side; ++x) {
                    row[x] += a * cosT[phase] + b * sinT[phase];
                    phase += stepX;
                    if (phase >= side)
                        phase -= side;
                }
            }
        }
    }
    double sq = 0;
    for (double v : field)
        sq += v * v;
    const double sd = std::sqrt(sq / field.size());
    for (double& v : field)
        v /= sd;
    return field;
}

double smooth(double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// A box blur of the given radius around the torus, along x then along y.
std::vector<double> blur(const std::vector<double>& in, int radius)
{
    std::vector<double> a(in), b(in.size());
    for (int pass = 0; pass < 2; ++pass) {
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                double sum = 0;
                for (int d = -radius; d <= radius; ++d)
                    sum += pass == 0 ? a[y * side + (x + d + side) % side] : a[(y + d + side) % side * side + x];
                b[y * side + x] = sum / (2 * radius + 1);
            }
        std::swap(a, b);
    }
    return a;
}

// The smallest value within radius along x, then along y: a square's minimum.
std::vector<double> erode(const std::vector<double>& in, int radius)
{
    std::vector<double> a(in), b(in.size());
    for (int pass = 0; pass < 2; ++pass) {
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                double low = a[y * side + x];
                for (int d = -radius; d <= radius; ++d)
                    low = std::min(low, pass == 0 ? a[y * side + (x + d + side) % side]
                                                  : a[(y + d + side) % side * side + x]);
                b[y * side + x] = low;
            }
        std::swap(a, b);
    }
    return a;
}

// The same bound kept by lowering the side away from the camera instead.
void lowerBacks(std::vector<double>& h, const std::vector<double>& maxDrop)
{
    for (bool changed = true; changed;) {
        changed = false;
        for (int y = side - 1; y >= 0; --y) {
            double* row = &h[y * side];
            const int next = (y + 1) % side * side;
            for (int x = 0; x < side; ++x) {
                const int left = next + (x + side - 1) % side;
                const double top = std::min(h[next + x] + maxDrop[next + x], h[left] + maxDrop[left]);
                if (row[x] > top) {
                    row[x] = top;
                    changed = true;
                }
            }
        }
    }
}

// Where the demo's camera path (pathX/pathY as its tables make them, at
// every odd position, which is every frame) brings each point of the map:
// the nearest of the 100 landscape rows it is drawn in, and whether it is
// ever one of the last two columns of row 89. Rows 90 and 91 stop short of
// the screen's last column, so there row 89 must reach down to its bottom.
struct Exposure {
    std::vector<int> nearest;
    std::vector<bool> edge;
};

Exposure exposure()
{
    Exposure e{std::vector<int>(side * side, -1), std::vector<bool>(side * side, false)};
    for (int k = 1; k < 15000; k += 2) {
        const int ox = int(500 + 500 * det::sin(k * 3.14 / 500));
        const int oy = int(250 + 250 * det::cos(k * 3.14 / 350));
        for (int row = 0; row < 100; ++row) {
            const int depth = 298 - 2 * row;
            const int cols = depth / 3 + depth / 12;
            for (int col = 0; col < cols; ++col) {
                const int i = (row + oy) % side * side + (col + ox) % side;
                e.nearest[i] = std::max(e.nearest[i], row);
                if (row == 89 && col >= cols - 2)
                    e.edge[i] = true;
            }
        }
    }
    return e;
}

// How far the ground may fall a row towards the camera: near the camera a
// box moves down the screen by about a box's height per row already.
std::vector<double> maxDrops(const Exposure& e)
{
    std::vector<double> d(side * side);
    for (int i = 0; i < side * side; ++i)
        d[i] = 2 + std::max(0, 80 - e.nearest[i]) * 0.15;
    return d;
}

// How high the ground may rise. In the 16 rows nearest the camera ground
// above about 100 leaves the bottom of the screen bare, and row 89 at the
// right edge above 72 does (at 72 its box still ends on the last screen
// row); ground only ever seen from afar may rise into mountains, the farther
// the higher, but never into the colours from 176 up.
std::vector<double> ceilings(const Exposure& e, const std::vector<double>& maxDrop)
{
    std::vector<double> c(side * side);
    for (int i = 0; i < side * side; ++i)
        c[i] = e.edge[i] ? 72 : std::min(175, 100 + std::max(0, 84 - e.nearest[i]) * 6);
    lowerBacks(c, maxDrop);
    // Each low ceiling spreads over the blur's reach first, so the smooth
    // one stays under it. Neither step loosens the bound on drops.
    return blur(erode(c, 3), 3);
}

// Four ridges run across the map, their crests winding along x. Towards
// the camera each falls at the steepest slope it may (2 a row), so the
// slope it shows runs from the dark valley floor up to its pale crest; away
// from the camera it drops out of sight. Each crest rises and falls in three
// or four peaks along x, whose colour, seen 20 columns on, lights the slopes
// that climb towards them from the left. Where the ceiling rises past 100 the
// ridges lift into the mountain; a faint grain breaks the smooth slopes.
std::vector<double> ridges(Rng& rng, const std::vector<double>& ceiling)
{
    constexpr int count = 4;
    constexpr double front = 2, back = 8;
    const std::vector<double> grain = fractalField(rng, 40, 1.5, 1.0);
    std::vector<double> h(side * side, 0.0);
    for (int j = 0; j < count; ++j) {
        const double y0 = (j + 0.25 * randSigned(rng)) * side / count;
        const double a1 = 12 * (0.6 + 0.4 * randUnit(rng)), p1 = twoPi * randUnit(rng);
        const double a2 = 12 * 0.4 * randUnit(rng), p2 = twoPi * randUnit(rng);
        const int k3 = 1 + int(3 * randUnit(rng));
        const double p3 = twoPi * randUnit(rng), p4 = twoPi * randUnit(rng);
        const int k5 = 3 + int(2 * randUnit(rng));
        const double p5 = twoPi * randUnit(rng);
        for (int x = 0; x < side; ++x) {
            const double t = twoPi * x / side;
            const double crest = y0 + a1 * det::sin(t + p1) + a2 * det::sin(2 * t + p2);
            const double top =
                90 + 15 * det::sin(k3 * t + p3) + 7.5 * det::sin((k3 + 2) * t + p4) + 30 * det::sin(k5 * t + p5);
            for (int y = 0; y < side; ++y) {
                double d = y - crest;  // rows towards the camera
                d -= side * std::floor(d / side + 0.5);
                const int i = y * side + x;
                const double lift = 1 + 1.5 * std::max(0.0, ceiling[i] - 100) / 100;
                h[i] = std::max(h[i], lift * (d >= 0 ? top - front * d : top + back * d));
            }
        }
    }
    for (int i = 0; i < side * side; ++i)
        h[i] = std::min(ceiling[i], std::max(0.0, h[i] + 6 * grain[i]));
    return h;
}

// A river winds across the map between x-periodic banks: its bed is flat
// ice, its banks rise over a few rows on either side.
void river(std::vector<double>& h)
{
    for (int x = 0; x < side; ++x) {
        const double a = twoPi * x / side;
        const double centre = 150 + 22 * det::sin(a) + 9 * det::sin(3 * a + 1.3) + 4 * det::sin(5 * a + 0.4);
        for (int y = 0; y < side; ++y) {
            double d = std::fabs(y - centre);
            d = std::min(d, side - d);
            const double bed = 10 + 6 * smooth((d - 5) / 14.0) + 250 * smooth((d - 8) / 50.0);
            double& v = h[y * side + x];
            v = std::min(v, bed);
        }
    }
}

// A frozen lake: a flat oval, wide along x so its ice keeps its own colour.
void lake(std::vector<double>& h)
{
    const double cx = 60, cy = 40, rx = 46, ry = 20;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            double dx = std::fabs(x - cx), dy = std::fabs(y - cy);
            dx = std::min(dx, side - dx), dy = std::min(dy, side - dy);
            const double r = std::sqrt(dx * dx / (rx * rx) + dy * dy / (ry * ry));
            double& v = h[y * side + x];
            v = 22 + (v - 22) * smooth((r - 1.0) / 0.6);
        }
}

// Ground may fall towards the camera by at most maxDrop a row, so faces the
// camera sees never stretch its boxes apart. Along one column of the screen
// the boxes come from map column x at the left edge and from about x - 0.8
// per row nearer at the right edge, so both (x, y + 1) and (x - 1, y + 1)
// count as the next row. Raising the lower side only, around the torus
// until nothing changes.
void limitDrops(std::vector<double>& h, const std::vector<double>& maxDrop)
{
    for (bool changed = true; changed;) {
        changed = false;
        for (int y = 0; y < side; ++y) {
            const double* row = &h[y * side];
            double* next = &h[(y + 1) % side * side];
            const double* drop = &maxDrop[(y + 1) % side * side];
            for (int x = 0; x < side; ++x) {
                const double floor = std::max(row[x], row[(x + 1) % side]) - drop[x];
                if (next[x] < floor) {
                    next[x] = floor;
                    changed = true;
                }
            }
        }
    }
}

std::vector<uint8_t> quantise(const std::vector<double>& h)
{
    std::vector<uint8_t> out(h.size());
    for (size_t i = 0; i < h.size(); ++i)
        out[i] = uint8_t(det::lround(std::clamp(h[i], 0.0, 255.0)));
    return out;
}

}  // namespace

Bytes makeHeightMap()
{
    Rng rng{20270101u};
    const Exposure seen = exposure();
    const std::vector<double> maxDrop = maxDrops(seen);
    const std::vector<double> ceiling = ceilings(seen, maxDrop);
    std::vector<double> h = ridges(rng, ceiling);
    river(h);
    lake(h);
    limitDrops(h, maxDrop);
    for (int i = 0; i < side * side; ++i)
        h[i] = std::min(h[i], ceiling[i]);
    return bmp8(side, side, quantise(h));
}
