#pragma once

#include "raster/frame_buffer.h"
#include "scene/scene.h"

namespace rv {

// Draws every polygon of every object into `frame`, which the caller has sized
// and cleared, each clipped to the near and far planes unless scene.clipping
// is off. Visibility between polygons is the depth test's.
void drawObjects(const Scene& scene, FrameBuffer& frame);

// drawObjects restricted to `rows`: every polygon, in order, over those rows
// only, with exactly the pixels, depths and counts drawObjects gives there.
void drawObjectRows(const Scene& scene, FrameBuffer& frame, RowRange rows);

} // namespace rv
