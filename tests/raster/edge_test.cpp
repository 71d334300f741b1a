#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "raster/edge.h"
#include "raster/pixel_index.h"
#include "raster_fixtures.h"

namespace rv {

namespace {

TEST(EdgeSetUp, SpreadsTheEndsOverWholeRows) {
    VertexMaker v;
    Edge e(v.at(20.7f, 8.6f), v.at(10.2f, 3.4f));
    EXPECT_EQ(e.yStart, 3);
    EXPECT_EQ(e.yEnd, 9);
    EXPECT_EQ(e.dy, 6);
    EXPECT_FLOAT_EQ(e.dxdy, 1.75f);
    EXPECT_EQ(e.x, 10.2f) << "no sub-pixel correction on the first row";
    for (int i = 0; i < 6; ++i) e.step();
    EXPECT_FLOAT_EQ(e.x, 20.7f);
}

TEST(EdgeSetUp, RowsOfTheEnds) {
    struct Case {
        float y;
        int row;
    };
    // Halves go up; below zero the sum truncates toward zero.
    for (const Case c : {Case{3.6f, 4}, {4.4f, 4}, {2.5f, 3}, {-1.2f, 0}, {-0.5f, 0}, {-1.5f, -1}, {-1.6f, -1}}) {
        VertexMaker v;
        const Edge e(v.at(0, c.y), v.at(0, 100));
        EXPECT_EQ(e.yStart, c.row) << "y = " << c.y;
    }
}

TEST(EdgeSetUp, OrdersTheEnds) {
    VertexMaker v;
    ScreenVertex& low = v.at(1, 2);
    ScreenVertex& high = v.at(5, 7);
    EXPECT_EQ(Edge(low, high).lower, &low);
    EXPECT_EQ(Edge(high, low).lower, &low);
    ScreenVertex& level = v.at(9, 2);
    EXPECT_EQ(Edge(low, level).lower, &level) << "on equal y the second argument is the lower end";
    EXPECT_EQ(Edge(level, low).lower, &low);
}

TEST(EdgeSetUp, StepByMatchesRepeatedSteps) {
    VertexMaker v;
    ScreenVertex& a = v.at(1.3f, 0.2f, 0.1f);
    ScreenVertex& b = v.at(7.9f, 12.6f, 0.8f, {1, 0, 0});
    a.texOverW = {0.1f, 0.2f, 0.5f};
    b.texOverW = {0.9f, 0.4f, 0.25f};
    Edge stepped(a, b);
    Edge jumped = stepped;
    for (int i = 0; i < 3; ++i) stepped.step();
    jumped.stepBy(3);
    EXPECT_FLOAT_EQ(jumped.x, stepped.x);
    EXPECT_FLOAT_EQ(jumped.z, stepped.z);
    EXPECT_FLOAT_EQ(jumped.texOverW.x, stepped.texOverW.x);
    EXPECT_FLOAT_EQ(jumped.texOverW.z, stepped.texOverW.z);
    EXPECT_FLOAT_EQ(jumped.normal.x, stepped.normal.x);
    EXPECT_FLOAT_EQ(jumped.normal.z, stepped.normal.z);
}

TEST(EdgeSetUp, NonFiniteEndsStayDefined) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    VertexMaker v;
    const Edge throughEye(v.at(3, -inf), v.at(4, 1e30f));
    EXPECT_EQ(throughEye.yStart, -((1 << 30) - 1));
    EXPECT_EQ(throughEye.yEnd, (1 << 30) - 1);
    const Edge undefined(v.at(3, nan), v.at(4, 10));
    EXPECT_EQ(undefined.yStart, undefined.yEnd) << "an end without a position makes the edge one that is never drawn";
}

TEST(PixelIndex, SaturatesAndTruncates) {
    const double inf = std::numeric_limits<double>::infinity();
    constexpr int limit = (1 << 30) - 1;
    EXPECT_EQ(truncateToIndex(2.9), 2);
    EXPECT_EQ(truncateToIndex(-2.9), -2);
    EXPECT_EQ(truncateToIndex(1e12), limit);
    EXPECT_EQ(truncateToIndex(-inf), -limit);
    EXPECT_EQ(truncateToIndex(std::nan("")), 0);
    EXPECT_EQ(truncateToIndex(1e7 + 0.5), 10000000) << "ordinary large values are untouched";
}

} // namespace

} // namespace rv
