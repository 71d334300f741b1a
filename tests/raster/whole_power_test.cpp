#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "raster/whole_power.h"

namespace rv {

namespace {

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

float libraryPower(double x, float e) { return static_cast<float>(std::pow(x, static_cast<double>(e))); }

TEST(PowToFloat, MatchesTheLibraryBitForBit) {
    std::mt19937 random(12345);
    std::uniform_real_distribution<float> base(-1.2f, 1.2f);
    for (const float e : {100.0f, 1.0f, 2.0f, 7.0f, 33.0f, 1024.0f, 0.5f, 2.5f, 1025.0f, 0.0f, -3.0f}) {
        for (int i = 0; i < 200000; ++i) {
            const double x = base(random);
            ASSERT_TRUE(sameBits(powToFloat(x, e), libraryPower(x, e))) << x << " ^ " << e;
        }
    }
}

TEST(PowToFloat, SpecialBases) {
    const double inf = std::numeric_limits<double>::infinity();
    for (const double x : {0.0, -0.0, 1.0, -1.0, 1e-3, -1e-3, 1e-40, 1e5, -1e5, inf, -inf, std::nan("")}) {
        for (const float e : {100.0f, 3.0f}) {
            const float fast = powToFloat(x, e), slow = libraryPower(x, e);
            EXPECT_TRUE(sameBits(fast, slow) || (std::isnan(fast) && std::isnan(slow))) << x << " ^ " << e;
        }
    }
}

} // namespace

} // namespace rv
