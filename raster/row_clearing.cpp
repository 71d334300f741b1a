#include "raster/row_clearing.h"

#include <cstring>

namespace rv {

namespace {

// `pixels` copies of one pixel's `stride` floats. Sixteen pixels are a whole
// number of vectors of any width; each fixed-size copy of them becomes plain
// vector stores, where a loop storing the floats (std::fill too) stays one
// float at a time.
template <std::size_t stride> void repeatPixel(float* out, std::size_t pixels, const float (&pixel)[stride]) {
    constexpr std::size_t group = 16;
    float pattern[group * stride];
    for (std::size_t k = 0; k < group; ++k) std::memcpy(pattern + k * stride, pixel, sizeof pixel);
    std::size_t i = 0;
    for (; i + group <= pixels; i += group) std::memcpy(out + i * stride, pattern, sizeof pattern);
    for (; i < pixels; ++i) std::memcpy(out + i * stride, pixel, sizeof pixel);
}

} // namespace

void clearDepth(float* depth, std::size_t pixels, float marker) {
    const float pixel[1] = {marker};
    repeatPixel(depth, pixels, pixel);
}

void clearColors(float* rgb, std::size_t pixels, const Color& background) {
    const float pixel[3] = {background.r, background.g, background.b};
    repeatPixel(rgb, pixels, pixel);
}

} // namespace rv
