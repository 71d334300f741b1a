// A real model through the software path: every thread count and vector target
// gives the one-thread scalar frame to the bit, as for the square.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "model/load_model.h"
#include "raster/band_renderer.h"
#include "tests/raster/raster_fixtures.h"
#include "view/camera.h"
#include "view/software_path.h"

namespace rv {

namespace {

struct Kept {
    std::vector<float> colors;
    std::vector<float> depth;
    RenderStats stats;
};

Kept draw(const Scene& scene, int width, int height, BandRenderer& renderer) {
    FrameBuffer frame;
    frame.keepColors();
    prepareFrame(frame, width, height, nullptr);
    renderer.draw(scene, frame);
    const size_t pixels = static_cast<size_t>(width) * height;
    return {{frame.colors(), frame.colors() + pixels * 3}, {frame.depth(), frame.depth() + pixels}, frame.stats};
}

bool sameFrame(const Kept& a, const Kept& b) {
    return a.stats == b.stats && a.depth.size() == b.depth.size() &&
           std::memcmp(a.depth.data(), b.depth.data(), a.depth.size() * sizeof(float)) == 0 &&
           std::memcmp(a.colors.data(), b.colors.data(), a.colors.size() * sizeof(float)) == 0;
}

TEST(ModelFrames, EveryThreadCountAndVectorTargetGivesTheScalarOneThreadFrame) {
    // Textured, several objects, thin legs crossing many rows and bands.
    Scene scene;
    const ModelLoad load = loadModel(scene, std::string(RV_ASSIMP_MODELS) + "/OBJ/spider.obj");
    ASSERT_EQ(load.error, "");
    FrameBuffer unused;
    prepareRendering(scene, unused);
    const int width = 320, height = 240;
    setupCamera(scene, ViewPose{}, width, height);

    scene.simd = false;
    BandRenderer one(1);
    const Kept reference = draw(scene, width, height, one);
    ASSERT_GT(reference.stats.fragmentsPlotted, 1000);
    scene.simd = true;
    for (const std::int64_t target : simdTargets()) {
        const TargetChoice choice(target);
        for (const int threads : {1, 2, 3, 7}) {
            BandRenderer renderer(threads);
            EXPECT_TRUE(sameFrame(reference, draw(scene, width, height, renderer)))
                << targetName(target) << " on " << threads << " threads";
        }
    }
}

} // namespace

} // namespace rv
