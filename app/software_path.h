#pragma once

#include "raster/frame_buffer.h"
#include "scene/scene.h"

namespace rv {

// Start-up preparation of the software path, once, after the scene is built:
// the buffer starts 0 x 0, so the first software frame allocates.
void prepareRendering(Scene& scene, FrameBuffer& frame);

// One software frame into frame.output: the depth storage is replaced only when
// the viewport size differs from the buffer's, then cleared, then the scene drawn.
void renderSoftware(const Scene& scene, FrameBuffer& frame, int width, int height);

} // namespace rv
