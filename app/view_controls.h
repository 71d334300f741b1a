#pragma once

#include <string>

#include "view/presentation.h"
#include "view/view_pose.h"
#include "picture/inspection_views.h"
#include "scene/scene.h"

namespace rv {

// What the window has to do after an input event. `save` writes the current
// view's pictures, then redraws.
enum class InputEffect { none, redraw, save, quit };

// What the window shows: the picture of the renderer scene.useOpenGL selects,
// or the difference of both renderers' pictures.
enum class Display { renderer, difference };

// What input changes besides the scene's flags.
struct ViewState {
    ViewPose pose;
    Display display = Display::renderer;
    // What the software path shows: its picture or a false-colour view of its frame.
    InspectView inspect = InspectView::picture;
    // How the software frame reaches the window.
    Presentation present = Presentation::points;
    // The keys overlay; off at start, so the window shows exactly what rastershot draws.
    bool overlay = false;
};

// What a key did: the window's next step, and a short notice for the window when the change needs saying.
struct KeyOutcome {
    InputEffect effect = InputEffect::none;
    std::string notice;
};

// GLUT's button and state numbers, so that this code needs no GLUT header;
// the GLUT callbacks check that they match.
namespace mouse {
constexpr int leftButton = 0;
constexpr int middleButton = 1;
constexpr int rightButton = 2;
constexpr int wheelUp = 3;
constexpr int wheelDown = 4;
constexpr int down = 0;
} // namespace mouse

// The key's entry of the key table (app/key_table.h) acts; letters are
// case-sensitive, and a key with no entry does nothing.
KeyOutcome applyKey(Scene& scene, ViewState& view, unsigned char key);

// The mouse drag in progress: which buttons are held and where the pointer was
// last seen, so that the next motion event moves the pose by the difference.
struct MouseDrag {
    int lastX = 0;
    int lastY = 0;
    bool leftDown = false;
    bool rightDown = false;
};

// Tracks the left and right buttons and steps the zoom on every wheel call, press
// and release alike, as GLUT reports both for one notch.
InputEffect applyMouseButton(ViewPose& pose, MouseDrag& drag, int button, int state, int x, int y);

// Left-drag spins and tilts by one degree per pixel; right-drag pans.
InputEffect applyMouseMotion(ViewPose& pose, MouseDrag& drag, int x, int y);

} // namespace rv
