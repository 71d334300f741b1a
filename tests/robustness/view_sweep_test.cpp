// The start-up scene across a grid of views that a user can reach by dragging,
// panning and zooming far past the near plane, at frame sizes from a sliver to
// the full window. The in-memory image aborts on any write outside the frame;
// here we also check that nothing throws and that no frame takes unbounded time
// (a row or column loop driven by a huge coordinate would).
#include <chrono>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/memory_image.h"
#include "raster/mip_pyramid.h"
#include "view/camera.h"
#include "view/software_path.h"

namespace rv {

namespace {

struct FrameSize {
    int width, height;
};

struct SweepResult {
    long views = 0;
    double slowestMs = 0;
    std::string slowestView;
};

class ViewSweep : public ::testing::Test {
protected:
    // Like the viewer's, the scene and the textures it points at live for the whole run.
    static void SetUpTestSuite() {
        if (scene) return;
        scene = new Scene;
        initScene(*scene);
        buildPyramids(*scene);
    }

    // Renders every view of the grid at one size and returns the count and the slowest frame.
    SweepResult sweep(FrameSize size, const std::vector<float>& zooms, const std::vector<float>& angles,
                      const std::vector<float>& pans) {
        SweepResult result;
        MemoryImage image(size.width, size.height);
        FrameBuffer frame;
        frame.reset();
        frame.output = &image;
        BandRenderer oneThread(1);
        ViewPose view;
        for (float zoom : zooms)
            for (float tilt : angles)
                for (float spin : angles)
                    for (float pan : pans) {
                        view.zoom = zoom;
                        view.tilt = tilt;
                        view.spin = spin;
                        view.panX = pan;
                        view.panY = -pan / 2;
                        char name[160];
                        std::snprintf(name, sizeof name, "%dx%d zoom %g tilt %g spin %g pan %g", size.width,
                                      size.height, zoom, tilt, spin, pan);
                        const auto start = std::chrono::steady_clock::now();
                        setupCamera(*scene, view, size.width, size.height);
                        EXPECT_NO_THROW(renderSoftware(*scene, frame, oneThread, size.width, size.height)) << name;
                        const double ms =
                            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                                .count();
                        if (ms > result.slowestMs) {
                            result.slowestMs = ms;
                            result.slowestView = name;
                        }
                        ++result.views;
                    }
        return result;
    }

    static Scene* scene;
};

Scene* ViewSweep::scene = nullptr;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool sanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool sanitized = true;
#else
constexpr bool sanitized = false;
#endif
#else
constexpr bool sanitized = false;
#endif

// Wheel steps from beyond the far plane (about -389), through the near plane
// (about 11.6) and the eye (12), to far behind it.
const std::vector<float> zooms = {-400, -40, -20, -8, 0, 0.25f, 6, 10, 11, 11.5f, 11.6f, 11.75f,
                                  11.9f, 12, 12.1f, 12.5f, 13, 16, 24, 40};
// Full turns of tilt and spin, including edge-on views.
const std::vector<float> angles = {-360, -135, -90, -60, 0, 45, 90, 180, 270, 725};
const std::vector<float> pans = {0, 5000, -5000};

// The per-frame bound is generous for a loaded 2-core machine and far below what
// a loop over huge coordinates would take.
const double frameBoundMs = sanitized ? 20000 : 2000;

// Clipped, and unclipped as the 'c' key shows it, where the guards against
// coordinates through the eye plane are all that stand between a view and a fault.
struct SweepCase {
    FrameSize size;
    bool clipping;
};

void PrintTo(const SweepCase& c, std::ostream* out) {
    *out << c.size.width << "x" << c.size.height << (c.clipping ? " clipped" : " unclipped");
}

class ViewSweepAtSize : public ViewSweep, public ::testing::WithParamInterface<SweepCase> {};

TEST_P(ViewSweepAtSize, EveryViewFinishesInsideTheFrameAndInBoundedTime) {
    const FrameSize size = GetParam().size;
    scene->clipping = GetParam().clipping;
    const SweepResult result = sweep(size, zooms, angles, pans);
    EXPECT_EQ(result.views, static_cast<long>(zooms.size() * angles.size() * angles.size() * pans.size()));
    EXPECT_LT(result.slowestMs, frameBoundMs) << "slowest: " << result.slowestView;
    std::printf("%ld views at %dx%d %s, slowest %.1f ms (%s)\n", result.views, size.width, size.height,
                GetParam().clipping ? "clipped" : "unclipped", result.slowestMs, result.slowestView.c_str());
}

// Full window, slivers one pixel wide or high, and an odd small size; the
// sanitizer build, ten times slower, keeps to the small ones.
std::vector<SweepCase> sweepCases() {
    std::vector<FrameSize> sizes = {{1, 97}, {97, 1}, {1, 1}, {37, 23}};
    if (!sanitized) {
        sizes.push_back({480, 480});
        sizes.push_back({640, 200});
    }
    std::vector<SweepCase> cases;
    for (const bool clipping : {true, false})
        for (const FrameSize size : sizes) cases.push_back({size, clipping});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Sizes, ViewSweepAtSize, ::testing::ValuesIn(sweepCases()),
                         [](const ::testing::TestParamInfo<SweepCase>& info) {
                             return std::to_string(info.param.size.width) + "x" +
                                    std::to_string(info.param.size.height) +
                                    (info.param.clipping ? "" : "_unclipped");
                         });

// A zero-sized viewport (a minimised window) draws nothing and must not touch memory.
TEST_F(ViewSweep, EmptyFrameDrawsNothing) {
    const SweepResult result = sweep({0, 0}, {0.25f, 12}, {-60, 90}, {0});
    EXPECT_EQ(result.views, 8);
}

} // namespace

} // namespace rv
