// The height map: a sum of plane waves whose frequencies are whole numbers of
// cycles across the 300-pixel map, so the terrain tiles with no seam at all.
#include "detmath.h"
#include "makedata.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int side = 300;

std::vector<double> waveTable(double (*f)(double))
{
    std::vector<double> t(side);
    for (int i = 0; i < side; ++i)
        t[i] = f(2.0 * M_PI * i / side);
    return t;
}

// Amplitude falls with frequency like natural terrain (about 1/f^beta), with
// a lift around 3..6 cycles so the map has broad valleys and ridges.
double amplitude(double f, double beta, double lift)
{
    const double broad = 1.0 + lift * det::exp(-((f - 4.0) * (f - 4.0)) / 6.0);
    return broad * det::pow(f, -beta);
}

std::vector<double> fractalField(Rng& rng, double minFreq, double maxFreq, double beta, double lift)
{
    static const std::vector<double> cosT = waveTable([](double a) { return det::cos(a); });
    static const std::vector<double> sinT = waveTable([](double a) { return det::sin(a); });
    std::vector<double> field(side * side, 0.0);
    const int top = int(maxFreq);
    for (int ky = 0; ky <= top; ++ky) {
        for (int kx = -top; kx <= top; ++kx) {
            if (ky == 0 && kx <= 0)
                continue;  // each wave once, and no constant term
            const double f = std::sqrt(double(kx * kx + ky * ky));
            const double a = randNormal(rng) * amplitude(f, beta, lift);
            const double b = randNormal(rng) * amplitude(f, beta, lift);
            if (f < minFreq || f > maxFreq)
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

// Rolling hills everywhere, and on high ground sharp crests: the folded band
// 1 - |n| peaks along the zero lines of n, which reads as mountain ridges.
std::vector<double> terrain(Rng& rng)
{
    std::vector<double> h = fractalField(rng, 1, 60, 2.0, 1.5);
    const std::vector<double> band = fractalField(rng, 2, 16, 1.8, 0.0);
    for (size_t i = 0; i < h.size(); ++i) {
        const double high = 1.0 / (1.0 + det::exp(-1.6 * h[i]));
        h[i] += 0.8 * (1.0 - std::fabs(band[i])) * high;
    }
    return h;
}

// Map to 0..255, half linear and half histogram-equalised: the whole range is
// used, from deep-blue lows to whitish peaks, yet the slopes keep their shape.
std::vector<uint8_t> stretch(const std::vector<double>& h)
{
    std::vector<double> sorted(h);
    std::sort(sorted.begin(), sorted.end());
    const double lo = sorted[sorted.size() / 400];
    const double hi = sorted[sorted.size() - 1 - sorted.size() / 400];
    std::vector<uint8_t> out(h.size());
    for (size_t i = 0; i < h.size(); ++i) {
        const double rank =
            double(std::lower_bound(sorted.begin(), sorted.end(), h[i]) - sorted.begin()) / sorted.size();
        const double lin = std::clamp((h[i] - lo) / (hi - lo), 0.0, 1.0);
        const double v = 0.6 * lin + 0.4 * rank;
        out[i] = uint8_t(det::lround(std::clamp(v, 0.0, 1.0) * 255.0));
    }
    return out;
}

// The demo colours heights 176..235 a strong yellow and 236 up red, so keep
// most ground below 176 (deep blue lows to snowy white) and let only the
// slopes and tops of the highest crests pass through yellow to red peaks.
std::vector<uint8_t> snowline(std::vector<uint8_t> m)
{
    for (uint8_t& v : m)
        v = uint8_t(v < 200 ? v * 175 / 200 : 175 + (v - 200) * 80 / 55);
    return m;
}

// The map is a torus, so any column or row may be its edge. Cut it where
// neighbours differ least, so the seam is as calm as the calmest interior.
int calmestCut(const std::vector<uint8_t>& m, int step, int across)
{
    int best = 0;
    long bestSum = -1;
    for (int c = 0; c < side; ++c) {
        long sum = 0;
        for (int i = 0; i < side; ++i)
            sum += std::abs(m[c * step + i * across] - m[((c + 1) % side) * step + i * across]);
        if (bestSum < 0 || sum < bestSum)
            bestSum = sum, best = c;
    }
    return best;
}

std::vector<uint8_t> roll(const std::vector<uint8_t>& m)
{
    const int cx = calmestCut(m, 1, side) + 1, cy = calmestCut(m, side, 1) + 1;
    std::vector<uint8_t> out(m.size());
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            out[y * side + x] = m[((y + cy) % side) * side + (x + cx) % side];
    return out;
}

}  // namespace

Bytes makeHeightMap()
{
    Rng rng{20270101u};
    return bmp8(side, side, roll(snowline(stretch(terrain(rng)))));
}
