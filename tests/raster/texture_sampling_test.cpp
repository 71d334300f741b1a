#include <gtest/gtest.h>

#include <cmath>

#include "raster/mip_pyramid.h"
#include "raster/texture_sampling.h"
#include "scene/scene.h"

namespace rv {

namespace {

TEST(HalveLevel, AveragesBlocksDownToOneTexel) {
    const float src[16] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    float dst[2 * 3 + 1 * 2] = {};
    EXPECT_EQ(halveLevel(src, 4, 4, 1, dst), 2);
    EXPECT_EQ(dst[0], 2.5f);
    EXPECT_EQ(dst[1], 4.5f);
    EXPECT_EQ(dst[2], 10.5f);
    EXPECT_EQ(dst[3], 12.5f);
    // Level 2 starts after level 1's spare row.
    EXPECT_EQ(dst[6], 7.5f);
    EXPECT_EQ(halveLevel(src, 4, 2, 1, dst), 1) << "a side of one ends the chain";
    EXPECT_EQ(halveLevel(src, 1, 4, 1, dst), 0);
}

// The tile colour texture with its pyramid, and a ramp texture whose texels all differ.
struct PyramidFixture : ::testing::Test {
    Texture tiles;
    Texture ramp;

    PyramidFixture() {
        tiles.makeTileColors(256, 256);
        tiles.pyramid = buildPyramid(tiles);
        ramp.allocate(256, 256, 3);
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x) ramp.setRGB(x, y, {x / 255.0f, y / 255.0f, (x * y % 7) / 7.0f, 1});
        ramp.pyramid = buildPyramid(ramp);
    }
    static Color texelOf(const Texture& texture, int x, int y) {
        const float* p = texture.texel(x, y, 0);
        return {p[0], p[1], p[2], 1};
    }
};

TEST_F(PyramidFixture, LevelLayout) {
    const MipPyramid& p = *tiles.pyramid;
    EXPECT_EQ(p.levelCount, 8);
    ASSERT_EQ(p.levels.size(), 8u);
    EXPECT_EQ(p.levels[0].offset, 0);
    EXPECT_EQ(p.levels[0].width, 128);
    EXPECT_EQ(p.levels[1].offset, 3 * 128 * 129);
    EXPECT_EQ(p.levels[1].offset, 49536);
    EXPECT_EQ(p.levels[7].width, 1);
    EXPECT_EQ(p.levels[7].offset + 3 * 1 * 2, 66300) << "the spare rows count in the storage size";
}

TEST_F(PyramidFixture, CoarsestLevelIsTheImageAverage) {
    double sum[3] = {};
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            for (int j = 0; j < 3; ++j) sum[j] += *tiles.texel(x, y, j);
    const float* top = tiles.pyramid->storage.get() + tiles.pyramid->levels[7].offset;
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(top[j], sum[j] / 65536, 1e-6) << "channel " << j;
}

TEST_F(PyramidFixture, BuildPyramidsOncePerTexture) {
    Scene scene;
    Texture shared;
    shared.makeTileColors(8, 8);
    for (int i = 0; i < 2; ++i) scene.objects.emplace_back().colorTexture = &shared;
    scene.objects.emplace_back();
    buildPyramids(scene);
    ASSERT_NE(shared.pyramid, nullptr);
    const MipPyramid* built = shared.pyramid.get();
    buildPyramids(scene);
    EXPECT_EQ(shared.pyramid.get(), built);
    EXPECT_EQ(built->levelCount, 3);
}

TEST_F(PyramidFixture, LevelOfDetailChoosesAndBlendsLevels) {
    const MipPyramid& p = *ramp.pyramid;
    const float s = 0.37f, t = 0.71f;
    const Color level0 = sampleBilinear(p, 0, s, t);
    const Color level1 = sampleBilinear(p, 1, s, t);
    ASSERT_NE(level0, level1);
    EXPECT_EQ(sampleTrilinear(p, 0.5f, s, t), 0.5f * level0 + 0.5f * level1);
    EXPECT_EQ(sampleTrilinear(p, 1, s, t), level1);
    const float* coarsest = p.storage.get() + p.levels[7].offset;
    EXPECT_EQ(sampleTrilinear(p, 8, s, t), (Color{coarsest[0], coarsest[1], coarsest[2], 1}));
    EXPECT_EQ(sampleTrilinear(p, 8.5f, s, t), sampleBilinear(p, 7, s, t)) << "beyond the coarsest: one level above it";
    EXPECT_EQ(sampleTrilinear(p, -2, s, t), sampleNearest(p, s, t));
    EXPECT_EQ(sampleTrilinear(p, std::nanf(""), s, t), sampleNearest(p, s, t));
}

TEST_F(PyramidFixture, NearestReplacesOutOfRangeIndicesByZero) {
    const MipPyramid& p = *ramp.pyramid;
    EXPECT_EQ(sampleNearest(p, 1, 1), texelOf(ramp, 255, 255));
    EXPECT_EQ(sampleNearest(p, 1.01f, 1), texelOf(ramp, 0, 255));
    EXPECT_EQ(sampleNearest(p, 0.5f, -0.01f), texelOf(ramp, 128, 0));
    EXPECT_EQ(sampleNearest(p, 0.2f, -0.5f), texelOf(ramp, 51, 0));
    EXPECT_EQ(sampleNearest(p, 1e30f, std::nanf("")), texelOf(ramp, 0, 0));
}

TEST_F(PyramidFixture, BilinearClampsCoordinates) {
    const MipPyramid& p = *ramp.pyramid;
    EXPECT_EQ(sampleBilinear(p, 0, -0.2f, 0.4f), sampleBilinear(p, 0, 0, 0.4f));
    EXPECT_EQ(sampleBilinear(p, 3, 0.4f, 7), sampleBilinear(p, 3, 0.4f, 1));
    EXPECT_EQ(sampleBilinear(p, 0, std::nanf(""), 0.4f), sampleBilinear(p, 0, 0, 0.4f));
    EXPECT_EQ(sampleBilinear(p, 0, 1, 1), texelOf(ramp, 255, 255));
}

TEST_F(PyramidFixture, FootprintGivesTheLevelOfDetail) {
    const float s = 0.37f, t = 0.71f;
    // 1/w = 0.5: texOverW and steps are halved, the footprint is 2 x 2 texels.
    const Vector3 texOverW{s * 0.5f, t * 0.5f, 0.5f};
    const float step = 2.0f / 256 * 0.5f;
    EXPECT_EQ(sampleTexture(texOverW, step, 0, 0, step, ramp, true), sampleBilinear(*ramp.pyramid, 1, s, t));
    EXPECT_EQ(sampleTexture(texOverW, step, 0, 0, step, ramp, false), sampleNearest(*ramp.pyramid, s, t));
    EXPECT_EQ(sampleTexture(texOverW, 0, 0, 0, 0, ramp, true), sampleNearest(*ramp.pyramid, s, t))
        << "a zero footprint is magnification";
    EXPECT_EQ(sampleTexture(texOverW, 100, 3, -7, 100, ramp, false), sampleNearest(*ramp.pyramid, s, t))
        << "mipmapping off ignores any footprint";
}

} // namespace

} // namespace rv
