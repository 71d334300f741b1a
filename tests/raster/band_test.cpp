// Frames drawn in bands on several threads against the plain one-thread frame:
// colours, depths and counters must agree to the bit.
#include <gtest/gtest.h>

#include <cstring>
#include <mutex>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "raster/band_renderer.h"
#include "raster/draw_objects.h"
#include "raster/mip_pyramid.h"
#include "raster_fixtures.h"
#include "tests/support/grid_scene.h"

namespace rv {

void PrintTo(const RenderStats& s, std::ostream* out) {
    *out << "{spans " << s.spans << ", shaded " << s.fragmentsShaded << ", plotted " << s.fragmentsPlotted << "}";
}

namespace {

// What a frame leaves behind.
struct Drawn {
    std::vector<float> colors;
    std::vector<float> depth;
    RenderStats stats;
};

// Today's path: one thread, every passing fragment through the sink.
Drawn drawPlain(const Scene& scene, int width, int height) {
    FrameBuffer frame;
    MemoryImage image(width, height);
    prepareFrame(frame, width, height, &image);
    drawObjects(scene, frame);
    const float* depth = frame.depth();
    return {image.rgb(), {depth, depth + static_cast<size_t>(width) * height}, frame.stats};
}

Drawn keptFrame(const FrameBuffer& frame) {
    const size_t pixels = static_cast<size_t>(frame.width()) * frame.height();
    return {{frame.colors(), frame.colors() + pixels * 3}, {frame.depth(), frame.depth() + pixels}, frame.stats};
}

Drawn drawInBands(const Scene& scene, int width, int height, BandRenderer& renderer) {
    FrameBuffer frame;
    frame.keepColors();
    prepareFrame(frame, width, height, nullptr);
    renderer.draw(scene, frame);
    return keptFrame(frame);
}

// Bit for bit, NaN colours included; names the first differing pixel.
void expectSame(const Drawn& expected, const Drawn& actual, int width) {
    EXPECT_EQ(actual.stats, expected.stats);
    ASSERT_EQ(actual.depth.size(), expected.depth.size());
    long differing = 0;
    size_t first = 0;
    for (size_t i = 0; i < expected.depth.size(); ++i) {
        const bool same = std::memcmp(&actual.depth[i], &expected.depth[i], sizeof(float)) == 0 &&
                          std::memcmp(&actual.colors[i * 3], &expected.colors[i * 3], 3 * sizeof(float)) == 0;
        if (!same && differing++ == 0) first = i;
    }
    EXPECT_EQ(differing, 0) << "first at column " << first % static_cast<size_t>(width) << ", row "
                            << first / static_cast<size_t>(width);
}

struct Workers {
    int threads;
    int bandHeight;
};

// Thread counts that divide the bands evenly and not, and band heights down to one
// row, where every row is some band's first.
constexpr Workers workerChoices[] = {
    {1, BandRenderer::defaultBandHeight}, {2, BandRenderer::defaultBandHeight}, {3, BandRenderer::defaultBandHeight},
    {7, BandRenderer::defaultBandHeight}, {2, 1},                               {3, 5},
};

struct View {
    const char* name;
    float spin, tilt, zoom;
};

constexpr View views[] = {
    {"startup", startSpin, startTilt, startZoom},
    {"filling", 0, 0, 8},
    {"grazing", startSpin, -84, 6},
    // The near corner crosses the near plane, then the eye.
    {"nearPlane", startSpin, startTilt, 9.9f},
    {"behindEye", startSpin, startTilt, 40},
};

struct FrameCase {
    int width, height;
    View view;
};

std::vector<FrameCase> frameCases() {
    struct Size {
        int width, height;
    };
    constexpr Size sizes[] = {{1, 1}, {1, 97}, {97, 1}, {37, 23}, {480, 480}, {1920, 1080}};
    std::vector<FrameCase> cases;
    for (const Size& s : sizes)
        for (const View& v : views) {
#ifdef RV_SANITIZED
            // Ten times slower under a sanitizer: the largest frame only where the square covers little.
            const std::string name = v.name;
            if (s.width == 1920 && name != "startup" && name != "grazing" && name != "behindEye") continue;
#endif
            cases.push_back({s.width, s.height, v});
        }
    return cases;
}

void PrintTo(const FrameCase& c, std::ostream* out) {
    *out << c.width << " x " << c.height << ", " << c.view.name << " view";
}

class BandedFrame : public ::testing::TestWithParam<FrameCase> {};

TEST_P(BandedFrame, EqualsTheOneThreadFrameForEveryThreadCountAndBandHeight) {
    const FrameCase& c = GetParam();
    StartupScene startup;
    setupView(startup.scene, c.view.spin, c.view.tilt, c.view.zoom, c.width, c.height);
    const Drawn plain = drawPlain(startup.scene, c.width, c.height);
    for (const Workers& w : workerChoices) {
        SCOPED_TRACE(std::to_string(w.threads) + " threads, " + std::to_string(w.bandHeight) + " rows per band");
        BandRenderer renderer(w.threads, w.bandHeight);
        expectSame(plain, drawInBands(startup.scene, c.width, c.height, renderer), c.width);
    }
}

INSTANTIATE_TEST_SUITE_P(SizesAndViews, BandedFrame, ::testing::ValuesIn(frameCases()),
                         [](const ::testing::TestParamInfo<FrameCase>& info) {
                             const FrameCase& c = info.param;
                             return std::to_string(c.width) + "x" + std::to_string(c.height) + "_" + c.view.name;
                         });

// Frames that go only to memory step spans, test depths and plot in vector
// lanes: on every target and thread count they give the scalar one-thread
// frame, with spans ending on and around every lane boundary.
TEST(BandedFrameEveryTarget, EqualsTheScalarOneThreadFrame) {
    struct Case {
        int width, height;
        View view;
    };
    const Case cases[] = {{480, 480, views[0]}, {480, 480, views[2]}, {15, 9, views[1]},  {16, 9, views[1]},
                          {17, 9, views[1]},    {33, 5, views[1]},    {129, 7, views[1]}, {200, 150, views[3]}};
    StartupScene startup;
    Scene& scene = startup.scene;
    for (const Case& c : cases) {
        setupView(scene, c.view.spin, c.view.tilt, c.view.zoom, c.width, c.height);
        scene.simd = false;
        const Drawn scalar = drawPlain(scene, c.width, c.height);
        scene.simd = true;
        for (const std::int64_t target : simdTargets()) {
            const TargetChoice choice(target);
            for (const int threads : {1, 2, 3}) {
                SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height) + ", " + c.view.name +
                             " view, " + targetName(target) + ", " + std::to_string(threads) + " threads");
                BandRenderer renderer(threads, 3);
                expectSame(scalar, drawInBands(scene, c.width, c.height, renderer), c.width);
            }
        }
    }
}

