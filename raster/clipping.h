#pragma once

#include <span>
#include <vector>

#include "math/vector4.h"
#include "scene/mesh.h"

namespace rv {

// The two planes that bound depth in clip space, as OpenGL clips against them.
enum class ClipPlane { near, far };

// Signed distance of a clip-space position from the plane, in double; the
// position is inside where it is >= 0, and a NaN distance is outside.
double planeDistance(const Vector4& clip, ClipPlane plane);

// Clips polygons in clip space against the near plane, then the far one, each
// loop of a polygon on its own. Keeps its working arrays from one polygon to the
// next, so that clipping polygon after polygon stops allocating once they have grown.
class PolygonClipper {
public:
    // `polygon` and `polygonClipSpace` share indices. Fills `vertices` and
    // `clipSpace` with the clipped polygon. A polygon wholly inside both planes
    // comes out as it went in: the same vertices in the same order, the same prev
    // links. Otherwise each loop is cut by Sutherland-Hodgman, in the loop's own
    // order from its lowest index, and laid out after the loops before it; a loop
    // left with fewer than three vertices is dropped, and so is a prev chain that
    // does not close.
    void clip(std::span<const Vertex> polygon, std::span<const Vector4> polygonClipSpace);

    // The clipped polygon; a cut vertex is a new record whose position, normal,
    // texture and clip coordinates are interpolated from the side it cuts.
    std::vector<Vertex> vertices;
    std::vector<Vector4> clipSpace;

    // A vertex on the loop being clipped, with its clip coordinates.
    struct Point {
        Vertex vertex;
        Vector4 clip;
    };

private:
    std::vector<Point> loop;
    std::vector<Point> cut;
    std::vector<int> chain;
    std::vector<char> taken;
};

} // namespace rv
