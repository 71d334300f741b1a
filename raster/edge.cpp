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
    shininess = lower->shininess;
    diffuse = lower->diffuse;
    texOverW = lower->texOverW;
    normal = lower->source->normal;

    dxdy = (upper->x - lower->x) / dy;
    dzdy = (upper->z - lower->z) / dy;
    dShininess = (upper->shininess - lower->shininess) / dy;
    const float perRow = 1 / dy;
    dDiffuse = (upper->diffuse + (-1.0f * lower->diffuse)) * perRow;
    dTexOverW = (upper->texOverW - lower->texOverW) / dy;
    dNormal = (upper->source->normal - lower->source->normal) / dy;
}

void Edge::step() {
    x += dxdy;
    z += dzdy;
    shininess += dShininess;
    diffuse += dDiffuse;
    texOverW += dTexOverW;
    normal += dNormal;
}

void Edge::stepBy(float n) {
    x += dxdy * n;
    z += dzdy * n;
    shininess += dShininess * n;
    diffuse += dDiffuse * n;
    texOverW += dTexOverW * n;
    normal += dNormal * n;
}

} // namespace rv
