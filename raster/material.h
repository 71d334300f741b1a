#pragma once

#include "math/color.h"

namespace rv {

class Texture;
struct SceneObject;

// What a polygon is made of, the same at every fragment of it: handed to span
// filling once per polygon rather than carried through every vertex, edge step
// and fragment.
struct Material {
    Color diffuse{1, 1, 1, 1};
    Color specular{0, 0, 0, 1};
    float shininess = 0;
    const Texture* colorTexture = nullptr;
    const Texture* bumpMap = nullptr;
};

Material materialOf(const SceneObject& object);

} // namespace rv
