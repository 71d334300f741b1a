#pragma once

#include "math/vector3.h"
#include "math/vector4.h"
#include "scene/mesh.h"

namespace rv {

class Scene;

// One vertex projected to window coordinates, with the perspective-divided
// attributes that edges and spans interpolate.
struct ScreenVertex {
    // Window position in pixels: x = 0 is the left edge, y = 0 the bottom edge.
    float x = 0;
    float y = 0;
    // Clip z / clip w, not remapped: the value interpolated and depth-tested.
    float z = 0;
    // (s / w, t / w, 1 / w), so that spans can divide back per pixel.
    Vector3 texOverW;
    // The vertex's normal as it came, not divided by w.
    Vector3 normal;
};

// The vertex's position through the scene's current modelview and projection matrices.
Vector4 toClipSpace(const Scene& scene, const Vertex& vertex);

// Divides clip coordinates by w and maps them into a width x height window.
// Vertices at or behind the eye plane give infinite or mirrored coordinates,
// which later stages tolerate; clipping beforehand keeps them out.
ScreenVertex fromClipSpace(const Vector4& clip, const Vertex& vertex, int width, int height);

} // namespace rv
