#pragma once

#include <cstdint>

#include "math/vector3.h"

namespace rv {

// What span filling computed for a fragment that passed the depth test, kept
// per pixel when asked, so that false-colour views show the values the picture
// was really made from rather than a second computation of them.
struct FragmentRecord {
    // The level of detail the colour texture was sampled at (0 for the nearest
    // level-0 texel), or one of the markers below.
    float lod = 0;
    // Perspective-correct texture coordinates.
    float s = 0;
    float t = 0;
    // The bumped, normalised normal the fragment was lit with.
    Vector3 normal;
    // Tells neighbouring spans apart: the span's row, its pair index on that row
    // and its polygon, the same whatever thread drew it.
    std::int32_t span = 0;
};

// Markers for FragmentRecord::lod.
constexpr float lodMipmappingOff = -1;
constexpr float lodUntextured = -2;

// The span tag of pair `pair` (0 for the leftmost span) on `row` of polygon `polygon`.
inline std::int32_t spanTag(int row, int pair, int polygon) {
    return static_cast<std::int32_t>((row & 1) | ((pair & 1) << 1) | ((polygon & 3) << 2));
}

} // namespace rv
