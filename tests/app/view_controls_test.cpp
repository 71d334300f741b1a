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
    bool overlay = false;
    Presentation present = Presentation::points;
    // Whether the window says what changed.
    bool notice = false;
};

// Also the case's name: the key, with capitals and other keys spelled out.
void PrintTo(const KeyCase& c, std::ostream* out) {
    if (c.key == 27)
        *out << "escape";
    else if (c.key == '?')
        *out << "question_mark";
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
    ViewState view;
    const KeyOutcome outcome = applyKey(scene, view, c.key);
    EXPECT_EQ(outcome.effect, c.effect);
    EXPECT_EQ(scene.mipmapping, c.mipmapping);
    EXPECT_EQ(scene.useOpenGL, c.useOpenGL);
    EXPECT_EQ(scene.clipping, c.clipping);
    EXPECT_EQ(view.display, c.display);
    EXPECT_EQ(view.overlay, c.overlay);
    EXPECT_EQ(view.present, c.present);
    EXPECT_EQ(!outcome.notice.empty(), c.notice) << outcome.notice;
}

constexpr Display renderer = Display::renderer, difference = Display::difference;
constexpr Presentation points = Presentation::points, image = Presentation::image;

INSTANTIATE_TEST_SUITE_P(Table, Keys,
                         ::testing::Values(KeyCase{'a', InputEffect::redraw, false, true, true, renderer, false, points, true},
                                           KeyCase{'g', InputEffect::redraw, true, false, true, renderer},
                                           KeyCase{'c', InputEffect::redraw, true, true, false, renderer, false, points, true},
                                           KeyCase{'d', InputEffect::redraw, true, true, true, difference},
                                           KeyCase{'h', InputEffect::redraw, true, true, true, renderer, true},
                                           KeyCase{'?', InputEffect::redraw, true, true, true, renderer, true},
                                           KeyCase{'p', InputEffect::redraw, true, true, true, renderer, false, image, true},
                                           KeyCase{'r', InputEffect::redraw, true, true, true, renderer},
                                           KeyCase{'s', InputEffect::save, true, true, true, renderer},
                                           KeyCase{'q', InputEffect::quit, true, true, true, renderer},
                                           KeyCase{27, InputEffect::quit, true, true, true, renderer},
                                           KeyCase{'A', InputEffect::none, true, true, true, renderer},
                                           KeyCase{'G', InputEffect::none, true, true, true, renderer},
                                           KeyCase{'C', InputEffect::none, true, true, true, renderer},
                                           KeyCase{'D', InputEffect::none, true, true, true, renderer},
                                           KeyCase{'H', InputEffect::none, true, true, true, renderer},
                                           KeyCase{'P', InputEffect::none, true, true, true, renderer},
                                           KeyCase{'R', InputEffect::none, true, true, true, renderer},
                                           KeyCase{'S', InputEffect::none, true, true, true, renderer},
                                           KeyCase{'Q', InputEffect::none, true, true, true, renderer},
                                           KeyCase{'x', InputEffect::none, true, true, true, renderer},
                                           KeyCase{0, InputEffect::none, true, true, true, renderer}),
                         ::testing::PrintToStringParamName());

// 'r' brings back the start-up pose and nothing else.
TEST(Keys, ResetRestoresOnlyThePose) {
    Scene scene;
    ViewState view;
    MouseDrag drag;
    applyMouseButton(view.pose, drag, mouse::leftButton, mouse::down, 10, 10);
    applyMouseMotion(view.pose, drag, 40, -20);
    applyMouseButton(view.pose, drag, mouse::wheelUp, mouse::down, 40, -20);
    view.pose.panX = 17;
    for (unsigned char key : {'a', 'c', 'g', 'd', 'p', 'h'}) applyKey(scene, view, key);
    const ViewState before = view;
    ASSERT_FALSE(view.pose == ViewPose{});
    applyKey(scene, view, 'r');
    EXPECT_TRUE(view.pose == ViewPose{});
    EXPECT_FALSE(scene.mipmapping || scene.clipping || scene.useOpenGL);
    EXPECT_EQ(view.display, before.display);
    EXPECT_EQ(view.present, before.present);
    EXPECT_EQ(view.overlay, before.overlay);
}

TEST(Keys, ToggleBackOnTheSecondPress) {
    Scene scene;
    ViewState view;
    for (unsigned char key : {'g', 'g', 'a', 'a', 'c', 'c', 'd', 'd'}) applyKey(scene, view, key);
    EXPECT_TRUE(scene.useOpenGL);
    EXPECT_TRUE(scene.mipmapping);
    EXPECT_TRUE(scene.clipping);
    EXPECT_EQ(view.display, Display::renderer);
}

TEST(Keys, LTogglesTheOpenGLLightingOnly) {
    Scene scene;
    ViewState view;
    EXPECT_EQ(applyKey(scene, view, 'L').effect, InputEffect::none);
    EXPECT_FALSE(scene.lightingEnabled);
    const KeyOutcome on = applyKey(scene, view, 'l');
    EXPECT_EQ(on.effect, InputEffect::redraw);
    EXPECT_EQ(on.notice, "OpenGL lighting on");
    EXPECT_TRUE(scene.lightingEnabled);
    EXPECT_TRUE(scene.useOpenGL);
    EXPECT_EQ(view.display, Display::renderer);
    applyKey(scene, view, 'l');
    EXPECT_FALSE(scene.lightingEnabled);
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
    ViewState view;
    for (const char* k = GetParam().keys; *k; ++k) applyKey(scene, view, static_cast<unsigned char>(*k));
    EXPECT_EQ(scene.useOpenGL, GetParam().useOpenGL);
    EXPECT_EQ(view.display, GetParam().display);
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
    ViewState view;
    // Where it does nothing it says why.
    EXPECT_NE(applyKey(scene, view, 'v').notice, "") << "on the OpenGL path";
    EXPECT_EQ(view.inspect, InspectView::picture);
    applyKey(scene, view, 'g');
    for (const InspectView expected : falseColourViews) {
        EXPECT_EQ(applyKey(scene, view, 'v').effect, InputEffect::redraw);
        EXPECT_EQ(view.inspect, expected);
    }
    applyKey(scene, view, 'd');
    EXPECT_NE(applyKey(scene, view, 'v').notice, "") << "in the difference view";
    EXPECT_EQ(view.inspect, InspectView::spans);
    applyKey(scene, view, 'd');
    // 'g' and 'a' keep the view: back on the software path it shows again.
    for (unsigned char key : {'g', 'a', 'g', 'a'}) applyKey(scene, view, key);
    EXPECT_EQ(view.inspect, InspectView::spans);
    applyKey(scene, view, 'v');
    EXPECT_EQ(view.inspect, InspectView::picture);
    EXPECT_EQ(applyKey(scene, view, 'V').effect, InputEffect::none);
}

} // namespace

} // namespace rv
