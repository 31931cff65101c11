// Range reduction to a small interval, then a fixed Taylor polynomial long
// enough that its truncation error is far below a double's last bit.
#include "detmath.h"

#include <bit>
#include <cmath>
#include <cstdint>

namespace det {

namespace {

// pi/2 in three parts of 33 bits each, so q * part is exact for |q| < 2^20.
constexpr double pio2a = 1.57079632673412561417e+00;
constexpr double pio2b = 6.07710050630396597660e-11;
constexpr double pio2c = 2.02226624871116645580e-21;
constexpr double twoOverPi = 6.36619772367581382433e-01;

// ln 2 in two parts; k * ln2a is exact for |k| < 2^21.
constexpr double ln2a = 6.93147180369123816490e-01;
constexpr double ln2b = 1.90821492927058770002e-10;
constexpr double log2e = 1.44269504088896338700e+00;

// Taylor terms of sin on |r| <= pi/4, up to r^17.
double sinPoly(double r)
{
    const double z = r * r;
    const double p =
        -1.0 / 6 +
        z * (1.0 / 120 +
             z * (-1.0 / 5040 + z * (1.0 / 362880 + z * (-1.0 / 39916800 +
                                                         z * (1.0 / 6227020800 + z * (-1.0 / 1307674368000 +
                                                                                      z * (1.0 / 355687428096000)))))));
    return r + r * z * p;
}

// Taylor terms of cos on |r| <= pi/4, up to r^18.
double cosPoly(double r)
{
    const double z = r * r;
    const double p =
        1.0 / 24 +
        z * (-1.0 / 720 +
             z * (1.0 / 40320 +
                  z * (-1.0 / 3628800 +
                       z * (1.0 / 479001600 +
                            z * (-1.0 / 87178291200 + z * (1.0 / 20922789888000 + z * (-1.0 / 6402373705728000)))))));
    return 1.0 - 0.5 * z + z * z * p;
}

// x = q * pi/2 + r with |r| <= pi/4; returns q mod 4.
int reduce(double x, double& r)
{
    const double q = std::floor(x * twoOverPi + 0.5);
    r = ((x - q * pio2a) - q * pio2b) - q * pio2c;
    return int(int64_t(q) & 3);
}

// 2^k for a normal result.
double pow2(int k)
{
    return std::bit_cast<double>(uint64_t(k + 1023) << 52);
}

// sin of a reduced argument r that lies in quadrant q.
double inQuadrant(int q, double r)
{
    switch (q & 3) {
        case 0:
            return sinPoly(r);
        case 1:
            return cosPoly(r);
        case 2:
            return -sinPoly(r);
        default:
            return -cosPoly(r);
    }
}

}  // namespace

double sin(double x)
{
    double r;
    const int q = reduce(x, r);
    return inQuadrant(q, r);
}

// A quarter turn on: cos x = sin(x + pi/2).
double cos(double x)
{
    double r;
    const int q = reduce(x, r);
    return inQuadrant(q + 1, r);
}

double exp(double x)
{
    if (x > 709.78)
        return HUGE_VAL;
    if (x < -745.2)
        return 0.0;
    // x = k ln 2 + r with |r| <= ln 2 / 2, and the Taylor terms of e^r up to r^14.
    const double k = std::floor(x * log2e + 0.5);
    const double r = (x - k * ln2a) - k * ln2b;
    double p = 1.0;
    for (double n = 14; n >= 1; --n)
        p = p * r / n + 1.0;
    const int e = int(k);
    if (e < -1021)
        return p * pow2(e + 64) * pow2(-64);  // a subnormal result
    return e > 1023 ? p * 2.0 * pow2(e - 1) : p * pow2(e);
}

double log(double x)
{
    if (x == 0.0)
        return -HUGE_VAL;
    if (!(x > 0.0) || x == HUGE_VAL)
        return x < 0.0 ? NAN : x;
    int e = 0;
    if (x < 0x1p-1022)
        x *= 0x1p64, e = -64;
    // x = m * 2^e with sqrt(1/2) <= m < sqrt(2).
    const uint64_t bits = std::bit_cast<uint64_t>(x);
    e += int(bits >> 52) - 1023;
    double m = std::bit_cast<double>((bits & 0x000fffffffffffffULL) | 0x3ff0000000000000ULL);
    if (m > 1.41421356237309504880)
        m *= 0.5, ++e;
    // log m = 2 atanh s, s = (m - 1) / (m + 1), |s| <= 0.172: terms up to s^23.
    const double s = (m - 1.0) / (m + 1.0), z = s * s;
    double p = 1.0 / 23;
    for (int n = 21; n >= 3; n -= 2)
        p = p * z + 1.0 / n;
    const double logm = 2.0 * s + 2.0 * s * z * p;
    return e * ln2a + (e * ln2b + logm);
}

double pow(double x, double y)
{
    if (y == 0.0 || x == 1.0)
        return 1.0;
    return exp(y * log(x));
}

double hypot(double x, double y)
{
    return std::sqrt(x * x + y * y);
}

long lround(double x)
{
    const double a = std::fabs(x);
    double r = std::floor(a);
    if (a - r >= 0.5)
        r += 1.0;
    return long(x < 0 ? -r : r);
}

}  // namespace det
