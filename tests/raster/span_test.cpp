#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "raster/span.h"
#include "raster_fixtures.h"

namespace rv {

namespace {

// One span on row 5 of a 16 x 16 frame, between two hand-set edges.
struct SpanFixture : ::testing::Test {
    Scene scene = flatScene();
    FrameBuffer frame;
    MemoryImage image{16, 16};
    VertexMaker v;

    SpanFixture() { prepareFrame(frame, 16, 16, &image); }

    // A vertical edge at x whose values are those of its lower end.
    Edge edgeAt(float x, float z = 0.5f, const Vector3& normal = {0, 0, 1}) {
        return Edge(v.at(x, 0, z, normal), v.at(x, 10, z, normal));
    }
    void fill(const Edge& left, const Edge& right, const Material& material = plainMaterial()) {
        fillSpan(scene, frame, 5, left, right, material);
    }
    float depthAt(int x) const { return frame.depth()[5 * 16 + x]; }
    bool drawn(int x) const { return depthAt(x) != FrameBuffer::empty; }
};

TEST_F(SpanFixture, CoversTheRoundedHalfOpenRange) {
    fill(edgeAt(10.4f, 0.1f), edgeAt(12.5f, 0.4f));
    for (int x = 0; x < 16; ++x) EXPECT_EQ(drawn(x), x >= 10 && x <= 12) << "column " << x;
    EXPECT_EQ(depthAt(10), 0.1f);
    EXPECT_FLOAT_EQ(depthAt(11), 0.2f) << "three pixels share the difference";
    EXPECT_FLOAT_EQ(depthAt(12), 0.3f);
    EXPECT_EQ(image.spansOpened, 1);
    EXPECT_EQ(frame.stats.fragmentsShaded, 3);
}

TEST_F(SpanFixture, EmptySpanOpensNoBracket) {
    fill(edgeAt(10.6f), edgeAt(11.4f));
    EXPECT_EQ(image.spansOpened, 0);
    EXPECT_EQ(frame.stats.spans, 0);
}

TEST_F(SpanFixture, LeftClippingAdvancesTheAttributes) {
    // -2.7 gives column -2: nine steps to column 7, two of them skipped.
    fill(edgeAt(-2.7f, 0.0f), edgeAt(7.3f, 0.9f));
    for (int x = 0; x < 16; ++x) EXPECT_EQ(drawn(x), x < 7) << "column " << x;
    EXPECT_FLOAT_EQ(depthAt(0), 0.2f);
    EXPECT_FLOAT_EQ(depthAt(6), 0.8f);
}

TEST_F(SpanFixture, RightClippingStopsAtTheFrameWidth) {
    fill(edgeAt(3.2f), edgeAt(40.0f));
    for (int x = 0; x < 16; ++x) EXPECT_EQ(drawn(x), x >= 3) << "column " << x;
    EXPECT_EQ(image.pointsPlotted, 13);
}

TEST_F(SpanFixture, SpansBesideTheFrameOpenAnEmptyBracket) {
    fill(edgeAt(-9.0f), edgeAt(-2.0f));
    fill(edgeAt(20.0f), edgeAt(25.0f));
    EXPECT_EQ(image.spansOpened, 2);
    EXPECT_EQ(image.pointsPlotted, 0);
}

TEST_F(SpanFixture, NonFiniteEnds) {
    const float inf = std::numeric_limits<float>::infinity();
    fill(edgeAt(std::nanf("")), edgeAt(8));
    fill(edgeAt(2), edgeAt(std::nanf("")));
    EXPECT_EQ(image.spansOpened, 0) << "a span without a position is skipped";
    fill(edgeAt(-inf), edgeAt(inf));
    EXPECT_EQ(image.spansOpened, 1);
    EXPECT_EQ(image.pointsPlotted, 16) << "infinite ends saturate and the row is clipped to the frame";
}

TEST_F(SpanFixture, ZeroNormalDropsOnlyThatFragment) {
    frame.depth()[5 * 16 + 2] = 0.7f;
    // Normals +z to -z over four pixels: the third pixel's normal is exactly zero.
    fill(edgeAt(0, 0.5f, {0, 0, 1}), edgeAt(4, 0.5f, {0, 0, -1}));
    EXPECT_TRUE(drawn(0));
    EXPECT_TRUE(drawn(1));
    EXPECT_EQ(depthAt(2), 0.7f) << "the dropped fragment leaves the depth buffer alone";
    EXPECT_TRUE(drawn(3));
    EXPECT_EQ(image.pointsPlotted, 3);
}

TEST_F(SpanFixture, EveryFragmentTakesThePolygonsMaterial) {
    Material material;
    material.diffuse = {0.5f, 0.25f, 0, 1};
    material.specular = {0.25f, 0.25f, 0.25f, 1};
    // A black light adds no diffuse term; with shininess 0 its specular term is the specular colour.
    scene.lights.push_back({{0, 0, 1}, {0, 0, 0, 1}});
    fill(edgeAt(2), edgeAt(6), material);
    for (int x = 2; x < 6; ++x)
        EXPECT_EQ(image.at(x, 5), (Color{0.75f, 0.5f, 0.25f, 1})) << "diffuse under full ambient plus specular at " << x;
}

} // namespace

} // namespace rv
