#pragma once

#include "scene/scene.h"

namespace rv {

// Draws the scene through OpenGL fixed-function state into the current context,
// the reference the software rasterizer is compared with. First prints every
// pending GL error on standard output ("ERROR: 0x%x" per line), then the caption
// at the lower-left corner. Leaves depth test, lighting and texturing off, so the
// software path's points are drawn unchanged afterwards. The caller swaps buffers.
void renderOpenGL(const Scene& scene, int width, int height);

} // namespace rv
