// Span shading: the vector form of each stage lives in the -inl.h beside its
// scalar file (shading-inl.h, texture_sampling-inl.h, whole_power-inl.h);
// Highway compiles this file once per instruction set (foreach_target), and
// shadeBatchSimd calls the best one the processor has. The scalar definition
// and the dispatch are compiled once (HWY_ONCE).

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "raster/span_shading.cpp"
#include <hwy/foreach_target.h> // must precede highway.h

#include <hwy/highway.h>

#include "raster/material.h"
#include "raster/shading-inl.h"
#include "raster/span_shading.h"
#include "raster/texture_sampling-inl.h"
#include "raster/vector_lanes-inl.h"
#include "scene/scene.h"

HWY_BEFORE_NAMESPACE();
namespace rv {
namespace HWY_NAMESPACE {

#if HWY_TARGET == HWY_SCALAR

// A single lane gains nothing over the scalar code: processors without SSSE3 run it.
void ShadeBatch(const SpanShading& span, const VectorTables&, const FragmentBatch& batch, ShadedBatch& out) {
    shadeBatchScalar(span, batch, out);
}

#else

void ShadeBatch(const SpanShading& span, const VectorTables& tables, const FragmentBatch& batch, ShadedBatch& out) {
    const Scene& scene = span.scene;
    const Material& material = span.material;
    const V3 eye = constant3(span.eye);
    const Lighting lighting{&scene.lights, scene.ambient, material.specular, material.shininess};
    const Rgba diffuse{constant(material.diffuse.r), constant(material.diffuse.g), constant(material.diffuse.b),
                       constant(material.diffuse.a)};

    for (int i = 0; i < batch.count; i += static_cast<int>(hn::Lanes(df))) {
        MF lit = hn::FirstN(df, hn::Lanes(df));
        const Place place = placeFragments(tables.placement, eye, hn::Load(df, batch.x + i), hn::Load(df, batch.z + i), lit);
        const V3 texOverW = load3(batch.texOverW, i);
        const VF s = texOverW.x / texOverW.z, t = texOverW.y / texOverW.z;
        VF lod = constant(lodUntextured);
        const Rgba surface =
            material.colorTexture
                ? sampleTexture(tables.levels, scene.mipmapping, texOverW.z, s, t,
                                {span.dsdx, span.dtdx, hn::Load(df, batch.rowStep[0] + i),
                                 hn::Load(df, batch.rowStep[1] + i)},
                                lod)
                : diffuse;
        V3 normal = load3(batch.normal, i);
        if (material.bumpMap) normal = bumpNormal(tables.bumps, s, t, normal, lit);
        V3 unitNormal;
        const Rgba color = lightFragments(lighting, place, surface, normal, lit, unitNormal);
        if (span.record) {
            hn::Store(s, df, out.s + i);
            hn::Store(t, df, out.t + i);
            hn::Store(lod, df, out.lod + i);
            hn::Store(unitNormal.x, df, out.unitNormal[0] + i);
            hn::Store(unitNormal.y, df, out.unitNormal[1] + i);
            hn::Store(unitNormal.z, df, out.unitNormal[2] + i);
        }
        hn::Store(color.r, df, out.color[0] + i);
        hn::Store(color.g, df, out.color[1] + i);
        hn::Store(color.b, df, out.color[2] + i);
        hn::Store(color.a, df, out.color[3] + i);
        hn::Store(hn::BitCast(di, hn::VecFromMask(df, lit)), di, out.lit + i);
    }
}

#endif // HWY_TARGET == HWY_SCALAR

} // namespace HWY_NAMESPACE
} // namespace rv
HWY_AFTER_NAMESPACE();

#if HWY_ONCE

#include <cmath>
#include <cstdint>
#include <optional>

#include "raster/frame_view.h"
#include "raster/material.h"
#include "raster/mip_pyramid.h"
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

void buildVectorTables(const SpanShading& span, VectorTables& tables) {
    const Scene& scene = span.scene;
    const Material& material = span.material;
    tables.usable = true;
    if (const Texture* texture = material.colorTexture) {
        const MipPyramid& pyramid = *texture->pyramid;
        if (pyramid.levelCount >= maxLevels) {
            tables.usable = false;
            return;
        }
        LevelTable& levels = tables.levels;
        levels.level0 = texture->texels.get();
        levels.reduced = pyramid.storage.get();
        levels.channels = texture->channels;
        levels.levelCount = pyramid.levelCount;
        levels.width0 = texture->width;
        levels.height0 = texture->height;
        levels.texels = static_cast<float>(texture->width * texture->height);
        levels.ln2 = static_cast<float>(std::log(2.0));
        levels.width[0] = texture->width;
        levels.height[0] = texture->height;
        levels.offset[0] = 0;
        for (int k = 1; k <= pyramid.levelCount; ++k) {
            const MipLevel& reduced = pyramid.levels[static_cast<size_t>(k) - 1];
            levels.width[k] = reduced.width;
            levels.height[k] = reduced.height;
            levels.offset[k] = static_cast<std::int32_t>(reduced.offset);
        }
    }
    if (const Texture* map = material.bumpMap) {
        BumpTable& bumps = tables.bumps;
        bumps = {map->texels.get(), map->width, map->height, map->channels,
                 static_cast<float>(map->width - 1), static_cast<float>(map->height - 1), 0, 0};
        bumps.widthScale = bumps.widthSteps * bumpScale;
        bumps.heightScale = bumps.heightSteps * bumpScale;
    }
    PlacementTable& placement = tables.placement;
    for (int k = 0; k < 16; ++k) {
        placement.projection[k] = scene.projection.inverse.m[k];
        placement.modelview[k] = scene.modelview.inverse.m[k];
    }
    const float ndcY = span.y / static_cast<float>(span.frame.height()) * 2 - 1;
    for (int r = 0; r < 4; ++r) placement.rowTimesY[r] = placement.projection[r * 4 + 1] * ndcY;
    placement.width = static_cast<float>(span.frame.width());
}

HWY_EXPORT(ShadeBatch);

void shadeBatchSimd(const SpanShading& span, const VectorTables& tables, FragmentBatch& batch, ShadedBatch& out) {
    if (!tables.usable) return shadeBatchScalar(span, batch, out);
    batch.padToWidestLanes();
    HWY_DYNAMIC_DISPATCH(ShadeBatch)(span, tables, batch, out);
}

void shadeBatch(const SpanShading& span, const VectorTables& tables, FragmentBatch& batch, ShadedBatch& out) {
    if (span.scene.simd)
        shadeBatchSimd(span, tables, batch, out);
    else
        shadeBatchScalar(span, batch, out);
}

} // namespace rv

#endif // HWY_ONCE
