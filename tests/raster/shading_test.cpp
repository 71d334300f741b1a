#include <gtest/gtest.h>

#include "raster/shading.h"
#include "raster_fixtures.h"

namespace rv {

namespace {

// Identity matrices: the fragment at window (8, 8) of a 16 x 16 frame with depth 0
// sits at the world origin, on a surface facing +z, seen from the eye at (0, 0, 10).
struct ShadingFixture : ::testing::Test {
    Scene scene = flatScene();
    FrameBuffer frame;
    const Color orange = fromHSV(0.083f, 0.75f, 0.8f, 1);
    const Color white{1, 1, 1, 1};
    const Color black{0, 0, 0, 1};

    ShadingFixture() {
        frame.resize(16, 16);
        scene.ambient = {0.4f, 0.4f, 0.4f, 1};
    }
    Color shade(const Color& surface, const Color& specular, const Vector3& normal = {0, 0, 1}, float x = 8,
                float y = 8) {
        return shadeFragment(scene, frame, surface, specular, 100, {0, 0, 10}, x, y, 0, normal);
    }
};

TEST_F(ShadingFixture, WithoutLightsOnlyAmbient) {
    const Color c = shade(orange, white);
    EXPECT_NEAR(c.r, 0.32f, 1e-4);
    EXPECT_NEAR(c.g, 0.1995f, 1e-4);
    EXPECT_NEAR(c.b, 0.08f, 1e-4);
}

TEST_F(ShadingFixture, BothSidesAreLitAlike) {
    scene.lights.push_back({{1, 2, 5}, {0.8f, 0.8f, 0.8f, 1}});
    const Color front = shade(orange, black);
    scene.lights[0].position = {1, 2, -5};
    const Color behind = shade(orange, black);
    EXPECT_EQ(front.r, behind.r);
    EXPECT_EQ(front.g, behind.g);
    EXPECT_EQ(front.b, behind.b);
    EXPECT_GT(front.r, 0.33f) << "the diffuse term adds to the ambient one";
}

TEST_F(ShadingFixture, SpecularIgnoresTheLightColour) {
    // Light, eye and normal in line: the halfway vector is the normal, so the term is 1.
    scene.ambient = {0, 0, 0, 1};
    scene.lights.push_back({{0, 0, 5}, {0, 0, 0, 1}});
    const Color c = shade(black, {0.5f, 0.25f, 1, 1});
    EXPECT_FLOAT_EQ(c.r, 0.5f);
    EXPECT_FLOAT_EQ(c.g, 0.25f);
    EXPECT_FLOAT_EQ(c.b, 1);
}

TEST_F(ShadingFixture, ZeroLengthVectorsThrow) {
    EXPECT_THROW(shade(orange, white, {0, 0, 0}), ZeroDivide);
    // Pixel (0, 0) maps back to ndc (-1, -1): a light exactly there has no direction.
    scene.lights.push_back({{-1, -1, 0}, white});
    EXPECT_THROW(shade(orange, white, {0, 0, 1}, 0, 0), ZeroDivide);
    EXPECT_NO_THROW(shade(orange, white, {0, 0, 1}, 1, 0));
    scene.lights[0].position = {1, 1, 0};
    EXPECT_THROW(shade(orange, white, {0, 0, 1}, 16, 16), ZeroDivide);
}

// Span filling's forms report "no lighting" instead of throwing, in exactly the cases that throw above.
TEST_F(ShadingFixture, FragmentPathFormsReportInsteadOfThrowing) {
    const Vector3 eye{0, 0, 10};
    EXPECT_FALSE(placeFragment(scene, frame.width(), frame.height(), {-1, -1, 0}, 0, 0, 0)) << "a fragment at the eye";
    const std::optional<FragmentPlace> place = placeFragment(scene, frame.width(), frame.height(), eye, 0, 0, 0);
    ASSERT_TRUE(place);
    EXPECT_FALSE(lightFragment(scene, *place, orange, white, 100, {0, 0, 0})) << "a zero normal";
    scene.lights.push_back({{-1, -1, 0}, white});
    EXPECT_FALSE(lightFragment(scene, *place, orange, white, 100, {0, 0, 1})) << "a fragment at the light";
    scene.lights[0].position = {-2, -2, -10};
    EXPECT_FALSE(lightFragment(scene, *place, orange, white, 100, {0, 0, 1})) << "a light opposite the eye";
    scene.lights[0].position = {1, 1, 0};
    const std::optional<Color> lit = lightFragment(scene, *place, orange, white, 100, {0, 0, 1});
    ASSERT_TRUE(lit);
    EXPECT_EQ(*lit, shade(orange, white, {0, 0, 1}, 0, 0));
}

// The tile height map, and a tilted plane of heights; texture coordinates are given with 1/w = 1.
struct BumpFixture : ::testing::Test {
    Texture heights;
    Texture slope;
    const Vector3 up{0, 0, 1};
    BumpFixture() {
        heights.makeTileHeights(256, 256);
        slope.allocate(64, 64, 1);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) slope.setValue(x, y, (x + 2.0f * y) / 200);
    }
    Vector3 bump(float s, float t) { return perturbNormal({s, t, 1}, up, heights, 0.05f); }
    Vector3 bumpSlope(float s, float t) { return perturbNormal({s, t, 1}, up, slope, 0.05f); }
};

TEST_F(BumpFixture, TiltFollowsTheHeightDifferences) {
    // Inside [0, 1) the tilt is scale (H-1) s dh/dy across x and -scale (W-1) t dh/dx across y.
    const float s = 40.3f / 255, t = 20.6f / 255;
    const Vector3 n = bump(s, t);
    const float h10 = *heights.texel(41, 20, 0);
    const float h01 = *heights.texel(40, 21, 0), h11 = *heights.texel(41, 21, 0);
    const float tiltX = 0.05f * 255 * s * (h11 - h10);
    const float tiltY = -0.05f * 255 * t * (h11 - h01);
    EXPECT_NEAR(n.x, tiltY, 1e-5);
    EXPECT_NEAR(n.y, -tiltX, 1e-5);
    EXPECT_EQ(n.z, 1);
}

TEST_F(BumpFixture, VanishesOnTheLowerBordersAndOnFlatMaps) {
    EXPECT_EQ(bumpSlope(0, 0.3f).y, 0) << "s = 0";
    EXPECT_NE(bumpSlope(0, 0.3f).x, 0);
    EXPECT_EQ(bumpSlope(0.3f, 0).x, 0) << "t = 0";
    EXPECT_NE(bumpSlope(0.3f, 0).y, 0);
    EXPECT_NE(bumpSlope(0.3f, 0.3f).x, 0);
    Texture flat;
    flat.allocate(8, 8, 1);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) flat.setValue(x, y, 0.5f);
    const Vector3 tilted{0.3f, -0.2f, 0.9f};
    EXPECT_EQ(perturbNormal({0.37f, 0.61f, 1}, tilted, flat, 0.05f), tilted);
}

TEST_F(BumpFixture, ReadsStayInsideTheMap) {
    // Indices past the last row or column, or below the first, are clamped (the sanitizer build checks).
    for (const auto& [s, t] : {std::pair{1.0f, 1.0f}, {1.5f, -0.5f}, {-3.0f, 2.0f}, {1e30f, -1e30f}}) {
        const Vector3 n = bump(s, t);
        EXPECT_EQ(n.z, 1) << s << ", " << t;
    }
    EXPECT_THROW(perturbNormal({0.5f, 0.5f, 1}, {0, 0, 0}, heights, 0.05f), ZeroDivide);
    EXPECT_FALSE(bumpNormal({0.5f, 0.5f, 1}, {0, 0, 0}, heights, 0.05f));
}

} // namespace

} // namespace rv
