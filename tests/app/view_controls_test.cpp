#include "app/view_controls.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>

namespace rv {

namespace {

bool operator==(const ViewPose& a, const ViewPose& b) {
    return a.spin == b.spin && a.tilt == b.tilt && a.zoom == b.zoom && a.panX == b.panX && a.panY == b.panY;
}

bool operator==(const MouseDrag& a, const MouseDrag& b) {
    return a.lastX == b.lastX && a.lastY == b.lastY && a.leftDown == b.leftDown && a.rightDown == b.rightDown;
}

constexpr int up = 1;

struct KeyCase {
    unsigned char key;
    InputEffect effect;
    bool mipmapping, useOpenGL, clipping;
    Display display;
};

// Also the case's name: the key, with capitals and other keys spelled out.
void PrintTo(const KeyCase& c, std::ostream* out) {
    if (c.key == 27)
        *out << "escape";
    else if (std::isupper(c.key))
        *out << "capital_" << c.key;
    else if (std::isalnum(c.key))
        *out << c.key;
    else
        *out << "code_" << static_cast<int>(c.key);
}

class Keys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(Keys, ActOnlyOnTheirExactLetter) {
    const KeyCase c = GetParam();
    Scene scene;
    Display display = Display::renderer;
    InspectView inspect = InspectView::picture;
    EXPECT_EQ(applyKey(scene, display, inspect, c.key), c.effect);
    EXPECT_EQ(scene.mipmapping, c.mipmapping);
    EXPECT_EQ(scene.useOpenGL, c.useOpenGL);
    EXPECT_EQ(scene.clipping, c.clipping);
    EXPECT_EQ(display, c.display);
}

constexpr Display renderer = Display::renderer, difference = Display::difference;

INSTANTIATE_TEST_SUITE_P(Table, Keys,
                         ::testing::Values(KeyCase{'a', InputEffect::redraw, false, true, true, renderer},
                                           KeyCase{'g', InputEffect::redraw, true, false, true, renderer},
                                           KeyCase{'c', InputEffect::redraw, true, true, false, renderer},
                                           KeyCase{'d', InputEffect::redraw, true, true, true, difference},
                                           KeyCase{'s', InputEffect::save, true, true, true, renderer},
                                           KeyCase{'q', InputEffect::quit, true, true, true, renderer},
                                           KeyCase{27, InputEffect::quit, true, true, true, renderer},
                                           KeyCase{'A', InputEffect::none, true, true, true, renderer},
                                           KeyCase{'G', InputEffect::none, true, true, true, renderer},
                                           KeyCase{'C', InputEffect::none, true, true, true, renderer},
                                           KeyCase{'D', InputEffect::none, true, true, true, renderer},
                                           KeyCase{'S', InputEffect::none, true, true, true, renderer},
                                           KeyCase{'Q', InputEffect::none, true, true, true, renderer},
                                           KeyCase{'x', InputEffect::none, true, true, true, renderer},
                                           KeyCase{0, InputEffect::none, true, true, true, renderer}),
                         ::testing::PrintToStringParamName());

TEST(Keys, ToggleBackOnTheSecondPress) {
    Scene scene;
    Display display = Display::renderer;
    InspectView inspect = InspectView::picture;
    for (unsigned char key : {'g', 'g', 'a', 'a', 'c', 'c', 'd', 'd'}) applyKey(scene, display, inspect, key);
    EXPECT_TRUE(scene.useOpenGL);
    EXPECT_TRUE(scene.mipmapping);
    EXPECT_TRUE(scene.clipping);
    EXPECT_EQ(display, Display::renderer);
}

struct KeySequence {
    const char* name;
    const char* keys;
    // What the window shows afterwards.
    bool useOpenGL;
    Display display;
};

void PrintTo(const KeySequence& s, std::ostream* out) { *out << s.name; }

class DifferenceView : public ::testing::TestWithParam<KeySequence> {};

// 'd' never touches the renderer choice, and 'g' from the difference view only
// leaves it: otherwise the window would come back on the other renderer.
TEST_P(DifferenceView, LeavesTheRendererChoiceToG) {
    Scene scene;
    Display display = Display::renderer;
    InspectView inspect = InspectView::picture;
    for (const char* k = GetParam().keys; *k; ++k) applyKey(scene, display, inspect, static_cast<unsigned char>(*k));
    EXPECT_EQ(scene.useOpenGL, GetParam().useOpenGL);
    EXPECT_EQ(display, GetParam().display);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DifferenceView,
    ::testing::Values(KeySequence{"DBackToOpenGL", "dd", true, renderer},
                      KeySequence{"GLeavesTheDifferenceOnly", "dg", true, renderer},
                      KeySequence{"GLeavesForTheSoftwarePathChosenBefore", "gdg", false, renderer},
                      KeySequence{"DBackToTheSoftwarePath", "gdd", false, renderer},
                      KeySequence{"GAfterLeavingToggles", "dgg", false, renderer},
                      KeySequence{"OtherKeysKeepTheDifference", "gdacs", false, difference}),
    ::testing::PrintToStringParamName());

class Mouse : public ::testing::Test {
protected:
    ViewPose view;
    MouseDrag drag;
    void press(int button, int x, int y) {
        EXPECT_EQ(applyMouseButton(view, drag, button, mouse::down, x, y), InputEffect::redraw);
    }
    void release(int button, int x, int y) { EXPECT_EQ(applyMouseButton(view, drag, button, up, x, y), InputEffect::redraw); }
    void move(int x, int y) { EXPECT_EQ(applyMouseMotion(view, drag, x, y), InputEffect::redraw); }
};

TEST_F(Mouse, LeftDragSpinsAndTiltsOneDegreePerPixel) {
    press(mouse::leftButton, 100, 100);
    move(110, 100);
    EXPECT_EQ(view.spin, -125);
    EXPECT_EQ(view.tilt, -60);
    move(110, 93);
    EXPECT_EQ(view.tilt, -67);
    EXPECT_EQ(view.panX, 0);
    EXPECT_EQ(view.panY, 0);
}

TEST_F(Mouse, OnlyMovementWhileTheButtonIsHeldCounts) {
    press(mouse::leftButton, 100, 100);
    move(110, 100);
    release(mouse::leftButton, 110, 100);
    move(150, 130);
    EXPECT_EQ(view.spin, -125);
    EXPECT_EQ(view.tilt, -60);
    EXPECT_FALSE(drag.leftDown);
}

TEST_F(Mouse, DragStartsFromThePressPosition) {
    move(0, 0);
    press(mouse::leftButton, 200, 50);
    move(205, 50);
    EXPECT_EQ(view.spin, -130);
}

TEST_F(Mouse, RightDragPansAndBothButtonsDoBoth) {
    press(mouse::rightButton, 10, 10);
    move(40, 30);
    EXPECT_EQ(view.panX, 30);
    EXPECT_EQ(view.panY, 20);
    EXPECT_EQ(view.spin, -135);

    press(mouse::leftButton, 40, 30);
    move(45, 28);
    EXPECT_EQ(view.panX, 35);
    EXPECT_EQ(view.panY, 18);
    EXPECT_EQ(view.spin, -130);
    EXPECT_EQ(view.tilt, -62);
}

TEST_F(Mouse, WheelStepsOnPressAndReleaseAndUpThenDownRestoresZoom) {
    press(mouse::wheelUp, 5, 5);
    EXPECT_EQ(view.zoom, 1.25f);
    release(mouse::wheelUp, 5, 5);
    EXPECT_EQ(view.zoom, 2.25f);
    press(mouse::wheelDown, 5, 5);
    release(mouse::wheelDown, 5, 5);
    EXPECT_EQ(view.zoom, 0.25f);
    EXPECT_FALSE(drag.leftDown);
    EXPECT_FALSE(drag.rightDown);
}

TEST_F(Mouse, MiddleAndUnknownButtonsAndBareMotionRedrawWithoutChangingTheView) {
    press(mouse::middleButton, 70, 80);
    move(90, 95);
    release(mouse::middleButton, 90, 95);
    press(7, 3, 4);
    EXPECT_TRUE(view == ViewPose{});
    EXPECT_TRUE(drag == (MouseDrag{3, 4, false, false}));
}

// 'v' steps the software picture through every view and back; the OpenGL path
// and the difference view have no frame of their own to show, so it waits there.
TEST(InspectKey, CyclesOnTheSoftwarePathOnly) {
    Scene scene;
    Display display = Display::renderer;
    InspectView inspect = InspectView::picture;
    EXPECT_EQ(applyKey(scene, display, inspect, 'v'), InputEffect::none) << "on the OpenGL path";
    EXPECT_EQ(inspect, InspectView::picture);
    applyKey(scene, display, inspect, 'g');
    for (const InspectView expected : falseColourViews) {
        EXPECT_EQ(applyKey(scene, display, inspect, 'v'), InputEffect::redraw);
        EXPECT_EQ(inspect, expected);
    }
    applyKey(scene, display, inspect, 'd');
    EXPECT_EQ(applyKey(scene, display, inspect, 'v'), InputEffect::none) << "in the difference view";
    applyKey(scene, display, inspect, 'd');
    // 'g' and 'a' keep the view: back on the software path it shows again.
    for (unsigned char key : {'g', 'a', 'g', 'a'}) applyKey(scene, display, inspect, key);
    EXPECT_EQ(inspect, InspectView::spans);
    applyKey(scene, display, inspect, 'v');
    EXPECT_EQ(inspect, InspectView::picture);
    EXPECT_EQ(applyKey(scene, display, inspect, 'V'), InputEffect::none);
}

} // namespace

} // namespace rv