// Polygons placed on whole pixels of a 64 x 64 frame, where ties are exact: a
// bow-tie whose sides cross on a row, so their order there is the one the rows
// below left; corners on band boundaries, where the shared-vertex rule drops a
// side on a band's first row; a square with a hole; sides from below the frame
// to above it; and coplanar overlaps, where the first polygon drawn must keep
// the pixel. Depth and normals vary per corner, so any drift in an edge's
// values shows in the depth buffer and the lit colours.
class Crowded {
public:
    static constexpr int side = 64;

    Crowded() : scene(flatScene()) {
        scene.ambient = {0.2f, 0.2f, 0.2f, 1};
        scene.addLight({0.3f, 0.5f, 2}, {1, 1, 1, 1});
        object({0.9f, 0.2f, 0.1f, 1});
        // Listed so that the polygon's edge order is not the order in x below the crossing.
        polygon({{40, 8, 0.1f}, {8, 40, -0.2f}, {8, 8, -0.5f}, {40, 40, 0.3f}});
        object({0.1f, 0.8f, 0.3f, 1});
        polygon({{32, 0, 0.2f}, {48, 16, -0.1f}, {32, 32, 0.4f}, {16, 16, 0.0f}});
        polygon({{20, 24, 0}, {60, 24, 0}, {60, 56, 0}, {20, 56, 0}});
        object({0.2f, 0.3f, 0.9f, 1});
        polygon({{4, 30, 0}, {44, 30, 0}, {44, 62, 0}, {4, 62, 0}});
        polygon({{3.3f, -20, -0.6f}, {9.7f, 90.2f, 0.7f}, {61.1f, 40.6f, 0.05f}});
        object({0.7f, 0.7f, 0.2f, 1});
        // Outline, then the hole, as one polygon of two loops.
        scene.beginPolygon();
        loop({{12, 44, -0.3f}, {56, 44, -0.3f}, {56, 63, -0.25f}, {12, 63, -0.25f}});
        scene.loopStart = 4;
        loop({{24, 48, -0.3f}, {44, 48, -0.3f}, {44, 60, -0.3f}, {24, 60, -0.3f}});
    }

