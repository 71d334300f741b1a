#pragma once

#include "view/view_pose.h"
#include "scene/scene.h"

namespace rv {

// Rebuilds the scene's projection and modelview stacks for a width x height
// viewport and caches their inverses. The shorter window side always spans the
// same angle, so a wide window shows more at the sides instead of stretching.
void setupCamera(Scene& scene, const ViewPose& pose, int width, int height);

} // namespace rv
