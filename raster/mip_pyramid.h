#pragma once

#include <memory>
#include <vector>

namespace rv {

class Scene;
class Texture;

// Where one reduced level lies in the pyramid's storage.
struct MipLevel {
    // Index of the level's first float in `storage`.
    long offset = 0;
    int width = 0;
    int height = 0;
};

// Box-filtered reductions of a colour texture, each half the size of the one
// before, down to a side of one texel. Level 0 is the source texture itself.
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

// Reduces the a x b level at src into dst, then the levels below it, and returns
// how many levels it made. Each texel is the mean of a 2 x 2 block, summed in a
// fixed order; a side of one (or less) ends the chain.
int halveLevel(const float* src, int a, int b, int ch, float* dst);

std::unique_ptr<MipPyramid> buildPyramid(const Texture& texture);

// Gives every object's colour texture a pyramid, once per texture; the pyramids
// live as long as the textures and are never freed.
void buildPyramids(Scene& scene);

} // namespace rv
