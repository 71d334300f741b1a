#pragma once

#include <memory>

#include "math/color.h"

namespace rv {

struct MipPyramid;

// A float image; row 0 is the row t = 0 selects, column 0 the column s = 0 selects.
class Texture {
public:
    int width = 0;
    int height = 0;
    // Floats per texel: 3 for colour, 1 for a height map.
    int channels = 0;
    // Row-major: texel (x, y), channel k at (y * width + x) * channels + k.
    std::unique_ptr<float[]> texels;
    // Built at start-up for colour textures only; never freed.
    MipPyramid* pyramid = nullptr;

    // Uninitialised storage. Sizes whose float count reaches 2^30 (or that are
    // negative) throw std::bad_alloc before any memory is touched.
    Texture& allocate(int width, int height, int channels);

    // Pure address arithmetic: callers keep the indices inside the image.
    float* texel(int x, int y, int channel) { return &texels[(static_cast<long>(y) * width + x) * channels + channel]; }
    const float* texel(int x, int y, int channel) const {
        return &texels[(static_cast<long>(y) * width + x) * channels + channel];
    }

    void setRGB(int x, int y, const Color& c);
    void setValue(int x, int y, float value);

    // 4 x 4 orange tiles on pale grout; needs width >= 4.
    Texture& makeTileColors(int width, int height);
    // A cushion on every tile, 0 on the grout, exactly 1 at each tile's centre.
    Texture& makeTileHeights(int width, int height);
};

} // namespace rv
