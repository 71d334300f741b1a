#pragma once

#include <vector>

#include "math/color.h"
#include "math/vector3.h"
#include "math/vector4.h"

namespace rv {

class Texture;

struct Vertex {
    // Already transformed by the construction matrix; w is kept.
    Vector4 position;
    // Transformed like a direction (w = 0) and not renormalised.
    Vector3 normal;
    float s = 0;
    float t = 0;
    // Index of the vertex before this one on its loop; the edges are built from these links.
    int prev = 0;
};

struct Polygon {
    std::vector<Vertex> vertices;
};

// Carries the material and textures that were current when it was begun.
struct SceneObject {
    std::vector<Polygon> polygons;
    Color diffuse{0, 0, 0, 1};
    Color specular{0, 0, 0, 1};
    int shininess = 0;
    Texture* colorTexture = nullptr;
    // One-channel height map; only the software rasterizer reads it.
    Texture* bumpMap = nullptr;
    // Sphere-mapped on the OpenGL path only, in preference to colorTexture.
    Texture* environmentMap = nullptr;
};

} // namespace rv
