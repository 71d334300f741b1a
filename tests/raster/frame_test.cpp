#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "raster/draw_objects.h"
#include "raster/vertex_processing.h"
#include "raster_fixtures.h"

namespace rv {

namespace {

constexpr int size = 480;

// An affine function of window position: every quotient by w is one on a planar polygon.
struct Affine {
    double a = 0, b = 0, c = 0;
    double at(double x, double y) const { return a * x + b * y + c; }
};

Affine fit(const ScreenVertex* v[3], float Vector3::*component) {
    const double x0 = v[0]->x, y0 = v[0]->y, f0 = v[0]->texOverW.*component;
    const double dx1 = v[1]->x - x0, dy1 = v[1]->y - y0, df1 = v[1]->texOverW.*component - f0;
    const double dx2 = v[2]->x - x0, dy2 = v[2]->y - y0, df2 = v[2]->texOverW.*component - f0;
    const double det = dx1 * dy2 - dx2 * dy1;
    Affine f;
    f.a = (df1 * dy2 - df2 * dy1) / det;
    f.b = (dx1 * df2 - dx2 * df1) / det;
    f.c = f0 - f.a * x0 - f.b * y0;
    return f;
}

// The start-up scene drawn into a 480 x 480 image, with the square's projected
// corners and, from them, the texture coordinates and footprint at any pixel.
struct FrameFixture : ::testing::Test {
    StartupScene startup;
    Scene& scene = startup.scene;
    FrameBuffer frame;
    MemoryImage image{size, size};
    ScreenVertex corners[4];
    Affine sOverW, tOverW, oneOverW;

    void render() {
        prepareFrame(frame, size, size, &image);
        image.fill({1, 1, 1, 1});
        drawObjects(scene, frame);
        const SceneObject& square = scene.objects[0];
        for (int i = 0; i < 4; ++i)
            corners[i] = projectVertex(scene, square.polygons[0].vertices[i],
                                       size, size);
        const ScreenVertex* three[3] = {&corners[0], &corners[1], &corners[2]};
        sOverW = fit(three, &Vector3::x);
        tOverW = fit(three, &Vector3::y);
        oneOverW = fit(three, &Vector3::z);
    }
    bool covered(int x, int y) const { return frame.depth()[static_cast<size_t>(y) * size + x] != FrameBuffer::empty; }
    // Signed distance in pixels from the projected square's border, positive inside.
    double insideBy(double x, double y) const {
        double d = 1e9;
        for (int i = 0; i < 4; ++i) {
            const ScreenVertex& p = corners[i];
            const ScreenVertex& q = corners[(i + 1) % 4];
            const double ex = q.x - p.x, ey = q.y - p.y;
            d = std::min(d, (ex * (y - p.y) - ey * (x - p.x)) / std::hypot(ex, ey));
        }
        return d;
    }
    // Texel coordinates (0 to 255 across the texture) at a pixel.
    std::pair<double, double> texelAt(double x, double y) const {
        const double q = oneOverW.at(x, y);
        return {sOverW.at(x, y) / q * 255, tOverW.at(x, y) / q * 255};
    }
    // Base-2 level of detail as the sampler estimates it: the footprint of one pixel in texels.
    double lodAt(int x, int y) const {
        const double q = oneOverW.at(x, y);
        const double area = 65536 * std::fabs(sOverW.a * tOverW.b - tOverW.a * sOverW.b) / (q * q);
        return 0.5 * std::log2(area);
    }
    void reportMismatches(const char* name, const std::vector<bool>& marked) {
        const long count = std::count(marked.begin(), marked.end(), true);
        if (count) ADD_FAILURE() << count << " pixels differ; picture: " << writeDiffPicture(name, image, marked);
    }
};

TEST_F(FrameFixture, OriginLandsOnTheCentre) {
    const Vertex origin{{0, 0, 0, 1}, {0, 0, 1}, 0, 0, 0};
    for (const auto& [spin, tilt] : {std::pair{startSpin, startTilt}, {17.0f, 0.0f}, {200.0f, -170.0f}}) {
        setupView(scene, spin, tilt, startZoom);
        const ScreenVertex v = projectVertex(scene, origin, size, size);
        EXPECT_NEAR(v.x, 240, 1e-3) << spin << ", " << tilt;
        EXPECT_NEAR(v.y, 240, 1e-3) << spin << ", " << tilt;
    }
}

TEST_F(FrameFixture, CoversTheProjectedSquare) {
    render();
    std::vector<bool> wrong(size * size, false);
    long inside = 0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double d = insideBy(x, y);
            if (std::fabs(d) < 1) continue;  // boundary pixels may go either way
            inside += d > 0;
            wrong[static_cast<size_t>(y) * size + x] = covered(x, y) != (d > 0);
        }
    reportMismatches("coverage_diff", wrong);
    EXPECT_GT(inside, 20000);
    EXPECT_EQ(frame.stats.fragmentsPlotted, frame.stats.fragmentsShaded) << "one convex polygon: no overdraw";
}

// Lighting scales all channels alike and the highlight adds white, so the hue of a
// pixel is that of its texel: about 30 degrees for the tiles, 45 for the grout.
double hueOf(const Color& c) { return 60 * (c.g - c.b) / (c.r - c.b); }

TEST_F(FrameFixture, TilesAndGroutKeepTheirHues) {
    // A line of grout texels is pure in level 0 and level 1 for u (or v) within one texel
    // of (32k - 0.5) * 255 / 127, between tiles k and k + 1; keep a quarter texel off that.
    auto onGrout = [](double u) {
        for (int k = 1; k < 4; ++k)
            if (std::fabs(u - (32 * k - 0.5) * 255 / 127) < 0.75) return true;
        return false;
    };
    auto inTile = [](double u) { return std::fmod(u, 64) > 8 && std::fmod(u, 64) < 55; };
    // At the start-up view grout lines are about two pixels wide; zoomed in they are wide enough to test.
    for (const float zoom : {startZoom, 6.0f}) {
        setupView(scene, startSpin, startTilt, zoom);
        render();
        std::vector<bool> wrong(size * size, false);
        long tiles = 0, grout = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                if (insideBy(x, y) < 2) continue;
                // Spans and edges start at their ends' values without sub-pixel correction:
                // the texture is sampled up to about half a pixel away from (x, y).
                bool allTile = true, groutAlongU = true, groutAlongV = true;
                for (const double dx : {-0.6, 0.6})
                    for (const double dy : {-0.6, 0.6}) {
                        const auto [u, v] = texelAt(x + dx, y + dy);
                        allTile = allTile && inTile(u) && inTile(v);
                        groutAlongU = groutAlongU && onGrout(u);
                        groutAlongV = groutAlongV && onGrout(v);
                    }
                const bool allGrout = lodAt(x, y) < 1 && (groutAlongU || groutAlongV);
                if (!allTile && !allGrout) continue;
                (allTile ? tiles : grout) += 1;
                const double hue = hueOf(image.at(x, y));
                wrong[static_cast<size_t>(y) * size + x] = std::fabs(hue - (allTile ? 29.9 : 45)) > 1;
            }
        reportMismatches(zoom > startZoom ? "hue_zoomed_diff" : "hue_diff", wrong);
        EXPECT_GT(tiles, 10000) << "zoom " << zoom;
        if (zoom > startZoom) {
            EXPECT_GT(grout, 400);
        }
    }
}

