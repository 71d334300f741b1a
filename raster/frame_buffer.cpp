#include "raster/frame_buffer.h"

#include <algorithm>

namespace rv {

void FrameBuffer::reset() {
    w = 0;
    h = 0;
    depthStore.reset();
    colorStore.reset();
}

void FrameBuffer::resize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (depthStore && width == w && height == h) return;
    // Released first: holding the old and the new buffers at once would double the peak for large windows.
    depthStore.reset();
    colorStore.reset();
    w = width;
    h = height;
    depthStore.reset(new float[pixelCount()]);
    if (keepingColors) allocateColors();
}

void FrameBuffer::clear() {
    std::fill_n(depthStore.get(), pixelCount(), empty);
    if (keepingColors && !colorStore) allocateColors();
    if (colorStore)
        for (size_t i = 0; i < pixelCount(); ++i) {
            colorStore[i * 3] = background.r;
            colorStore[i * 3 + 1] = background.g;
            colorStore[i * 3 + 2] = background.b;
        }
    stats = {};
}

void FrameBuffer::keepColors(const Color& backgroundColor) {
    keepingColors = true;
    background = backgroundColor;
}

void FrameBuffer::dropColors() {
    keepingColors = false;
    colorStore.reset();
}

void FrameBuffer::allocateColors() { colorStore.reset(new float[pixelCount() * 3]); }

} // namespace rv
