#pragma once

#include "view/software_window.h"
#include "view/view_pose.h"
#include "raster/frame_buffer.h"
#include "scene/scene.h"

namespace rv {

// One frame of the viewer into the current GL context's back buffer, not yet
// swapped: white clear (unless the software frame sets every pixel), one unit
// per pixel from the lower-left corner, the camera for `pose`, then the path
// the scene's useOpenGL flag selects. The window and any program that needs
// the window's exact picture share it.
void drawFrame(Scene& scene, FrameBuffer& frame, const ViewPose& pose, SoftwareWindow& software, int width,
               int height);

// drawFrame's set-up alone, before anything is drawn: white clear (unless the
// frame about to be drawn sets every pixel anyway), one unit per pixel, the
// camera for `pose`.
void beginFrame(Scene& scene, const ViewPose& pose, int width, int height, bool clear = true);

// GL's matrices for one unit per pixel from the lower-left corner: a point or
// an image at (x, y) lands on pixel (x, y).
void loadPixelProjection(int width, int height);

// The dispatch alone: the OpenGL reference path, or the software path into the window through `software`.
void renderScene(const Scene& scene, FrameBuffer& frame, SoftwareWindow& software, int width, int height);

} // namespace rv