TEST_F(FrameFixture, MipmappingMattersOnlyWhereAPixelCoversMoreThanATexel) {
    render();
    const std::vector<float> mipmapped = image.rgb();
    scene.mipmapping = false;
    render();
    const std::vector<float>& nearest = image.rgb();
    std::vector<bool> wrong(size * size, false);
    long changed = 0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const size_t i = static_cast<size_t>(y) * size + x;
            if (!std::equal(&mipmapped[i * 3], &mipmapped[i * 3 + 3], &nearest[i * 3])) {
                ++changed;
                // A footprint just above one texel by the sampler's rounding may still count.
                wrong[i] = lodAt(x, y) < -0.01;
            }
        }
    reportMismatches("mipmap_diff", wrong);
    EXPECT_GT(changed, 1000) << "the far side of the square is minified";
}

// Zooming through the near plane and behind the eye, spinning and tilting across
// whole turns, clipped and not: every frame completes, and the image aborts on any
// write outside it.
TEST(FrameSweep, AnyViewRendersInsideTheFrame) {
    StartupScene startup;
    Scene& scene = startup.scene;
    constexpr int small = 120;
    FrameBuffer frame;
    MemoryImage image(small, small);
    for (const bool clipping : {true, false}) {
        scene.clipping = clipping;
        long plotted = 0;
        for (float zoom = -4; zoom <= 24; zoom += 0.5f)
            for (int k = 0; k < 6; ++k) {
                setupView(scene, startSpin + 67.0f * k, startTilt + 73.0f * k, zoom, small, small);
                prepareFrame(frame, small, small, &image);
                drawObjects(scene, frame);
                ASSERT_LE(frame.stats.fragmentsPlotted, frame.stats.fragmentsShaded);
                plotted += frame.stats.fragmentsPlotted;
            }
        EXPECT_GT(plotted, 0) << "clipping " << clipping;
    }
}

} // namespace

} // namespace rv
