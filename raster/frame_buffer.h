#pragma once

#include <limits>
#include <memory>

#include "math/color.h"
#include "raster/pixel_sink.h"

namespace rv {

// Per-frame counters, reset by clear().
struct RenderStats {
    long spans = 0;
    long fragmentsShaded = 0;
    long fragmentsPlotted = 0;
};

// The software depth buffer and the one place where software pixels leave the
// rasterizer. Rows are stored bottom row first, like window coordinates.
class FrameBuffer {
public:
    // Marks an empty pixel. Every finite depth beats it; a marker inside the depth
    // range (such as -1) would let a far fragment overwrite a near one.
    static constexpr float empty = std::numeric_limits<float>::infinity();

    int width = 0;
    int height = 0;
    std::unique_ptr<float[]> depth;
    // Receives passing fragments; may be null to depth-test only.
    PixelSink* output = nullptr;
    RenderStats stats;

    // 0 x 0 with no storage.
    void reset();
    // Replaces the storage for the width and height just recorded; contents undefined until clear().
    void resize();
    void clear();

    void beginSpan() {
        ++stats.spans;
        if (output) output->beginSpan();
    }
    void endSpan() {
        if (output) output->endSpan();
    }

    // Strictly nearer passes; equal depth fails, so the first of equal fragments
    // stays; a NaN depth never passes. Callers keep 0 <= x < width, 0 <= y < height.
    void plotPixel(int rowLength, int x, int y, float fragmentDepth, const Color& color) {
        float& stored = depth[static_cast<long>(y) * rowLength + x];
        if (!(fragmentDepth < stored)) return;
        stored = fragmentDepth;
        ++stats.fragmentsPlotted;
        if (output) output->plot(x, y, color);
    }
};

} // namespace rv
