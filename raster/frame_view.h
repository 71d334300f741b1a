#pragma once

#include <cstddef>

#include "raster/frame_buffer.h"

namespace rv {

// What the drawing stages write into: a FrameBuffer's depth, kept colours and
// records, borrowed, with a sink and counters of the view's own choosing. It
// cannot resize or drop anything, so bands on several threads can each hold one
// over the same buffer; the buffer stays the one owner and must outlive its views.
class FrameView {
public:
    // The whole frame with its output, counting into frame.stats.
    FrameView(FrameBuffer& frame) : FrameView(frame, frame.stats, frame.output) {}
    // The same storage with no output, counting into `counts`: what one band draws
    // into while other bands draw theirs.
    FrameView(FrameBuffer& frame, RenderStats& counts) : FrameView(frame, counts, nullptr) {}

    int width() const { return w; }
    int height() const { return h; }
    PixelSink* output() const { return sink; }
    RenderStats& stats() const { return *counts; }
    bool keepsRecords() const { return recordPixels != nullptr; }

    void beginSpan() const {
        ++counts->spans;
        if (sink) sink->beginSpan();
    }
    void endSpan() const {
        if (sink) sink->endSpan();
    }

    // Strictly nearer passes; equal depth fails, so the first of equal fragments
    // stays; a NaN depth never passes. Callers keep 0 <= x < width, 0 <= y < height
    // and count what passes (the counters are bumped once per span, not per fragment).
    // Whether the fragment passed.
    bool plotPixel(int x, int y, float fragmentDepth, const Color& color) const {
        const size_t i = index(x, y);
        float& stored = depthPixels[i];
        if (!(fragmentDepth < stored)) return false;
        stored = fragmentDepth;
        if (colorPixels) {
            float* p = &colorPixels[i * 3];
            p[0] = color.r;
            p[1] = color.g;
            p[2] = color.b;
        }
        if (sink) sink->plot(x, y, color);
        return true;
    }
    // Row y's depth values and kept colours (null when colours are not kept), from
    // column 0: for plotting a batch of fragments at once.
    float* depthRow(int y) const { return depthPixels + index(0, y); }
    float* colorRow(int y) const { return colorPixels ? colorPixels + index(0, y) * 3 : nullptr; }
    // Stores the record of the fragment just plotted at (x, y), when records are kept.
    void keepRecord(int x, int y, const FragmentRecord& record) const {
        if (recordPixels) recordPixels[index(x, y)] = record;
    }

private:
    FrameView(FrameBuffer& frame, RenderStats& counts, PixelSink* sink)
        : w(frame.w), h(frame.h), depthPixels(frame.depthPixels), colorPixels(frame.colorPixels),
          recordPixels(frame.recordPixels), sink(sink), counts(&counts) {}

    size_t index(int x, int y) const { return static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x); }

    int w;
    int h;
    float* depthPixels;
    float* colorPixels;
    FragmentRecord* recordPixels;
    PixelSink* sink;
    RenderStats* counts;
};

} // namespace rv
