// The records behind the false-colour views: each holds what span filling
// computed for the fragment a pixel shows, and keeping them changes nothing else.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "raster/band_renderer.h"
#include "raster/draw_objects.h"
#include "raster/mip_pyramid.h"
#include "raster/scanline.h"
#include "raster_fixtures.h"

namespace rv {

namespace {

constexpr int side = 64;

// Hand-made polygons on a flat scene (identity matrices, full ambient, no lights).
struct RecordFixture : ::testing::Test {
    Scene scene = flatScene();
    FrameBuffer frame;
    VertexMaker v;

    RecordFixture() {
        frame.keepRecords();
        prepareFrame(frame, side, side, nullptr);
    }

    // A corner at window (x, y) carrying texture coordinates (s, t) with w = 1.
    const ScreenVertex* corner(float x, float y, float s, float t, float z = 0.5f) {
        ScreenVertex& c = v.at(x, y, z);
        c.texOverW = {s, t, 1};
        return &c;
    }
    void draw(const std::vector<const ScreenVertex*>& loop, const Texture* colors = nullptr,
              const Texture* bumps = nullptr) {
        std::vector<Edge> edges = loopEdges(loop);
        scanPolygon(edges, scene, frame, plainMaterial(colors, bumps));
    }
    const FragmentRecord& at(int x, int y) const { return frame.records()[y * side + x]; }
    bool drawn(int x, int y) const { return frame.depthAt(x, y) != FrameBuffer::empty; }
};

TEST_F(RecordFixture, TextureCoordinatesAreThePerspectiveCorrectOnes) {
    // 1/w falls from 1 to 0.5 across the quad: s/w and t/w are interpolated, s and t divided back.
    ScreenVertex* far = const_cast<ScreenVertex*>(corner(40, 8, 0.5f, 0));
    far->texOverW = {0.5f, 0, 0.5f};
    ScreenVertex* farTop = const_cast<ScreenVertex*>(corner(40, 40, 0.5f, 0.5f));
    farTop->texOverW = {0.5f, 0.5f, 0.5f};
    draw({corner(8, 8, 0, 0), far, farTop, corner(8, 40, 0, 1)});
    ASSERT_TRUE(drawn(24, 24));
    // At the middle column 1/w is 0.75 and s/w 0.25 (half of the far side's 0.5): s = 1/3, not 1/2.
    EXPECT_NEAR(at(24, 24).s, 1.0f / 3, 1e-5);
    EXPECT_NEAR(at(8, 8).s, 0, 1e-6);
    EXPECT_NEAR(at(8, 24).t, 0.5f, 1e-6);
    EXPECT_EQ(at(24, 24).lod, lodUntextured) << "an object without a colour texture";
}

// A 256 x 256 texture whose footprint per pixel is `texels` texels wide and high
// gives a level of detail of log2(texels).
TEST_F(RecordFixture, LevelOfDetailIsTheOneTheLookupTook) {
    Texture colors;
    colors.makeTileColors(256, 256);
    colors.pyramid = buildPyramid(colors);
    struct Strip {
        int bottom;
        float texels;
        float lod;
    };
    for (const Strip& strip : {Strip{0, 1, 0}, Strip{16, 2, 1}, Strip{32, 8, 3}}) {
        // 10 columns and 10 rows, so each step is texels / 256 in s and in t.
        const float d = strip.texels / 256 * 10;
        const float y0 = static_cast<float>(strip.bottom), y1 = y0 + 10;
        draw({corner(0, y0, 0, 0), corner(10, y0, d, 0), corner(10, y1, d, d), corner(0, y1, 0, d)}, &colors);
        EXPECT_NEAR(at(5, strip.bottom + 5).lod, strip.lod, 1e-5) << strip.texels << " texels";
    }
    scene.mipmapping = false;
    draw({corner(20, 0, 0, 0), corner(30, 0, 0.3f, 0), corner(30, 10, 0.3f, 0.3f), corner(20, 10, 0, 0.3f)}, &colors);
    EXPECT_EQ(at(25, 5).lod, lodMipmappingOff);
}

TEST_F(RecordFixture, NormalIsTheBumpedUnitNormal) {
    // Heights rising along s only: the bent normal leans against the slope, towards -x, and stays level in y.
    Texture heights;
    heights.allocate(8, 8, 1);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) heights.setValue(x, y, 0.1f * static_cast<float>(x));
    draw({corner(0, 0, 0, 0), corner(20, 0, 1, 0), corner(20, 20, 1, 1), corner(0, 20, 0, 1)}, nullptr, &heights);
    const FragmentRecord& r = at(10, 10);
    // For t = 0.5 the height differences give (-0.05 * 7 * 0.5 * 0.1, 0, 1) before normalising.
    const float lean = -0.05f * 7 * 0.5f * 0.1f;
    EXPECT_NEAR(r.normal.x, lean / std::sqrt(1 + lean * lean), 1e-4);
    EXPECT_EQ(r.normal.y, 0);
    EXPECT_NEAR(length(r.normal), 1, 1e-6);
}

TEST_F(RecordFixture, SpanTagsTellRowsAndPairsApart) {
    // One polygon of two triangles side by side (two loops): every row crosses four edges, two spans.
    std::vector<Edge> edges = loopEdges({corner(0, 0, 0, 0), corner(20, 0, 0, 0), corner(10, 20, 0, 0)});
    for (const Edge& e : loopEdges({corner(30, 0, 0, 0), corner(50, 0, 0, 0), corner(40, 20, 0, 0)})) edges.push_back(e);
    scanPolygon(edges, scene, frame);
    EXPECT_EQ(frame.stats.spans, 2 * 20) << "rows 0 to 19, two spans each; the apexes' row has none";
    for (int y = 0; y < 20; ++y) {
        EXPECT_EQ(at(10, y).span, spanTag(y, 0, 0)) << "row " << y;
        EXPECT_EQ(at(40, y).span, spanTag(y, 1, 0)) << "row " << y;
    }
    EXPECT_NE(spanTag(4, 0, 0), spanTag(5, 0, 0));
    EXPECT_NE(spanTag(4, 0, 0), spanTag(4, 1, 0));
    EXPECT_NE(spanTag(4, 0, 0), spanTag(4, 0, 1));
}

// Whole frames of the start-up scene: records on or off, one thread or several,
// scalar or vector shading, the picture, depth and counters stay the same bits,
// and the records are the same whoever drew them.
struct FrameOutcome {
    std::vector<float> colors;
    std::vector<float> depth;
    RenderStats stats;
    std::vector<FragmentRecord> records;
};

FrameOutcome draw(const Scene& scene, int threads, bool keepRecords) {
    FrameBuffer frame;
    frame.keepColors();
    if (keepRecords) frame.keepRecords();
    frame.resize(97, 61);
    frame.clear();
    BandRenderer(threads).draw(scene, frame);
    const size_t n = 97 * 61;
    FrameOutcome out{{frame.colors(), frame.colors() + n * 3}, {frame.depth(), frame.depth() + n}, frame.stats, {}};
    if (keepRecords) out.records.assign(frame.records(), frame.records() + n);
    return out;
}

void expectSameBits(const FrameOutcome& a, const FrameOutcome& b, const std::string& what) {
    ASSERT_EQ(a.stats, b.stats) << what;
    ASSERT_EQ(std::memcmp(a.colors.data(), b.colors.data(), a.colors.size() * sizeof(float)), 0) << what;
    ASSERT_EQ(std::memcmp(a.depth.data(), b.depth.data(), a.depth.size() * sizeof(float)), 0) << what;
    if (a.records.empty() || b.records.empty()) return;
    for (size_t i = 0; i < a.depth.size(); ++i) {
        if (a.depth[i] == FrameBuffer::empty) continue;
        const FragmentRecord &r = a.records[i], &q = b.records[i];
        for (const auto& [x, y] : {std::pair{r.lod, q.lod}, {r.s, q.s}, {r.t, q.t}, {r.normal.x, q.normal.x},
                                   {r.normal.y, q.normal.y}, {r.normal.z, q.normal.z}})
            ASSERT_TRUE(sameBits(x, y)) << what << ", pixel " << i;
        ASSERT_EQ(r.span, q.span) << what << ", pixel " << i;
    }
}

TEST(FrameRecords, ChangeNothingAndAreTheSameOnEveryThreadCountAndTarget) {
    StartupScene startup;
    Scene& scene = startup.scene;
    struct View {
        const char* name;
        float spin, tilt, zoom;
        bool mipmapping;
    };
    for (const View& view : {View{"start-up", startSpin, startTilt, startZoom, true},
                             View{"grazing", startSpin, -84, 6, true}, View{"filling", 0, 0, 8, true},
                             View{"near plane", startSpin, startTilt, 9.9f, false}}) {
        setupView(scene, view.spin, view.tilt, view.zoom, 97, 61);
        scene.mipmapping = view.mipmapping;
        scene.simd = false;
        const FrameOutcome plain = draw(scene, 1, false);
        const FrameOutcome scalar = draw(scene, 1, true);
        expectSameBits(plain, scalar, std::string(view.name) + ": records kept");
        expectSameBits(scalar, draw(scene, 3, true), std::string(view.name) + ": three threads");
        scene.simd = true;
        for (const std::int64_t target : simdTargets()) {
            const TargetChoice choice(target);
            expectSameBits(scalar, draw(scene, 1, true), std::string(view.name) + ": " + targetName(target));
        }
        EXPECT_GT(plain.stats.fragmentsPlotted, 0) << view.name;
    }
}

} // namespace

} // namespace rv
