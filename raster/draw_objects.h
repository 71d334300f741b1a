#pragma once

#include "raster/frame_buffer.h"
#include "scene/scene.h"

namespace rv {

// Draws every polygon of every object into `frame`, which the caller has sized
// and cleared, each clipped to the near and far planes unless scene.clipping
// is off, on the calling thread: the vertex stage, then the raster stage over
// all rows. Visibility between polygons is the depth test's. Frame after frame,
// BandRenderer keeps the stages' storage instead of making it anew.
void drawObjects(const Scene& scene, FrameBuffer& frame);

} // namespace rv
