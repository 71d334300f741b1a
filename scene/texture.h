#pragma once

#include <memory>
#include <vector>

#include "math/color.h"

namespace rv {

class Texture;

// Where one reduced level lies in a pyramid's storage.
struct MipLevel {
    // Index of the level's first float in `storage`.
    long offset = 0;
    int width = 0;
    int height = 0;
};

// Box-filtered reductions of a colour texture, each half the size of the one
// before, down to a side of one texel. Level 0 is the source texture itself.
// Built by the software rasterizer at start-up, owned by its texture.
struct MipPyramid {
    // Levels 1 to levelCount back to back, each followed by one spare row that is
    // never written or read.
    std::unique_ptr<float[]> storage;
    // Its texels are level 0.
    const Texture* source = nullptr;
    // Number of reduced levels: 8 for a 256 x 256 texture.
    int levelCount = 0;
    // levels[k - 1] describes level k; found once here rather than summed per lookup.
    std::vector<MipLevel> levels;
};

// A float image; row 0 is the row t = 0 selects, column 0 the column s = 0 selects.
class Texture {
public:
    int width = 0;
    int height = 0;
    // Floats per texel: 3 for colour, 1 for a height map.
    int channels = 0;
    // Row-major: texel (x, y), channel k at (y * width + x) * channels + k.
    std::unique_ptr<float[]> texels;
    // Built at start-up for colour textures only; freed with the texture.
    std::unique_ptr<MipPyramid> pyramid;

    // Uninitialised storage; drops any pyramid of the old image. Sizes whose float count reaches 2^30 (or that are
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
