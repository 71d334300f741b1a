// The vector span stepping against the scalar code that defines it, bit for
// bit, on every Highway target compiled in and supported here.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "raster/span_shading.h"
#include "raster/span_stepping.h"
#include "raster_fixtures.h"

namespace rv {

namespace {

struct Stepped {
    alignas(64) float values[steppedCount][shadingBatch];
    float* out[steppedCount];
    Stepped() {
        for (int c = 0; c < steppedCount; ++c) out[c] = values[c];
    }
};

// Steps of every kind: ordinary, tiny and huge (so that additions round), and
// values that turn infinite or NaN on the way.
SpanStepping someStepping(std::mt19937& random) {
    std::uniform_real_distribution<float> uniform(-2, 2);
    SpanStepping s;
    for (int c = 0; c < steppedCount; ++c) {
        s.value[c] = uniform(random) * (c % 3 == 0 ? 1e6f : 1);
        s.step[c] = uniform(random) * (c % 4 == 0 ? 1e-5f : 0.1f);
    }
    s.value[5] = std::numeric_limits<float>::max();
    s.step[5] = std::numeric_limits<float>::max() / 64;
    s.value[6] = std::numeric_limits<float>::infinity();
    s.step[6] = -std::numeric_limits<float>::infinity();
    s.step[7] = std::numeric_limits<float>::denorm_min();
    return s;
}

// Batches of lengths around every group of 4, 8 and 16 lanes and up to a full
// batch, one after the other, as span filling takes them.
TEST(SpanStepping, MatchesTheScalarStepsOnEveryTarget) {
    const std::vector<int> counts = {1, 3, 4, 5, 7, 8, 9, 15, 16, 17, 31, 33, 0, 127, shadingBatch, 2};
    for (const std::int64_t target : simdTargets()) {
        std::mt19937 random(17);
        SpanStepping scalar = someStepping(random), vector = scalar;
        const TargetChoice choice(target);
        for (const int count : counts) {
            Stepped expected, got;
            stepSpanScalar(scalar, count, expected.out);
            stepSpanSimd(vector, count, got.out);
            for (int c = 0; c < steppedCount; ++c)
                ASSERT_EQ(std::memcmp(expected.values[c], got.values[c], sizeof(float) * count), 0)
                    << targetName(target) << ", value " << c << ", batch of " << count;
            ASSERT_EQ(std::memcmp(scalar.value, vector.value, sizeof scalar.value), 0)
                << targetName(target) << ": where the values stop after a batch of " << count;
        }
    }
}

} // namespace

} // namespace rv
