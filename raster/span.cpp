#include "raster/span.h"

#include <cmath>

#include "raster/pixel_index.h"
#include "raster/shading.h"
#include "raster/texture_sampling.h"
#include "scene/scene.h"

namespace rv {

namespace {

int columnOf(float x) { return truncateToIndex(static_cast<double>(x) + 0.5); }

} // namespace

void fillSpan(const Scene& scene, FrameBuffer& frame, int y, const Edge& left, const Edge& right,
              const Texture* colorTexture, const Texture* bumpMap) {
    // Edges through the eye plane can reach a row with x = inf - inf.
    if (std::isnan(left.x) || std::isnan(right.x)) return;
    const int xStart = columnOf(left.x);
    const int xEnd = columnOf(right.x);
    const float n = static_cast<float>(xEnd - xStart);
    if (n == 0) return;

    const float dz = (right.z - left.z) / n;
    const Color dDiffuse = (right.diffuse + (-1.0f * left.diffuse)) * (1 / n);
    const float dShininess = (right.shininess - left.shininess) / n;
    const Vector3 dTexOverW = (right.texOverW - left.texOverW) / n;
    const Vector3 dNormal = (right.normal - left.normal) / n;
    const float dRowStepS = (right.dTexOverW.x - left.dTexOverW.x) / n;
    const float dRowStepT = (right.dTexOverW.y - left.dTexOverW.y) / n;

    float z = left.z;
    Color diffuse = left.diffuse;
    float shininess = left.shininess;
    Vector3 texOverW = left.texOverW;
    Vector3 normal = left.normal;
    // Per-row change of s/w and t/w, blended across the span: the vertical texture derivatives.
    float texRowStepS = left.dTexOverW.x;
    float texRowStepT = left.dTexOverW.y;
    int x = xStart;
    if (xStart < 0) {
        const float k = static_cast<float>(-xStart);
        z += k * dz;
        diffuse += k * dDiffuse;
        normal += dNormal * k;
        shininess += k * dShininess;
        texOverW += dTexOverW * k;
        texRowStepS += k * dRowStepS;
        texRowStepT += k * dRowStepT;
        x = 0;
    }

    const Vector4 eye4 = scene.modelview.transformByInverse({0, 0, 0, 1});
    const Vector3 eye{eye4.x, eye4.y, eye4.z};
    const Color& specular = left.lower->specular;

    const int rowLength = frame.width();
    frame.beginSpan();
    for (; x < xEnd && x < rowLength; ++x) {
        // Place, colour, normal, light: the chain from window position to view vector is the
        // longest, and the texture and bump lookups then run while it is being worked on.
        // Each step is pure, so the order changes no result. A fragment without lighting is
        // dropped and the frame goes on; its depth entry stays as it was.
        const std::optional<FragmentPlace> place =
            placeFragment(scene, frame, eye, static_cast<float>(x), static_cast<float>(y), z);
        const Color surfaceColor = colorTexture ? sampleTexture(texOverW, dTexOverW.x, dTexOverW.y, texRowStepS,
                                                                texRowStepT, *colorTexture, scene.mipmapping)
                                                : diffuse;
        const std::optional<Vector3> surfaceNormal =
            bumpMap ? bumpNormal(texOverW, normal, *bumpMap, bumpScale) : normal;
        if (place && surfaceNormal) {
            if (const std::optional<Color> lit =
                    lightFragment(scene, *place, surfaceColor, specular, shininess, *surfaceNormal)) {
                ++frame.stats.fragmentsShaded;
                frame.plotPixel(x, y, z, *lit);
            }
        }
        z += dz;
        diffuse += dDiffuse;
        normal += dNormal;
        shininess += dShininess;
        texOverW += dTexOverW;
        texRowStepS += dRowStepS;
        texRowStepT += dRowStepT;
    }
    frame.endSpan();
}

} // namespace rv
