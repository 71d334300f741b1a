#pragma once

#include "model/model_data.h"
#include "scene/texture.h"

namespace rv {

// The side a texture is stored with: the smallest power of two not below
// `side`, at most 2048. Pyramids then halve exactly down to one texel, as
// gluBuild2DMipmaps expects, and neither renderer rescales on its own.
int storedSide(int side);

// Fills `texture` with `image` at storedSide per axis, channels 0..1. Each axis
// is resampled on its own with one rule: the same size copies; a reduction
// averages the source texels over each target texel's footprint, weighted by
// overlap; an enlargement interpolates linearly between texel centres, clamped
// at the edges. Sums are formed in double in a fixed order.
void resampleImage(const ImportedImage& image, Texture& texture);

} // namespace rv
