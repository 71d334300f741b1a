#include "raster/row_clearing.h"

#include <gtest/gtest.h>

#include <vector>

namespace rv {

namespace {

// Lengths on either side of the sixteen-pixel groups: every pixel set, not one float beyond.
TEST(RowClearing, SetsExactlyItsPixelsAtEveryLength) {
    const Color background{0.25f, 0.5f, 0.75f, 1};
    const float marker = 1e30f;
    for (size_t pixels = 0; pixels <= 50; ++pixels) {
        std::vector<float> depth(pixels + 1, 7), rgb(pixels * 3 + 1, 7);
        clearDepth(depth.data(), pixels, marker);
        clearColors(rgb.data(), pixels, background);
        for (size_t i = 0; i < pixels; ++i) {
            ASSERT_EQ(depth[i], marker) << pixels << " pixels, " << i;
            ASSERT_EQ(rgb[i * 3], background.r) << pixels << " pixels, " << i;
            ASSERT_EQ(rgb[i * 3 + 1], background.g) << pixels << " pixels, " << i;
            ASSERT_EQ(rgb[i * 3 + 2], background.b) << pixels << " pixels, " << i;
        }
        EXPECT_EQ(depth[pixels], 7) << pixels << " pixels";
        EXPECT_EQ(rgb[pixels * 3], 7) << pixels << " pixels";
    }
}

} // namespace

} // namespace rv
