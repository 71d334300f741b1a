#pragma once

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

// Letters are case-sensitive: 'a' toggles mip-mapping, 'c' the software path's
// clipping, 'd' the difference view, 'g' the renderer (from the difference
// view it only returns to the renderer's picture), 's' saves the view, 'v'
// steps the software picture through the false-colour views of its frame (on
// the software path only; elsewhere it does nothing), 'q' and ESC quit.
InputEffect applyKey(Scene& scene, Display& display, InspectView& inspect, unsigned char key);

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
