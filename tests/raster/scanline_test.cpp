#include <gtest/gtest.h>

#include "raster/draw_objects.h"
#include "raster/scanline.h"
#include "raster_fixtures.h"

namespace rv {

namespace {

// Corners on rows 0, 10 and 20; the middle corner B lies right of the long side A-C.
struct TriangleFixture : ::testing::Test {
    VertexMaker v;
    const ScreenVertex& a = v.at(4, 0);
    const ScreenVertex& b = v.at(20, 10);
    const ScreenVertex& c = v.at(8, 20);
    // Edges (A, C), (B, A), (C, B).
    std::vector<Edge> edges = loopEdges({&a, &b, &c});
    Edge& longSide = edges[0];
    Edge& upperSide = edges[2];
};

TEST_F(TriangleFixture, SharedVertexIsCountedOnce) {
    std::vector<Edge*> all{&edges[0], &edges[1], &edges[2]};
    EdgeTable table;
    table.build(all, 0, 32);
    ActiveEdgeList list;
    for (int r = 0; r <= 20; ++r) {
        list.advance(table.bucket(r));
        ASSERT_EQ(list.active.size(), 2u) << "row " << r;
        if (r == 10) {
            EXPECT_EQ(list.active[0], &longSide);
            EXPECT_EQ(list.active[1], &upperSide) << "the side ending at the middle corner is dropped";
        }
    }
    EXPECT_EQ(list.active[0]->yEnd, 20) << "at the top corner both ending sides stay";
    EXPECT_EQ(list.active[1]->yEnd, 20);
    list.advance(table.bucket(21));
    EXPECT_TRUE(list.active.empty());
}

TEST_F(TriangleFixture, OneSpanPerRow) {
    Scene scene = flatScene();
    FrameBuffer frame;
    RecordingSink sink(32, 32);
    prepareFrame(frame, 32, 32, &sink);
    scanPolygon(edges, scene, frame);
    // Rows 0 and 20 hold a corner only: their spans are empty and open no bracket.
    for (int r = 1; r < 20; ++r) EXPECT_EQ(sink.spansOnRow(r), 1) << "row " << r;
    EXPECT_EQ(frame.stats.spans, 19);
    for (int x = 0; x < 32; ++x) EXPECT_EQ(sink.hitsAt(x, 10), x >= 6 && x < 20 ? 1 : 0) << "column " << x;
}

TEST(ScanPolygon, EdgesFromBelowTheFrameArriveStepped) {
    Scene scene = flatScene();
    VertexMaker v;
    // The left side starts on row -5 (-5.6 + 0.5 truncates toward zero) with half a
    // column per row: x = 2.5 on row 0 after five steps.
    std::vector<Edge> edges = loopEdges({&v.at(0, -5.6f), &v.at(14, -5.6f), &v.at(14, 15), &v.at(10, 15)});
    FrameBuffer frame;
    RecordingSink sink(16, 16);
    prepareFrame(frame, 16, 16, &sink);
    scanPolygon(edges, scene, frame);
    for (int x = 0; x < 16; ++x) EXPECT_EQ(sink.hitsAt(x, 0), x >= 3 && x < 14 ? 1 : 0) << "column " << x;
}

TEST(ScanPolygon, PolygonsOutsideTheRowsDrawNothing) {
    Scene scene = flatScene();
    VertexMaker v;
    for (float y0 : {-9.0f, 16.0f}) {
        std::vector<Edge> edges = loopEdges({&v.at(1, y0), &v.at(9, y0), &v.at(9, y0 + 5), &v.at(1, y0 + 5)});
        FrameBuffer frame;
        RecordingSink sink(16, 16);
        prepareFrame(frame, 16, 16, &sink);
        scanPolygon(edges, scene, frame);
        EXPECT_TRUE(sink.brackets.empty()) << "rows from " << y0;
    }
}

TEST(ScanPolygon, OddEdgeOutIsLeftUndrawn) {
    Scene scene = flatScene();
    VertexMaker v;
    std::vector<Edge> edges;
    for (float x : {2.0f, 6.0f, 10.0f}) edges.emplace_back(v.at(x, 0), v.at(x, 10));
    FrameBuffer frame;
    RecordingSink sink(16, 16);
    prepareFrame(frame, 16, 16, &sink);
    scanPolygon(edges, scene, frame);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            EXPECT_EQ(sink.hitsAt(x, y), y <= 10 && x >= 2 && x < 6 ? 1 : 0) << x << ", " << y;
}

// A frame ring: outer square from 2 to 14, hole from 6 to 10, as one polygon of two loops.
TEST(DrawObjects, SecondLoopCutsAHole) {
    Scene scene = flatScene();
    SceneObject& object = scene.objects.emplace_back();
    object.diffuse = {0.2f, 0.4f, 0.6f, 1};
    Polygon& ring = object.polygons.emplace_back();
    auto corner = [&](float x, float y, int prev) {
        // Window x = (ndc + 1) * 8 in a 16-wide frame.
        ring.vertices.push_back({{x / 8 - 1, y / 8 - 1, 0, 1}, {0, 0, 1}, 0, 0, prev});
    };
    corner(2, 2, 3), corner(14, 2, 0), corner(14, 14, 1), corner(2, 14, 2);
    corner(6, 6, 7), corner(10, 6, 4), corner(10, 10, 5), corner(6, 10, 6);
    FrameBuffer frame;
    RecordingSink sink(16, 16);
    prepareFrame(frame, 16, 16, &sink);
    drawObjects(scene, frame);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const bool outer = y >= 2 && y <= 14 && x >= 2 && x < 14;
            const bool hole = y >= 6 && y <= 10 && x >= 6 && x < 10;
            EXPECT_EQ(sink.hitsAt(x, y), outer && !hole ? 1 : 0) << x << ", " << y;
        }
}

TEST(ScanPolygon, TrianglesSharingADiagonalTileTheQuad) {
    Scene scene = flatScene();
    VertexMaker v;
    const ScreenVertex* p0 = &v.at(2.3f, 1.7f, 0.5f);
    const ScreenVertex* p1 = &v.at(13.6f, 3.2f, 0.5f);
    const ScreenVertex* p2 = &v.at(12.1f, 14.4f, 0.5f);
    const ScreenVertex* p3 = &v.at(3.4f, 12.8f, 0.5f);
    // The second triangle is nearer, so a pixel drawn by both would be plotted twice.
    const ScreenVertex* q0 = &v.at(2.3f, 1.7f, 0.4f);
    const ScreenVertex* q2 = &v.at(12.1f, 14.4f, 0.4f);
    const ScreenVertex* q3 = &v.at(3.4f, 12.8f, 0.4f);

    FrameBuffer frame;
    RecordingSink whole(16, 16);
    prepareFrame(frame, 16, 16, &whole);
    std::vector<Edge> quad = loopEdges({p0, p1, p2, p3});
    scanPolygon(quad, scene, frame);

    RecordingSink halves(16, 16);
    prepareFrame(frame, 16, 16, &halves);
    std::vector<Edge> first = loopEdges({p0, p1, p2});
    std::vector<Edge> second = loopEdges({q0, q2, q3});
    scanPolygon(first, scene, frame);
    scanPolygon(second, scene, frame);

    int covered = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            EXPECT_EQ(halves.hitsAt(x, y), whole.hitsAt(x, y)) << x << ", " << y;
            covered += whole.hitsAt(x, y);
        }
    EXPECT_GT(covered, 100);
}

} // namespace

} // namespace rv
