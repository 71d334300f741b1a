#pragma once

#include <optional>

#include "math/color.h"
#include "math/vector3.h"

namespace rv {

class Scene;
class Texture;

// Lighting of one fragment in world coordinates, in two halves that never throw:
// span filling starts the long chain from window position to view vector before
// the fragment's normal and colour are known, and drops a fragment that has no
// lighting. Both sides of a surface are lit alike; the specular term ignores the
// light's colour. Nothing is clamped.
struct FragmentPlace {
    // World position recovered from the window position and depth.
    Vector3 position;
    // Unit vector from there to the eye.
    Vector3 toEye;
};
// The position is recovered from the window position (x, y), the depth z and the
// frame's size by undoing the projection and the modelview. Nothing for a fragment at the eye.
std::optional<FragmentPlace> placeFragment(const Scene& scene, int width, int height, const Vector3& eye, float x,
                                           float y, float z);
// Nothing for a zero-length normal, a fragment at a light, or a light exactly
// opposite the eye. `unitNormal`, when given, receives the normalised normal
// the fragment is lit with.
std::optional<Color> lightFragment(const Scene& scene, const FragmentPlace& place, const Color& surfaceColor,
                                   const Color& specular, float shininess, Vector3 normal,
                                   Vector3* unitNormal = nullptr);

// Bends the normal by the height differences of the map around the fragment's
// texture coordinates (taken from texOverW). The map is read at full resolution
// with indices clamped to it. The result is not normalised. Nothing for a
// zero-length normal.
std::optional<Vector3> bumpNormal(const Vector3& texOverW, const Vector3& normal, const Texture& heightMap,
                                  float scale);

} // namespace rv
