#include "raster/row_clearing.h"

#include <algorithm>
#include <cstring>

namespace rv {

void clearDepth(float* depth, std::size_t pixels, float marker) { std::fill(depth, depth + pixels, marker); }

void clearColors(float* rgb, std::size_t pixels, const Color& background) {
    // Sixteen pixels are a whole number of vectors of any width; each copy of
    // them becomes plain vector stores.
    constexpr std::size_t group = 16;
    float pattern[group * 3];
    for (std::size_t k = 0; k < group; ++k) {
        pattern[k * 3] = background.r;
        pattern[k * 3 + 1] = background.g;
        pattern[k * 3 + 2] = background.b;
    }
    std::size_t i = 0;
    for (; i + group <= pixels; i += group) std::memcpy(rgb + i * 3, pattern, sizeof pattern);
    for (; i < pixels; ++i) std::memcpy(rgb + i * 3, pattern, 3 * sizeof(float));
}

} // namespace rv
