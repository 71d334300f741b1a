#include "tools/rastershot/frame_times.h"

#include <gtest/gtest.h>

namespace rv {

namespace {

TEST(FrameTimes, MedianOfOddAndEvenCountsAndTheMinimum) {
    const FrameTimes odd = summarise({5, 1, 9});
    EXPECT_EQ(odd.medianMs, 5);
    EXPECT_EQ(odd.minMs, 1);
    const FrameTimes even = summarise({4, 8, 1, 100});
    EXPECT_EQ(even.medianMs, 6);
    EXPECT_EQ(even.minMs, 1);
    EXPECT_EQ(summarise({}).medianMs, 0);
}

TEST(FrameTimes, TimesEveryFrame) {
    int calls = 0;
    const FrameTimes t = timeFrames(7, [&] { ++calls; });
    EXPECT_EQ(calls, 7);
    EXPECT_GE(t.medianMs, t.minMs);
}

TEST(StatsJson, EveryLineHasTheSameKeysWithNullForWhatARendererLacks) {
    RendererReport opengl{"opengl", 640, 480, 50, std::nullopt, std::nullopt, {1.5, 1.25}, std::nullopt, std::nullopt};
    EXPECT_EQ(toJson(opengl),
              "{\"renderer\": \"opengl\", \"width\": 640, \"height\": 480, \"frames\": 50, \"threads\": null, "
              "\"fragmentsShaded\": null, \"fragmentsPlotted\": null, \"spans\": null, \"medianMs\": 1.500, "
              "\"minMs\": 1.250, \"glPointsMedianMs\": null, \"glPointsMinMs\": null, \"glImageMedianMs\": null, "
              "\"glImageMinMs\": null}");
    RendererReport software{"software", 1, 2, 3, 4, RenderStats{4, 5, 6}, {7, 8}, FrameTimes{9, 10}, FrameTimes{11, 12}};
    EXPECT_EQ(toJson(software),
              "{\"renderer\": \"software\", \"width\": 1, \"height\": 2, \"frames\": 3, \"threads\": 4, "
              "\"fragmentsShaded\": 5, \"fragmentsPlotted\": 6, \"spans\": 4, \"medianMs\": 7.000, \"minMs\": 8.000, "
              "\"glPointsMedianMs\": 9.000, \"glPointsMinMs\": 10.000, \"glImageMedianMs\": 11.000, "
              "\"glImageMinMs\": 12.000}");
}

} // namespace

} // namespace rv
