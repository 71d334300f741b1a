// The vector logarithm of the mip level against levelLog, bit for bit, on every
// Highway target compiled in and supported here. All floats above 1 are
// checked by the level_log_exhaustive program, which takes minutes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "level_log_lanes.h"
#include "raster/level_log.h"
#include "raster_fixtures.h"

namespace rv {

namespace {

std::uint32_t bitsOf(float v) {
    std::uint32_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

float fromBits(std::uint32_t b) {
    float v;
    std::memcpy(&v, &b, sizeof v);
    return v;
}

void expectLevelLogBits(const std::vector<float>& inputs) {
    std::vector<float> out(inputs.size());
    for (const std::int64_t target : simdTargets()) {
        const TargetChoice choice(target);
        levelLogLanes(inputs.data(), out.data(), inputs.size());
        int wrong = 0;
        for (size_t i = 0; i < inputs.size(); ++i)
            if (bitsOf(out[i]) != bitsOf(levelLog(inputs[i])) && ++wrong <= 5)
                ADD_FAILURE() << targetName(target) << ": log of " << std::hexfloat << inputs[i] << " gives "
                              << out[i] << ", levelLog " << levelLog(inputs[i]);
        EXPECT_EQ(wrong, 0) << targetName(target);
    }
}

// Rounded to float, their logarithms lie so close to a rounding boundary that
// the kernel leaves them to the fallback.
const std::vector<float> closeToABoundary = {0x1.4cd816p+0f, 0x1.5cb51ep+1f, 0x1.a09964p+1f};

TEST(LevelLogLanes, MatchesTheScalarLogAtEveryBoundary) {
    constexpr float inf = std::numeric_limits<float>::infinity();
    constexpr float nan = std::numeric_limits<float>::quiet_NaN();
    std::vector<float> inputs = {1,
                                 std::nextafter(1.0f, 2.0f),
                                 std::nextafter(1.0f, 0.0f),
                                 std::numeric_limits<float>::denorm_min(),
                                 std::nextafter(std::numeric_limits<float>::min(), 0.0f),
                                 std::numeric_limits<float>::min(),
                                 std::numeric_limits<float>::max(),
                                 inf,
                                 -inf,
                                 nan,
                                 -nan,
                                 0,
                                 -0.0f,
                                 -1,
                                 -std::numeric_limits<float>::denorm_min(),
                                 // Both ends of the mantissa's range, sqrt(1/2) and sqrt(2).
                                 0x1.6a09e6p-1f,
                                 0x1.6a09e8p-1f,
                                 0x1.6a09e6p+0f,
                                 0x1.6a09e8p+0f};
    inputs.insert(inputs.end(), closeToABoundary.begin(), closeToABoundary.end());
    // Every power of two and its neighbours: k ln 2 alone, and with the smallest log(m).
    for (int e = -149; e <= 127; ++e) {
        const float p = std::ldexp(1.0f, e);
        inputs.insert(inputs.end(), {p, std::nextafter(p, 0.0f), std::nextafter(p, inf)});
    }
    expectLevelLogBits(inputs);
    std::vector<float> out(closeToABoundary.size());
    for (const std::int64_t target : simdTargets()) {
        const TargetChoice choice(target);
        EXPECT_EQ(levelLogLanes(closeToABoundary.data(), out.data(), out.size()), 3) << targetName(target);
    }
}

// A uniform sample of bit patterns, all of them and those above 1 (the level's
// only inputs), in lengths that leave a partial group.
TEST(LevelLogLanes, MatchesTheScalarLogOnARandomSample) {
#ifdef RV_SANITIZED
    constexpr int count = 1 << 16;
#else
    constexpr int count = 1 << 21;
#endif
    std::mt19937 random(20);
    std::uniform_int_distribution<std::uint32_t> anyBits, aboveOne(bitsOf(1.0f) + 1, bitsOf(HUGE_VALF));
    std::vector<float> inputs;
    for (int i = 0; i < count + 3; ++i) inputs.push_back(fromBits(anyBits(random)));
    for (int i = 0; i < count + 5; ++i) inputs.push_back(fromBits(aboveOne(random)));
    expectLevelLogBits(inputs);
}

} // namespace

} // namespace rv
