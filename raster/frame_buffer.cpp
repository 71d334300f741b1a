#include "raster/frame_buffer.h"

#include <algorithm>

namespace rv {

void FrameBuffer::reset() {
    width = 0;
    height = 0;
    depth.reset();
}

void FrameBuffer::resize() {
    depth.reset();
    depth.reset(new float[static_cast<size_t>(width) * static_cast<size_t>(height)]);
}

void FrameBuffer::clear() {
    std::fill_n(depth.get(), static_cast<size_t>(width) * static_cast<size_t>(height), empty);
    stats = {};
}

} // namespace rv
