#pragma once

#include "math/vector3.h"
#include "raster/vertex_processing.h"

namespace rv {

// One polygon side prepared for scan conversion: the rows it covers, its values
// on the current row and their per-row increments. The increments spread the
// difference between the ends over the whole number of rows, not the true height.
struct Edge {
    // The end with the smaller window y, where the edge starts, and the other one.
    // Both point into the polygon's screen vertices, which outlive the edge.
    const ScreenVertex* lower;
    const ScreenVertex* upper;
    // First and last row covered; equal for an edge that is never drawn.
    int yStart;
    int yEnd;
    // yEnd - yStart: the number of row steps between the ends.
    float dy;

    // Values on the current row.
    float x;
    float z;
    Vector3 texOverW;
    Vector3 normal;

    // Increments per row.
    float dxdy;
    float dzdy;
    Vector3 dTexOverW;
    Vector3 dNormal;

    // Orders the ends (on equal y, b is the lower one) and sets up the rows,
    // start values and increments. An end with a NaN y gives an edge whose first
    // and last rows coincide, so scanline traversal discards it.
    Edge(const ScreenVertex& a, const ScreenVertex& b);

    void step();
    // Advances by n rows at once; n holds a whole number.
    void stepBy(float n);
};

} // namespace rv
