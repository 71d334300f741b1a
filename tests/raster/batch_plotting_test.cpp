// The vector depth test and plotting against the scalar code that defines it,
// bit for bit, on every Highway target compiled in and supported here.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "raster/batch_plotting.h"
#include "raster/frame_buffer.h"
#include "raster/span_shading.h"
#include "raster_fixtures.h"

namespace rv {

namespace {

constexpr int rowWidth = 150;

struct Row {
    std::vector<float> depth = std::vector<float>(rowWidth);
    std::vector<float> rgb = std::vector<float>(rowWidth * 3);
};

// Depths drawn from a few values, so that the batch's equal, nearer, farther
// and NaN depths all meet a stored empty, equal or NaN one.
float someDepth(std::mt19937& random) {
    const float choices[] = {0.25f, 0.5f, 0.75f, -0.5f, FrameBuffer::empty, std::numeric_limits<float>::quiet_NaN()};
    return choices[std::uniform_int_distribution<int>(0, 5)(random)];
}

struct Case {
    int first;
    int begin;
    int end;
};

// Ranges that start and end on, before and after lane boundaries, up to a
// whole batch reaching the row's end.
TEST(BatchPlotting, MatchesTheScalarPlottingOnEveryTarget) {
    const std::vector<Case> cases = {{0, 0, 1},   {3, 0, 3},    {0, 0, 4},   {5, 0, 5},  {0, 0, 7},
                                     {1, 0, 8},   {0, 0, 9},    {7, 0, 15},  {0, 0, 16}, {2, 0, 17},
                                     {0, 5, 33},  {0, 16, 48},  {9, 3, 100}, {0, 0, 0},  {rowWidth - shadingBatch, 0, shadingBatch},
                                     {rowWidth - 17, 0, 17}};
    std::mt19937 random(2);
    std::uniform_real_distribution<float> channel(0, 1);
    for (const Case& c : cases)
        for (const bool colors : {true, false}) {
            Row start;
            for (float& d : start.depth) d = someDepth(random);
            for (float& v : start.rgb) v = channel(random);
            alignas(64) float z[shadingBatch];
            ShadedBatch shaded;
            for (int i = 0; i < shadingBatch; ++i) {
                z[i] = someDepth(random);
                shaded.lit[i] = random() % 4 == 0 ? 0 : -1;
                for (float* component : shaded.color) component[i] = channel(random);
            }
            Row expected = start;
            const PlotCounts want = plotBatchScalar(expected.depth.data(), colors ? expected.rgb.data() : nullptr,
                                                    c.first, z, shaded, c.begin, c.end);
            for (const std::int64_t target : simdTargets()) {
                const TargetChoice choice(target);
                Row got = start;
                const PlotCounts counts = plotBatchSimd(got.depth.data(), colors ? got.rgb.data() : nullptr, c.first,
                                                        z, shaded, c.begin, c.end);
                const std::string where = targetName(target) + ", fragments " + std::to_string(c.begin) + " to " +
                                          std::to_string(c.end) + " from column " + std::to_string(c.first) +
                                          (colors ? "" : ", depth only");
                EXPECT_EQ(counts.shaded, want.shaded) << where;
                EXPECT_EQ(counts.plotted, want.plotted) << where;
                EXPECT_EQ(std::memcmp(got.depth.data(), expected.depth.data(), rowWidth * sizeof(float)), 0) << where;
                EXPECT_EQ(std::memcmp(got.rgb.data(), expected.rgb.data(), rowWidth * 3 * sizeof(float)), 0) << where;
            }
        }
}

} // namespace

} // namespace rv
