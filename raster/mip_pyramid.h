#pragma once

#include <memory>

#include "scene/texture.h"

namespace rv {

class Scene;

// Reduces the a x b level at src into dst, then the levels below it, and returns
// how many levels it made. Each texel is the mean of a 2 x 2 block, summed in a
// fixed order; a side of one (or less) ends the chain.
int halveLevel(const float* src, int a, int b, int ch, float* dst);

std::unique_ptr<MipPyramid> buildPyramid(const Texture& texture);

// Gives every object's colour texture a pyramid, once per texture; each texture
// owns its pyramid.
void buildPyramids(Scene& scene);

} // namespace rv
