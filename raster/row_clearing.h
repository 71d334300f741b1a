#pragma once

#include <cstddef>

#include "math/color.h"

namespace rv {

// `pixels` depth values set to `marker`, and `pixels` RGB triples to the
// background's red, green and blue: whole vectors at a time, where storing
// float by float cost more than a tenth of drawing a filled frame.
void clearDepth(float* depth, std::size_t pixels, float marker);
void clearColors(float* rgb, std::size_t pixels, const Color& background);

} // namespace rv
