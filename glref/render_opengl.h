#pragma once

#include "scene/scene.h"

namespace rv {

// Draws the scene through OpenGL fixed-function state into the current context,
// the reference the software rasterizer is compared with. First prints every
// pending GL error on standard output ("ERROR: 0x%x" per line), then the caption
// at the lower-left corner. Leaves depth test, lighting and texturing off, so the
// software path's points are drawn unchanged afterwards. The caller swaps buffers.
void renderOpenGL(const Scene& scene, int width, int height);

// One line of black GLUT_BITMAP_HELVETICA_18 text at (10, 10) from the lower-left
// corner of a width x height window, whatever the current matrices; writes no
// depth. Leaves lighting off.
void drawCaption(const char* text, int width, int height);

} // namespace rv
