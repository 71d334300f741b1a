#include "picture/inspection_views.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace rv {

namespace {

constexpr float white[3] = {1, 1, 1};

// A 4 x 1 frame: three drawn pixels at depths 0.2, 0.5 and 0.8, one empty.
struct FourPixels : ::testing::Test {
    float depth[4] = {0.5f, 0.2f, INFINITY, 0.8f};
    FragmentRecord records[4];
    FrameValues values() const { return {4, 1, depth, records}; }
    std::array<float, 3> at(const std::vector<float>& colours, int x) const {
        return {colours[x * 3], colours[x * 3 + 1], colours[x * 3 + 2]};
    }
};

TEST_F(FourPixels, DepthRunsDarkToLightOverTheFramesOwnRangeAndLeavesEmptyPixelsAlone) {
    const std::vector<float> c = falseColours(InspectView::depth, values(), white);
    EXPECT_FLOAT_EQ(at(c, 1)[0], 0.1f) << "nearest";
    EXPECT_FLOAT_EQ(at(c, 3)[0], 0.85f) << "farthest, still short of the white background";
    EXPECT_FLOAT_EQ(at(c, 0)[0], 0.475f);
    EXPECT_EQ(at(c, 2), (std::array<float, 3>{1, 1, 1}));
}

TEST_F(FourPixels, LodColoursTellLevelsFractionsAndMarkersApart) {
    records[0].lod = 0;
    records[1].lod = 2.5f;
    records[3].lod = lodMipmappingOff;
    std::vector<float> c = falseColours(InspectView::lod, values(), white);
    const std::array<float, 3> level0 = at(c, 0), halfway = at(c, 1), off = at(c, 3);
    records[1].lod = 2;
    records[3].lod = 3;
    c = falseColours(InspectView::lod, values(), white);
    const std::array<float, 3> level2 = at(c, 1), level3 = at(c, 3);
    EXPECT_NE(level0, level2);
    EXPECT_NE(level2, level3);
    for (int k = 0; k < 3; ++k) EXPECT_FLOAT_EQ(halfway[k], (level2[k] + level3[k]) / 2) << k;
    EXPECT_NE(off, level0);
    records[0].lod = lodUntextured;
    records[1].lod = 20; // past the last colour: the last one, not an index out of range
    c = falseColours(InspectView::lod, values(), white);
    EXPECT_NE(at(c, 0), off);
    EXPECT_NE(at(c, 0), level0);
}

TEST_F(FourPixels, NormalTexcoordAndSpansShowTheRecordedValues) {
    records[0].normal = {0, 0, 1};
    records[1].normal = {-1, 0.5f, 0};
    records[0].s = 1.25f;
    records[0].t = -0.25f;
    records[1].span = spanTag(4, 0, 0);
    records[3].span = spanTag(5, 0, 0);
    records[0].span = spanTag(4, 1, 0);
    const std::vector<float> normal = falseColours(InspectView::normal, values(), white);
    EXPECT_EQ(at(normal, 0), (std::array<float, 3>{0.5f, 0.5f, 1}));
    EXPECT_EQ(at(normal, 1), (std::array<float, 3>{0, 0.75f, 0.5f}));
    const std::vector<float> tex = falseColours(InspectView::texcoord, values(), white);
    EXPECT_EQ(at(tex, 0), (std::array<float, 3>{0.25f, 0.75f, 0}));
    const std::vector<float> spans = falseColours(InspectView::spans, values(), white);
    EXPECT_NE(at(spans, 1), at(spans, 3)) << "neighbouring rows";
    EXPECT_NE(at(spans, 1), at(spans, 0)) << "neighbouring spans of one row";
}

TEST(InspectViews, TheKeyCyclesThroughEveryViewAndBack) {
    InspectView view = InspectView::picture;
    for (const InspectView expected : falseColourViews) {
        view = nextView(view);
        EXPECT_EQ(view, expected);
        EXPECT_EQ(viewNamed(viewName(view)), view);
    }
    EXPECT_EQ(nextView(view), InspectView::picture);
    EXPECT_FALSE(viewNamed("picture")) << "not a false-colour view";
    EXPECT_FALSE(viewNamed("Depth"));
}

} // namespace

} // namespace rv
