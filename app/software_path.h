#pragma once

#include <functional>

#include "raster/band_renderer.h"
#include "raster/frame_buffer.h"
#include "raster/pixel_sink.h"
#include "scene/scene.h"

namespace rv {

// Start-up preparation of the software path, once, after the scene is built:
// the buffer starts 0 x 0, so the first software frame allocates.
void prepareRendering(Scene& scene, FrameBuffer& frame);

// One software frame into frame.output: the depth storage is replaced only when
// the viewport size differs from the buffer's, then cleared, then the scene drawn.
void renderSoftware(const Scene& scene, FrameBuffer& frame, int width, int height);

// The same frame cleared and drawn by `renderer`'s threads (see
// BandRenderer::draw for frame.output and `afterBand`).
void renderSoftware(const Scene& scene, FrameBuffer& frame, BandRenderer& renderer, int width, int height,
                    const std::function<void(RowRange)>& afterBand = {});

// One point per pixel that holds a fragment, with its kept colour, bottom row
// first and left to right, in one bracket: a frame drawn in memory sent on as
// points. The frame keeps its colours.
void sendCoveredPixels(const FrameBuffer& frame, PixelSink& sink);

} // namespace rv
