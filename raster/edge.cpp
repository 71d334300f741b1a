#include "raster/edge.h"

#include <cmath>

#include "raster/pixel_index.h"

namespace rv {

namespace {

// Nearest row with halves going up; below zero truncation toward zero applies.
int rowOf(float y) { return truncateToIndex(static_cast<double>(y) + 0.5); }

} // namespace

Edge::Edge(const ScreenVertex& a, const ScreenVertex& b)
    : lower(b.y > a.y ? &a : &b), upper(b.y > a.y ? &b : &a) {
    if (std::isnan(lower->y) || std::isnan(upper->y)) {
        yStart = yEnd = 0;
    } else {
        yStart = rowOf(lower->y);
        yEnd = rowOf(upper->y);
    }
    dy = static_cast<float>(yEnd - yStart);

    // No sub-pixel correction: row yStart takes the lower end's values as they are.
    x = lower->x;
    z = lower->z;
    texOverW = lower->texOverW;
    normal = lower->normal;

    dxdy = (upper->x - lower->x) / dy;
    dzdy = (upper->z - lower->z) / dy;
    dTexOverW = (upper->texOverW - lower->texOverW) / dy;
    dNormal = (upper->normal - lower->normal) / dy;
}

void Edge::step() {
    x += dxdy;
    z += dzdy;
    texOverW += dTexOverW;
    normal += dNormal;
}

void Edge::stepBy(float n) {
    x += dxdy * n;
    z += dzdy * n;
    texOverW += dTexOverW * n;
    normal += dNormal * n;
}

} // namespace rv
