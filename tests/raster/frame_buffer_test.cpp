#include <gtest/gtest.h>

#include <cmath>

#include "raster/frame_buffer.h"
#include "raster/frame_view.h"
#include "tests/support/memory_image.h"

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
        frame.resize(4, 3);
        frame.clear();
        frame.output = &image;
        image.beginSpan();
    }
    ~FrameBufferFixture() override { image.endSpan(); }
};

TEST_F(FrameBufferFixture, ClearEmptiesEveryPixel) {
    for (int i = 0; i < 12; ++i) EXPECT_EQ(frame.depth()[i], FrameBuffer::empty);
    FrameView(frame).plotPixel(1, 2, 0.5f, red);
    frame.clear();
    EXPECT_EQ(frame.depth()[2 * 4 + 1], FrameBuffer::empty);
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
        FrameView(frame).plotPixel(3, 1, c.first, red);
        FrameView(frame).plotPixel(3, 1, c.second, blue);
        EXPECT_EQ(image.at(3, 1), c.secondPasses ? shownBlue : red) << c.first << " then " << c.second;
        EXPECT_EQ(frame.depth()[4 + 3], c.secondPasses ? c.second : c.first);
    }
    frame.clear();
    FrameView(frame).plotPixel(0, 0, std::nanf(""), red);
    EXPECT_EQ(frame.depth()[0], FrameBuffer::empty) << "a NaN depth never passes, even on an empty pixel";
}

TEST_F(FrameBufferFixture, ResizeRecordsTheSizeAndReallocatesOnlyOnAChange) {
    frame.resize(7, 5);
    frame.clear();
    EXPECT_EQ(frame.width(), 7);
    EXPECT_EQ(frame.height(), 5);
    for (int i = 0; i < 35; ++i) ASSERT_EQ(frame.depth()[i], FrameBuffer::empty);
    const float* storage = frame.depth();
    frame.resize(7, 5);
    EXPECT_EQ(frame.depth(), storage);
    frame.resize(-3, 2);
    EXPECT_EQ(frame.width(), 0) << "a negative side counts as none";
    frame.reset();
    EXPECT_EQ(frame.width(), 0);
    EXPECT_EQ(frame.depth(), nullptr);
}

// What a band on another thread draws through: the buffer's own storage, but no
// sink (whose calls from several threads would interleave) and counters of its own.
TEST(FrameViews, OfABandShareTheStorageButNotTheSinkOrTheCounters) {
    FrameBuffer frame;
    MemoryImage image(3, 2);
    frame.keepColors();
    frame.resize(3, 2);
    frame.clear();
    frame.output = &image;
    RenderStats bandCounts;
    const FrameView band(frame, bandCounts);
    EXPECT_EQ(band.output(), nullptr);
    band.beginSpan();
    EXPECT_TRUE(band.plotPixel(1, 1, 0.5f, {1, 0, 0, 1}));
    band.endSpan();
    EXPECT_EQ(frame.depthAt(1, 1), 0.5f);
    EXPECT_EQ(frame.colorAt(1, 1), (Color{1, 0, 0, 1}));
    EXPECT_EQ(image.pointsPlotted, 0);
    EXPECT_EQ(bandCounts.spans, 1);
    EXPECT_EQ(frame.stats.spans, 0);

    const FrameView whole(frame);
    whole.beginSpan();
    EXPECT_FALSE(whole.plotPixel(1, 1, 0.5f, {0, 1, 0, 1})) << "the band's fragment is in the shared depth";
    EXPECT_TRUE(whole.plotPixel(2, 1, 0.5f, {0, 1, 0, 1}));
    whole.endSpan();
    EXPECT_EQ(image.pointsPlotted, 1);
    EXPECT_EQ(frame.stats.spans, 1);
}

TEST(FrameBufferColors, KeptFramesHoldEveryPassingFragmentOverTheBackground) {
    FrameBuffer frame;
    frame.keepColors({0.5f, 0.25f, 0, 1});
    frame.resize(3, 2);
    frame.clear();
    ASSERT_NE(frame.colors(), nullptr);
    FrameView(frame).plotPixel(2, 1, 0.5f, {1, 0, 0, 1});
    FrameView(frame).plotPixel(2, 1, 0.7f, {0, 1, 0, 1}); // farther: fails, the colour stays
    EXPECT_EQ(frame.colorAt(2, 1), (Color{1, 0, 0, 1}));
    EXPECT_EQ(frame.colorAt(0, 0), (Color{0.5f, 0.25f, 0, 1}));
    // Resizing keeps the choice; clearing brings the background back.
    frame.resize(4, 4);
    frame.clear();
    EXPECT_EQ(frame.colorAt(3, 3), (Color{0.5f, 0.25f, 0, 1}));
    frame.dropColors();
    EXPECT_EQ(frame.colors(), nullptr);
    FrameView(frame).plotPixel(1, 1, 0.5f, {1, 0, 0, 1});
    EXPECT_EQ(frame.depthAt(1, 1), 0.5f);
}

} // namespace

} // namespace rv
