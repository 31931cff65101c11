// The generator's own math against libm over sweeps of the arguments it uses
// and beyond: libm is the reference here, never in the generator.
#include "detmath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

// Largest |ours - libm| over the sweep, in units of the last place of libm's
// result (or of `floor` where the result is smaller, as near a zero of sin).
double worstUlps(const std::function<double(double)>& ours, const std::function<double(double)>& ref, double from,
                 double to, int steps, double floor = 0.0)
{
    double worst = 0;
    for (int i = 0; i <= steps; ++i) {
        const double x = from + (to - from) * i / steps;
        const double want = ref(x);
        const double ulp =
            std::nextafter(std::max(std::fabs(want), floor), HUGE_VAL) - std::max(std::fabs(want), floor);
        worst = std::max(worst, std::fabs(ours(x) - want) / ulp);
    }
    return worst;
}

}  // namespace

TEST(DetMath, SinAndCosWithinTwoUlpsOfOne)
{
    const auto dsin = [](double x) { return det::sin(x); };
    const auto dcos = [](double x) { return det::cos(x); };
    const auto lsin = [](double x) { return std::sin(x); };
    const auto lcos = [](double x) { return std::cos(x); };
    EXPECT_LE(worstUlps(dsin, lsin, -40000.3, 40000.1, 2000000, 1.0), 2.0);
    EXPECT_LE(worstUlps(dcos, lcos, -40000.3, 40000.1, 2000000, 1.0), 2.0);
    EXPECT_LE(worstUlps(dsin, lsin, -1e-3, 1e-3, 100000), 2.0);  // relative, near zero
    EXPECT_LE(worstUlps(dcos, lcos, -0.7, 0.7, 100000), 2.0);
    EXPECT_EQ(det::sin(0.0), 0.0);
    EXPECT_EQ(det::cos(0.0), 1.0);
}

TEST(DetMath, ExpLogAndPowWithinAFewUlps)
{
    EXPECT_LE(worstUlps([](double x) { return det::exp(x); }, [](double x) { return std::exp(x); }, -700, 700, 1000000),
              2.0);
    EXPECT_LE(
        worstUlps([](double x) { return det::log(x); }, [](double x) { return std::log(x); }, 1e-6, 1e6, 1000000, 1.0),
        2.0);
    EXPECT_LE(worstUlps([](double x) { return det::log(x); }, [](double x) { return std::log(x); }, 0.5, 2.0, 100000),
              4.0);  // relative, near log's zero
    // pow goes through exp(y log x), which carries log's rounding times |y log x|.
    for (double y : {-2.0, -1.8, 0.8, 2.0, 7.0})
        for (double x = 0.01; x < 60.0; x += 0.0007) {
            const double want = std::pow(x, y);
            const double ulp = std::nextafter(want, HUGE_VAL) - want;
            ASSERT_LE(std::fabs(det::pow(x, y) - want) / ulp, 2.0 * (1.0 + std::fabs(y * std::log(x))))
                << "pow(" << x << ", " << y << ")";
        }
    EXPECT_EQ(det::exp(0.0), 1.0);
    EXPECT_EQ(det::exp(-800.0), 0.0);
    EXPECT_EQ(det::log(1.0), 0.0);
    EXPECT_EQ(det::pow(0.0, 0.8), 0.0);
    EXPECT_EQ(det::pow(1.25, 0.0), 1.0);
}

TEST(DetMath, HypotWithinOneUlp)
{
    for (double y : {-3.0, 0.0, 0.5, 11.0, 70.0})
        EXPECT_LE(worstUlps([y](double x) { return det::hypot(x, y); }, [y](double x) { return std::hypot(x, y); },
                            -150, 150, 100000),
                  1.0);
}

TEST(DetMath, LroundIsExactlyLibms)
{
    for (double x :
         {0.5, 1.5, 2.5, -0.5, -2.5, 0.49999999999999994, -0.49999999999999994, 4503599627370495.5, 1e15 + 0.5})
        EXPECT_EQ(det::lround(x), std::lround(x)) << x;
    for (int i = -100000; i <= 100000; ++i) {
        const double x = i * 0.0025;
        ASSERT_EQ(det::lround(x), std::lround(x)) << x;
        ASSERT_EQ(det::lround(std::nextafter(x, 0.0)), std::lround(std::nextafter(x, 0.0))) << x;
    }
}
