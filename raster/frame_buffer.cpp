#include "raster/frame_buffer.h"

#include <algorithm>

#include "raster/row_clearing.h"

namespace rv {

void FrameBuffer::reset() {
    w = 0;
    h = 0;
    depthStore.reset();
    colorStore.reset();
    recordStore.reset();
    depthPixels = colorPixels = nullptr;
    recordPixels = nullptr;
}

void FrameBuffer::resize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (depthPixels && width == w && height == h) return;
    // Released first: holding the old and the new buffers at once would double the peak for large windows.
    reset();
    w = width;
    h = height;
    depthStore.reset(new float[pixelCount()]);
    depthPixels = depthStore.get();
    if (keepingColors) allocateColors();
    if (keepingRecords) allocateRecords();
}

void FrameBuffer::clear() {
    if (keepingColors && !colorPixels) allocateColors();
    if (keepingRecords && !recordPixels) allocateRecords();
    clearRows({0, h});
    stats = {};
}

void FrameBuffer::clearRows(RowRange rows) {
    const size_t from = index(0, rows.begin), to = index(0, rows.end);
    clearDepth(depthPixels + from, to - from, empty);
    if (colorPixels) clearColors(colorPixels + from * 3, to - from, background);
}

void FrameBuffer::keepColors(const Color& backgroundColor) {
    keepingColors = true;
    background = backgroundColor;
    if (depthPixels && !colorPixels) allocateColors();
}

void FrameBuffer::dropColors() {
    keepingColors = false;
    colorStore.reset();
    colorPixels = nullptr;
}

void FrameBuffer::keepRecords() {
    keepingRecords = true;
    // Now, not at the next clear(): bands that clear their own rows reach it through their views.
    if (depthPixels && !recordPixels) allocateRecords();
}

void FrameBuffer::dropRecords() {
    keepingRecords = false;
    recordStore.reset();
    recordPixels = nullptr;
}

void FrameBuffer::allocateRecords() {
    // Value-initialised once per size, so that no pixel ever holds indeterminate values.
    recordStore.reset(new FragmentRecord[pixelCount()]());
    recordPixels = recordStore.get();
}

void FrameBuffer::allocateColors() {
    colorStore.reset(new float[pixelCount() * 3]);
    colorPixels = colorStore.get();
}

} // namespace rv
