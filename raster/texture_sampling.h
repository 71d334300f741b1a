#pragma once

#include "math/color.h"
#include "math/vector3.h"
#include "raster/fragment_record.h"

namespace rv {

class Texture;
struct MipPyramid;

// One colour-texture lookup for a fragment. texOverW is the interpolated
// (s/w, t/w, 1/w); (dsdx, dtdx) and (dsdy, dtdy) are its per-pixel and per-row
// steps of s/w and t/w, from which the footprint and so the level of detail
// follow. With mipmapping off every lookup is the nearest texel of level 0.
// The texture must have its pyramid. `lodUsed`, when given, receives the level
// of detail the lookup really took (0 for the nearest level-0 texel), or
// lodMipmappingOff.
Color sampleTexture(const Vector3& texOverW, float dsdx, float dtdx, float dsdy, float dtdy, const Texture& texture,
                    bool mipmapping, float* lodUsed = nullptr);

// lod on a base-2 scale: 0 or less is the nearest level-0 texel, between two
// whole levels a blend of their bilinear lookups. Above levelCount the level one
// above the coarsest is used. A NaN lod (from a 1/w of 0 or non-finite steps)
// takes the nearest level-0 texel, as with mipmapping off. `lodUsed`, when
// given, receives the level of detail the lookup took (0 for the nearest texel).
Color sampleTrilinear(const MipPyramid& pyramid, float lod, float s, float t, float* lodUsed = nullptr);

// s and t are clamped to [0, 1] (NaN counts as below), so every index stays in level k.
Color sampleBilinear(const MipPyramid& pyramid, int level, float s, float t);

// Level 0; an index outside the image is replaced by 0, not clamped to the edge.
Color sampleNearest(const MipPyramid& pyramid, float s, float t);

} // namespace rv
