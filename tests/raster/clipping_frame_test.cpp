// Whole software frames of the start-up square with clipping on and off.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "raster/clipping.h"
#include "raster/draw_objects.h"
#include "raster/scanline.h"
#include "raster/vertex_processing.h"
#include "raster_fixtures.h"

namespace rv {

namespace {

struct Render {
    MemoryImage image;
    std::vector<float> depth;
    RenderStats stats;

    bool covered(size_t pixel) const { return depth[pixel] != FrameBuffer::empty; }
    long coveredCount() const {
        long n = 0;
        for (size_t i = 0; i < depth.size(); ++i) n += covered(i);
        return n;
    }
};

bool sameBits(const std::vector<float>& a, const std::vector<float>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

void expectSameFrame(const Render& a, const Render& b, const std::string& view) {
    EXPECT_TRUE(sameBits(a.image.rgb(), b.image.rgb())) << "picture, " << view;
    EXPECT_TRUE(sameBits(a.depth, b.depth)) << "depth, " << view;
    EXPECT_EQ(a.stats.spans, b.stats.spans) << view;
    EXPECT_EQ(a.stats.fragmentsShaded, b.stats.fragmentsShaded) << view;
    EXPECT_EQ(a.stats.fragmentsPlotted, b.stats.fragmentsPlotted) << view;
}

std::string viewName(float spin, float tilt, float zoom) {
    return "spin " + std::to_string(spin) + " tilt " + std::to_string(tilt) + " zoom " + std::to_string(zoom);
}

class ClippedFrames : public ::testing::Test {
protected:
    StartupScene startup;
    Scene& scene = startup.scene;

    // The frame drawObjects draws at the current view.
    Render render(int size, bool clipping) {
        scene.clipping = clipping;
        return renderWith(size, [&](FrameBuffer& frame) { drawObjects(scene, frame); });
    }

    // The frame the stages draw with no clipping stage between them: each polygon
    // (one loop in index order, as the square's) projected, its edges built, scanned.
    Render renderUnclippedByStages(int size) {
        return renderWith(size, [&](FrameBuffer& frame) {
            for (const SceneObject& object : scene.objects)
                for (const Polygon& polygon : object.polygons) {
                    std::vector<ScreenVertex> corners;
                    for (const Vertex& v : polygon.vertices)
                        corners.push_back(projectVertex(scene, v, size, size));
                    std::vector<const ScreenVertex*> loop;
                    for (const ScreenVertex& c : corners) loop.push_back(&c);
                    std::vector<Edge> edges = loopEdges(loop);
                    scanPolygon(edges, scene, frame, materialOf(object));
                }
        });
    }

    bool everyVertexInsideBothPlanes() const {
        for (const SceneObject& object : scene.objects)
            for (const Polygon& polygon : object.polygons)
                for (const Vertex& v : polygon.vertices) {
                    const Vector4 clip = toClipSpace(scene, v);
                    if (!(planeDistance(clip, ClipPlane::near) >= 0 && planeDistance(clip, ClipPlane::far) >= 0))
                        return false;
                }
        return true;
    }

private:
    template <class Draw> Render renderWith(int size, Draw draw) {
        FrameBuffer frame;
        MemoryImage image(size, size);
        prepareFrame(frame, size, size, &image);
        draw(frame);
        return {image, std::vector<float>(frame.depth(), frame.depth() + size * size), frame.stats};
    }
};

TEST_F(ClippedFrames, WithNothingToCutPictureDepthAndCountsAreTheUnclippedOnes) {
    ASSERT_TRUE(everyVertexInsideBothPlanes());
    expectSameFrame(render(480, true), render(480, false), "start-up view");

    long drawn = 0;
    for (const float zoom : {-8.0f, startZoom, 4.0f, 8.0f})
        for (const float spin : {startSpin, -30.0f, 60.0f, 170.0f})
            for (const float tilt : {startTilt, -85.0f, 0.0f, 40.0f, 120.0f, 180.0f}) {
                setupView(scene, spin, tilt, zoom, 160, 160);
                const std::string view = viewName(spin, tilt, zoom);
                ASSERT_TRUE(everyVertexInsideBothPlanes()) << view;
                const Render clipped = render(160, true);
                expectSameFrame(clipped, render(160, false), view);
                drawn += clipped.stats.fragmentsPlotted > 0;
            }
    EXPECT_GT(drawn, 80) << "most of these views show the square";
}

// The switch gives back the pipeline as it was before clipping existed, also
// where the picture is wrong: through the near plane, behind the eye, past the far plane.
TEST_F(ClippedFrames, UnclippedIsTheStagesWithoutAClippingStage) {
    struct View {
        float spin, tilt, zoom;
    };
    for (const View v : {View{startSpin, startTilt, 9.9f}, {startSpin, startTilt, 10.2f}, {startSpin, startTilt, 40},
                         {startSpin, startTilt, -400}, {startSpin, -85, 11.5f}, {30, 200, 12}}) {
        setupView(scene, v.spin, v.tilt, v.zoom, 240, 240);
        expectSameFrame(render(240, false), renderUnclippedByStages(240), viewName(v.spin, v.tilt, v.zoom));
    }
}

TEST_F(ClippedFrames, BehindTheEyeAndBeyondTheFarPlaneNothingIsDrawn) {
    for (const float zoom : {40.0f, -400.0f}) {
        setupView(scene, startSpin, startTilt, zoom);
        const Render clipped = render(480, true);
        EXPECT_EQ(clipped.stats.spans, 0) << "zoom " << zoom;
        EXPECT_EQ(clipped.stats.fragmentsShaded, 0) << "zoom " << zoom;
        EXPECT_GT(render(480, false).stats.fragmentsPlotted, 0) << "unclipped, zoom " << zoom << " shows a square";
    }
}

// The square split into two triangles along the diagonal that runs from behind
// the near plane to in front of it: the two cut the diagonal at the same point,
// so together they cover exactly the pixels the whole square covers, each once.
TEST_F(ClippedFrames, TrianglesSharingACutDiagonalLeaveNoGapAndNoOverlap) {
    constexpr int size = 480;
    const Polygon quad = scene.objects[0].polygons[0];
    auto triangle = [&](int a, int b, int c) {
        Polygon p;
        p.vertices = {quad.vertices[a], quad.vertices[b], quad.vertices[c]};
        for (int k = 0; k < 3; ++k) p.vertices[k].prev = (k + 2) % 3;
        return p;
    };
    auto behindNear = [&](int corner) {
        return planeDistance(toClipSpace(scene, quad.vertices[corner]), ClipPlane::near) < 0;
    };
    for (const float zoom : {9.9f, 10.2f}) {
        const std::string view = "zoom " + std::to_string(zoom);
        setupView(scene, startSpin, startTilt, zoom);
        scene.objects[0].polygons = {quad};
        const Render whole = render(size, true);
        ASSERT_GT(whole.coveredCount(), 100000) << view;
        // The diagonal from corner 1 to corner 3 lies wholly in front of the plane.
        ASSERT_TRUE(behindNear(0) != behindNear(2) && !behindNear(1) && !behindNear(3)) << view;

        scene.objects[0].polygons = {triangle(0, 1, 2), triangle(0, 2, 3)};
        const Render split = render(size, true);
        std::vector<bool> wrong(size * size, false);
        for (size_t i = 0; i < wrong.size(); ++i) wrong[i] = split.covered(i) != whole.covered(i);
        const long gaps = std::count(wrong.begin(), wrong.end(), true);
        EXPECT_EQ(gaps, 0) << view << "; picture: " << writeDiffPicture("split_square_diff", split.image, wrong);
        EXPECT_EQ(split.stats.fragmentsShaded, split.coveredCount()) << view << ": pixels shaded twice";
    }
}

} // namespace

} // namespace rv
