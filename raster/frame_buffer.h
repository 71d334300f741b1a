#pragma once

#include <limits>
#include <memory>

#include "math/color.h"
#include "raster/fragment_record.h"
#include "raster/pixel_sink.h"

namespace rv {

// Per-frame counters, reset by clear().
struct RenderStats {
    long spans = 0;
    long fragmentsShaded = 0;
    long fragmentsPlotted = 0;

    RenderStats& operator+=(const RenderStats& other) {
        spans += other.spans;
        fragmentsShaded += other.fragmentsShaded;
        fragmentsPlotted += other.fragmentsPlotted;
        return *this;
    }
    friend bool operator==(const RenderStats&, const RenderStats&) = default;
};

// Rows [begin, end) of a frame, counted from the bottom.
struct RowRange {
    int begin = 0;
    int end = 0;
};

// The software depth buffer, optionally the frame's colours and records: their
// one owner. The drawing stages write through a FrameView of it. Rows are stored
// bottom row first, like window coordinates. The stages read the frame size from
// here, so it is recorded in exactly one place.
class FrameBuffer {
public:
    // Marks an empty pixel. Every finite depth beats it; a marker inside the depth
    // range (such as -1) would let a far fragment overwrite a near one.
    static constexpr float empty = std::numeric_limits<float>::infinity();

    // Receives passing fragments, one thread at a time; may be null to depth-test
    // only (or to keep the colours in memory alone).
    PixelSink* output = nullptr;
    RenderStats stats;

    FrameBuffer() = default;
    FrameBuffer(FrameBuffer&&) = default;
    FrameBuffer& operator=(FrameBuffer&&) = default;

    int width() const { return w; }
    int height() const { return h; }

    // 0 x 0 with no storage.
    void reset();
    // Sizes the buffer for a width x height frame (a negative side counts as 0).
    // Storage is replaced only when the size changes; contents are undefined until clear().
    void resize(int width, int height);
    // Every pixel empty, every kept colour the background, counters zero.
    void clear();
    // The same for `rows` alone, counters untouched: each band clears its own
    // rows while the others draw theirs.
    void clearRows(RowRange rows);

    // From the next clear() on, also keep each passing fragment's red, green and
    // blue in memory, over `background`: the frame as a whole, to present,
    // compare or save. Off again with dropColors(). Storage for them is made
    // here for a sized buffer, so that views share it from the first frame.
    void keepColors(const Color& background = {1, 1, 1, 1});
    void dropColors();
    bool keepsColors() const { return keepingColors; }
    // Three floats per pixel, bottom row first; null unless colours are kept.
    const float* colors() const { return colorPixels; }
    Color colorAt(int x, int y) const {
        const float* p = &colorPixels[index(x, y) * 3];
        return {p[0], p[1], p[2], 1};
    }

    // From the next clear() on, also keep what span filling computed for the
    // fragment each pixel shows (level of detail, texture coordinates, normal,
    // span), for the false-colour views of the frame. Off again with dropRecords().
    void keepRecords();
    void dropRecords();
    bool keepsRecords() const { return keepingRecords; }
    // One per pixel, bottom row first; null unless records are kept. Only pixels
    // whose depth holds a fragment have this frame's record; clear() leaves the
    // rest as they were, which keeps clearing as cheap as without records.
    const FragmentRecord* records() const { return recordPixels; }

    float* depth() { return depthPixels; }
    const float* depth() const { return depthPixels; }
    float depthAt(int x, int y) const { return depthPixels[index(x, y)]; }

private:
    size_t index(int x, int y) const { return static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x); }
    size_t pixelCount() const { return static_cast<size_t>(w) * static_cast<size_t>(h); }
    void allocateColors();
    void allocateRecords();

    int w = 0;
    int h = 0;
    friend class FrameView;

    // The owned storage below, or null.
    float* depthPixels = nullptr;
    float* colorPixels = nullptr;
    FragmentRecord* recordPixels = nullptr;
    std::unique_ptr<float[]> depthStore;
    std::unique_ptr<float[]> colorStore;
    std::unique_ptr<FragmentRecord[]> recordStore;
    bool keepingRecords = false;
    bool keepingColors = false;
    Color background{1, 1, 1, 1};
};

} // namespace rv
