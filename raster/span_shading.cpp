#include "raster/span_shading.h"

#include <optional>

#include "raster/frame_view.h"
#include "raster/material.h"
#include "raster/shading.h"
#include "raster/span.h"
#include "raster/texture_sampling.h"
#include "scene/scene.h"

namespace rv {

void FragmentBatch::append(float column, float depth, const Vector3& tex, const Vector3& n, float rowStepS,
                           float rowStepT) {
    const int i = count++;
    x[i] = column;
    z[i] = depth;
    texOverW[0][i] = tex.x;
    texOverW[1][i] = tex.y;
    texOverW[2][i] = tex.z;
    normal[0][i] = n.x;
    normal[1][i] = n.y;
    normal[2][i] = n.z;
    rowStep[0][i] = rowStepS;
    rowStep[1][i] = rowStepT;
}

void FragmentBatch::padToWidestLanes() {
    const int last = count - 1;
    for (int i = count; i % widestLanes != 0; ++i) {
        x[i] = x[last];
        z[i] = z[last];
        for (float* c : texOverW) c[i] = c[last];
        for (float* c : normal) c[i] = c[last];
        for (float* c : rowStep) c[i] = c[last];
    }
}

void shadeBatchScalar(const SpanShading& span, const FragmentBatch& batch, ShadedBatch& out) {
    const Scene& scene = span.scene;
    const Material& material = span.material;
    for (int i = 0; i < batch.count; ++i) {
        const Vector3 texOverW = batch.texOverWAt(i);
        const Vector3 normal = batch.normalAt(i);
        const std::optional<FragmentPlace> place =
            placeFragment(scene, span.frame.width(), span.frame.height(), span.eye, batch.x[i], span.y, batch.z[i]);
        float lod = lodUntextured;
        const Color surfaceColor =
            material.colorTexture ? sampleTexture(texOverW, span.dsdx, span.dtdx, batch.rowStep[0][i],
                                                  batch.rowStep[1][i], *material.colorTexture, scene.mipmapping, &lod)
                                  : material.diffuse;
        const std::optional<Vector3> surfaceNormal =
            material.bumpMap ? bumpNormal(texOverW, normal, *material.bumpMap, bumpScale) : normal;
        std::optional<Color> lit;
        Vector3 unitNormal;
        if (place && surfaceNormal)
            lit = lightFragment(scene, *place, surfaceColor, material.specular, material.shininess, *surfaceNormal,
                                &unitNormal);
        out.lit[i] = lit ? -1 : 0;
        if (lit && span.record) {
            // The coordinates exactly as the lookups divide them back.
            out.s[i] = texOverW.x / texOverW.z;
            out.t[i] = texOverW.y / texOverW.z;
            out.lod[i] = lod;
            out.unitNormal[0][i] = unitNormal.x;
            out.unitNormal[1][i] = unitNormal.y;
            out.unitNormal[2][i] = unitNormal.z;
        }
        if (lit) {
            out.color[0][i] = lit->r;
            out.color[1][i] = lit->g;
            out.color[2][i] = lit->b;
            out.color[3][i] = lit->a;
        }
    }
}

void shadeBatch(const SpanShading& span, FragmentBatch& batch, ShadedBatch& out) {
    if (span.scene.simd)
        shadeBatchSimd(span, batch, out);
    else
        shadeBatchScalar(span, batch, out);
}

} // namespace rv
