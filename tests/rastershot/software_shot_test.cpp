#include "tools/rastershot/software_shot.h"

#include <gtest/gtest.h>

namespace rv {

namespace {

TEST(Coverage, ComesFromTheDepthBufferWithTheTopRowFirst) {
    FrameBuffer frame;
    frame.resize(3, 2);
    frame.clear();
    // A fragment is coverage whatever its depth, negative and zero included.
    frame.depth()[0] = -0.5f; // bottom-left
    frame.depth()[5] = 0.0f;  // top-right
    EXPECT_EQ(coverage(frame), (std::vector<std::uint8_t>{0, 0, 1, 1, 0, 0}));
}

} // namespace

} // namespace rv
