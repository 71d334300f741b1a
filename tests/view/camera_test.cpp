#include "view/camera.h"

#include <gtest/gtest.h>

#include <ostream>

namespace rv {

namespace {

// Window coordinates, origin at the lower left, of a scene point seen through the camera.
struct WindowPoint {
    double x, y;
};

WindowPoint project(const Scene& scene, const Vector4& p, int width, int height) {
    const Vector4 clip = scene.projection.transformPoint(scene.modelview.transformPoint(p));
    return {(clip.x / clip.w + 1) * width / 2, (clip.y / clip.w + 1) * height / 2};
}

struct ExtentCase {
    int width, height;
    double ex, ey;
};

// Also the case's name: 640x480.
void PrintTo(const ExtentCase& c, std::ostream* out) { *out << c.width << 'x' << c.height; }

class CameraExtents : public ::testing::TestWithParam<ExtentCase> {};

TEST_P(CameraExtents, ShorterSideSpansTheSameAngle) {
    const ExtentCase c = GetParam();
    Scene scene;
    setupCamera(scene, ViewPose{}, c.width, c.height);
    const Matrix4& m = scene.projection.current;
    EXPECT_NEAR(1 / m(0, 0), c.ex, 1e-6);
    EXPECT_NEAR(1 / m(1, 1), c.ey, 1e-6);
    // Near 0.1, far 100: eye depth -0.1 maps to -1 and -100 to +1.
    const Vector4 nearPoint = transform(m, {0, 0, -0.1f, 1});
    const Vector4 farPoint = transform(m, {0, 0, -100, 1});
    EXPECT_NEAR(nearPoint.z / nearPoint.w, -1, 1e-5);
    EXPECT_NEAR(farPoint.z / farPoint.w, 1, 1e-5);
}

INSTANTIATE_TEST_SUITE_P(Windows, CameraExtents,
                         ::testing::Values(ExtentCase{640, 480, 0.4 * 640 / 480, 0.4}, ExtentCase{480, 640, 0.4, 0.4 * 640 / 480},
                                           ExtentCase{480, 480, 0.4, 0.4}),
                         ::testing::PrintToStringParamName());

TEST(Camera, ExtentsComeFromTheFloatBaseWidenedToDouble) {
    // At 545 x 500 the double 0.4 would give another float extent (0.43599999
    // instead of 0.43600002) and another 1 / extent in the matrix.
    const float longSide = static_cast<float>(static_cast<double>(0.4f) * 545 / 500);
    ASSERT_NE(1 / longSide, 1 / static_cast<float>(0.4 * 545 / 500));
    Scene wide, tall;
    setupCamera(wide, ViewPose{}, 545, 500);
    setupCamera(tall, ViewPose{}, 500, 545);
    EXPECT_EQ(wide.projection.current(0, 0), 1 / longSide);
    EXPECT_EQ(wide.projection.current(1, 1), 1 / 0.4f);
    EXPECT_EQ(tall.projection.current(0, 0), 1 / 0.4f);
    EXPECT_EQ(tall.projection.current(1, 1), 1 / longSide);
}

TEST(Camera, StartUpViewPutsTheOriginAtTheWindowCentreInFrontOfTheEye) {
    Scene scene;
    setupCamera(scene, ViewPose{}, 480, 480);
    const WindowPoint origin = project(scene, {0, 0, 0, 1}, 480, 480);
    EXPECT_EQ(origin.x, 240);
    EXPECT_EQ(origin.y, 240);
    const Vector4 eye = scene.modelview.transformPoint({0, 0, 0, 1});
    EXPECT_FLOAT_EQ(eye.z, -2.9375f);
}

TEST(Camera, CachesBothInverses) {
    Scene scene;
    setupCamera(scene, ViewPose{}, 640, 480);
    const Vector4 p{0.3f, -0.2f, 0.1f, 1};
    for (const MatrixStack* stack : {&scene.modelview, &scene.projection}) {
        const Vector4 back = stack->transformByInverse(stack->transformPoint(p));
        EXPECT_NEAR(back.x / back.w, p.x, 1e-5);
        EXPECT_NEAR(back.y / back.w, p.y, 1e-5);
        EXPECT_NEAR(back.z / back.w, p.z, 1e-5);
    }
}

TEST(Camera, SpinIsAboutTheSceneAxisBeforeTheTilt) {
    Scene scene;
    ViewPose view;
    view.spin = 90;
    view.tilt = -60;
    setupCamera(scene, view, 480, 480);
    // Spun 90 degrees the x axis becomes the y axis, which the tilt then leans back.
    const Vector4 eye = scene.modelview.transformPoint({1, 0, 0, 1});
    EXPECT_NEAR(eye.x, 0, 1e-5);
    EXPECT_NEAR(eye.y, 0.5, 1e-5);
    EXPECT_NEAR(eye.z, -2.9375 - 0.8660254, 1e-5);
}

TEST(Camera, PanFollowsTheDragAndZoomMovesTowardsTheEye) {
    Scene scene;
    ViewPose view;
    // Dragged right and down (GLUT's y grows downwards).
    view.panX = 30;
    view.panY = 20;
    view.zoom = 2.25f;
    setupCamera(scene, view, 480, 480);
    const Vector4 eye = scene.modelview.transformPoint({0, 0, 0, 1});
    EXPECT_FLOAT_EQ(eye.x, 0.3f);
    EXPECT_FLOAT_EQ(eye.y, -0.2f);
    EXPECT_FLOAT_EQ(eye.z, -3 + 0.5625f);
    const WindowPoint origin = project(scene, {0, 0, 0, 1}, 480, 480);
    EXPECT_GT(origin.x, 240);
    EXPECT_LT(origin.y, 240);
}

} // namespace

} // namespace rv
