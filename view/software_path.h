#pragma once

#include <functional>

#include "picture/difference.h"
#include "raster/band_renderer.h"
#include "raster/frame_buffer.h"
#include "raster/pixel_sink.h"
#include "scene/scene.h"

namespace rv {

// Start-up preparation of the software path, once, after the scene is built:
// the buffer starts 0 x 0, so the first software frame allocates.
void prepareRendering(Scene& scene, FrameBuffer& frame);

// One software frame: the depth storage is replaced only when the viewport
// size differs from the buffer's, then the frame is cleared and the scene drawn
// by `renderer`, on the calling thread with one thread, in bands with more (see
// BandRenderer::draw for frame.output and `afterBand`).
void renderSoftware(const Scene& scene, FrameBuffer& frame, BandRenderer& renderer, int width, int height,
                    const std::function<void(RowRange)>& afterBand = {});

// One point per pixel that holds a fragment, with its kept colour, bottom row
// first and left to right, in one bracket: a frame drawn in memory sent on as
// points. The frame keeps its colours.
void sendCoveredPixels(const FrameBuffer& frame, PixelSink& sink);

// The software frame as the window shows it, from its kept colours (over
// white, as the window clears): every channel through windowByte, and which
// pixels hold a fragment by the depth buffer, both top row first.
Snapshot softwareSnapshot(const FrameBuffer& frame);

// Rows `rows` of that snapshot only, into one already of the frame's size, so
// that each band's thread converts its own rows while others still draw.
void toSnapshot(const FrameBuffer& frame, RowRange rows, Snapshot& shot);

} // namespace rv
