#include <gtest/gtest.h>

#include <cmath>

#include "raster/frame_buffer.h"
#include "raster/memory_image.h"

namespace rv {

namespace {

struct FrameBufferFixture : ::testing::Test {
    FrameBuffer frame;
    MemoryImage image{4, 3};
    const Color red{1, 0, 0, 1};
    const Color blue{0, 0, 1, 0.2f};
    // The image keeps no alpha.
    const Color shownBlue{0, 0, 1, 1};

    FrameBufferFixture() {
        frame.width = 4;
        frame.height = 3;
        frame.resize();
        frame.clear();
        frame.output = &image;
        image.beginSpan();
    }
    ~FrameBufferFixture() override { image.endSpan(); }
};

TEST_F(FrameBufferFixture, ClearEmptiesEveryPixel) {
    for (int i = 0; i < 12; ++i) EXPECT_EQ(frame.depth[i], FrameBuffer::empty);
    frame.plotPixel(4, 1, 2, 0.5f, red);
    frame.clear();
    EXPECT_EQ(frame.depth[2 * 4 + 1], FrameBuffer::empty);
    EXPECT_EQ(frame.stats.fragmentsPlotted, 0);
}

TEST_F(FrameBufferFixture, DepthTest) {
    struct Case {
        float first, second;
        bool secondPasses;
    };
    const Case cases[] = {
        {0.5f, 0.4f, true},   // nearer
        {0.5f, 0.5f, false},  // equal: the first stays
        {0.5f, 0.6f, false},  // farther
        {0.5f, std::nanf(""), false},
        // A negative depth is an ordinary near value, not an empty pixel.
        {-0.5f, 0.3f, false},
        {-0.5f, -0.7f, true},
    };
    for (const Case& c : cases) {
        frame.clear();
        frame.plotPixel(4, 3, 1, c.first, red);
        frame.plotPixel(4, 3, 1, c.second, blue);
        EXPECT_EQ(image.at(3, 1), c.secondPasses ? shownBlue : red) << c.first << " then " << c.second;
        EXPECT_EQ(frame.depth[4 + 3], c.secondPasses ? c.second : c.first);
    }
    frame.clear();
    frame.plotPixel(4, 0, 0, std::nanf(""), red);
    EXPECT_EQ(frame.depth[0], FrameBuffer::empty) << "a NaN depth never passes, even on an empty pixel";
}

TEST_F(FrameBufferFixture, ResizeKeepsTheRecordedSize) {
    frame.width = 7;
    frame.height = 5;
    frame.resize();
    frame.clear();
    for (int i = 0; i < 35; ++i) ASSERT_EQ(frame.depth[i], FrameBuffer::empty);
    frame.reset();
    EXPECT_EQ(frame.width, 0);
    EXPECT_EQ(frame.depth, nullptr);
}

} // namespace

} // namespace rv