    Scene scene;

private:
    struct Corner {
        float x, y, z;
    };
    void object(const Color& color) {
        scene.setMaterial(color, {0.5f, 0.5f, 0.5f, 1}, 20);
        scene.beginObject();
    }
    void polygon(const std::vector<Corner>& corners) {
        scene.beginPolygon();
        loop(corners);
    }
    // Window pixels to normalised device coordinates: exact for whole and half pixels.
    void loop(const std::vector<Corner>& corners) {
        for (const Corner& c : corners) {
            scene.setNormal(c.x / side - 0.5f, c.y / side - 0.5f, 1);
            scene.addVertex(c.x / (side / 2) - 1, c.y / (side / 2) - 1, c.z);
        }
    }
};

TEST(BandedCrowd, EveryBandHeightGivesTheOneThreadFrame) {
    const Crowded crowd;
    const Drawn plain = drawPlain(crowd.scene, Crowded::side, Crowded::side);
    ASSERT_LT(plain.stats.fragmentsPlotted, plain.stats.fragmentsShaded) << "the overlaps lose fragments";
    for (int threads : {2, 3})
        for (int bandHeight : {1, 2, 3, 4, 5, 6, 7, 8, 9, 16, 24, 64}) {
            SCOPED_TRACE(std::to_string(threads) + " threads, " + std::to_string(bandHeight) + " rows per band");
            BandRenderer renderer(threads, bandHeight);
            expectSame(plain, drawInBands(crowd.scene, Crowded::side, Crowded::side, renderer), Crowded::side);
        }
}

// Scenes of many small triangles: bands that skip the polygons missing them, the
// vertex stage split into chunks over the threads, and every vector target, all
// against the plain one-thread frame of the scalar code.
struct GridCase {
    const char* name;
    int n;
    int width, height;
    View view;
};

void PrintTo(const GridCase& c, std::ostream* out) { *out << c.name; }

class GridFrame : public ::testing::TestWithParam<GridCase> {};

TEST_P(GridFrame, EqualsTheOneThreadScalarFrameOnEveryThreadCountAndTarget) {
    const GridCase& c = GetParam();
    Scene scene;
    initGridScene(scene, c.n);
    buildPyramids(scene);
    setupView(scene, c.view.spin, c.view.tilt, c.view.zoom, c.width, c.height);
    scene.simd = false;
    const Drawn plain = drawPlain(scene, c.width, c.height);
    ASSERT_GT(plain.stats.fragmentsPlotted, 0);
    scene.simd = true;
    for (const std::int64_t target : simdTargets()) {
        const TargetChoice choice(target);
        for (const int threads : {1, 2, 3, 7}) {
            SCOPED_TRACE(targetName(target) + ", " + std::to_string(threads) + " threads");
            BandRenderer renderer(threads);
            expectSame(plain, drawInBands(scene, c.width, c.height, renderer), c.width);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Grids, GridFrame,
    ::testing::Values(GridCase{"grid16Startup", 16, 480, 480, views[0]}, GridCase{"grid16Filling", 16, 97, 301, views[1]},
                      // Several chunks of the vertex stage, triangles a few pixels across.
                      GridCase{"grid64Filling", 64, 480, 480, views[1]},
                      // Many triangles cut by the near plane, some wholly behind the eye.
                      GridCase{"grid64NearPlane", 64, 200, 200, views[3]},
                      GridCase{"grid64Grazing", 64, 301, 97, views[2]}),
    [](const ::testing::TestParamInfo<GridCase>& info) { return std::string(info.param.name); });

// The viewer keeps one renderer and one buffer from frame to frame while the
// window changes size: each frame starts from empty rows whatever came before.
TEST(BandRendererReuse, OneRendererAndBufferAcrossFramesAndSizes) {
    StartupScene startup;
    BandRenderer renderer(3);
    FrameBuffer frame;
    frame.keepColors();
    struct Size {
        int width, height;
    };
    for (const Size s : {Size{480, 480}, Size{1000, 700}, Size{1, 1}, Size{97, 300}, Size{480, 480}}) {
        SCOPED_TRACE(std::to_string(s.width) + " x " + std::to_string(s.height));
        frame.resize(s.width, s.height);
        // Nearer first, so that a pixel left over would hide the farther square.
        for (const float zoom : {6.0f, 2.0f}) {
            setupView(startup.scene, startSpin, startTilt, zoom, s.width, s.height);
            renderer.draw(startup.scene, frame);
        }
        expectSame(drawPlain(startup.scene, s.width, s.height), keptFrame(frame), s.width);
    }
}

// What the viewer's one-image presentation relies on: each row is reported
// once, by the thread that drew it, and is final by then.
TEST(BandRendererAfterBand, ReportsEveryRowOnceWithItsFinalColours) {
    StartupScene startup;
    setupView(startup.scene, 0, 0, 8, 200, 150);
    for (int threads : {1, 2, 3}) {
        SCOPED_TRACE(std::to_string(threads) + " threads");
        BandRenderer renderer(threads, 7);
        FrameBuffer frame;
        frame.keepColors();
        prepareFrame(frame, 200, 150, nullptr);
        std::vector<int> reported(150, 0);
        std::vector<float> copied(200 * 150 * 3, -1);
        std::mutex lock;
        renderer.draw(startup.scene, frame, [&](RowRange rows) {
            const size_t from = static_cast<size_t>(rows.begin) * 200 * 3, to = static_cast<size_t>(rows.end) * 200 * 3;
            std::copy(frame.colors() + from, frame.colors() + to, copied.begin() + static_cast<long>(from));
            const std::lock_guard<std::mutex> hold(lock);
            for (int r = rows.begin; r < rows.end; ++r) ++reported[static_cast<size_t>(r)];
        });
        EXPECT_EQ(reported, std::vector<int>(150, 1));
        EXPECT_TRUE(std::equal(copied.begin(), copied.end(), frame.colors()));
    }
}

TEST(BandRendererMisuse, IsRefusedWithAReason) {
    for (const Workers& w : {Workers{0, 16}, Workers{maxThreads + 1, 16}, Workers{2, 0}})
        EXPECT_THROW(BandRenderer(w.threads, w.bandHeight), std::invalid_argument)
            << w.threads << " threads, " << w.bandHeight << " rows per band";

    StartupScene startup;
    FrameBuffer frame;
    MemoryImage image(8, 8);
    prepareFrame(frame, 8, 8, &image);
    BandRenderer renderer(2);
    EXPECT_THROW(renderer.draw(startup.scene, frame), std::invalid_argument) << "workers would call the sink";
}

} // namespace

} // namespace rv
