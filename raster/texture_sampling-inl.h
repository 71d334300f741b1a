// sampleTexture and the lookups under it (texture_sampling.cpp) in vector
// lanes, to the last bit. Conversions to int sit behind the scalar code's own
// guards, and lanes that end up unused are steered to valid indices, so no lane
// reads outside a texture.
//
// vector_lanes-inl.h says what keeps the bits equal.
//
// Included once per Highway target by span_shading.cpp (foreach_target); the
// guard below flips with HWY_TARGET_TOGGLE so that each target gets its copy.
#if defined(RV_RASTER_TEXTURE_SAMPLING_INL_H_) == defined(HWY_TARGET_TOGGLE)
#ifdef RV_RASTER_TEXTURE_SAMPLING_INL_H_
#undef RV_RASTER_TEXTURE_SAMPLING_INL_H_
#else
#define RV_RASTER_TEXTURE_SAMPLING_INL_H_
#endif

#include <hwy/highway.h>

#include <cmath>
#include <cstdint>

#include "raster/fragment_record.h"
#include "raster/level_log-inl.h"
#include "raster/span_shading.h"
#include "raster/vector_lanes-inl.h"

HWY_BEFORE_NAMESPACE();
namespace rv {
namespace HWY_NAMESPACE {
#if HWY_TARGET != HWY_SCALAR

HWY_INLINE Rgb gather3(const float* base, VI index) {
    return {hn::GatherIndex(df, base, index), hn::GatherIndex(df, base + 1, index),
            hn::GatherIndex(df, base + 2, index)};
}

// Texels at element index `index`: of level 0 where `atLevel0`, else of the pyramid.
HWY_INLINE Rgb fetch(const LevelTable& t, MI atLevel0, VI index) {
    if (hn::AllFalse(di, atLevel0)) return gather3(t.reduced, index);
    if (hn::AllTrue(di, atLevel0)) return gather3(t.level0, index);
    const Rgb a = gather3(t.level0, hn::IfThenElseZero(atLevel0, index));
    const Rgb b = gather3(t.reduced, hn::IfThenZeroElse(atLevel0, index));
    const MF m = hn::RebindMask(df, atLevel0);
    return {hn::IfThenElse(m, a.r, b.r), hn::IfThenElse(m, a.g, b.g), hn::IfThenElse(m, a.b, b.b)};
}

// clampUnit: NaN and -0 become +0.
HWY_INLINE VF clampUnit(VF v) {
    return hn::IfThenElse(hn::Gt(v, constant(1)), constant(1), hn::IfThenElseZero(hn::Gt(v, hn::Zero(df)), v));
}

// A per-level value for each lane; one load when every lane is at the same level.
HWY_INLINE VI perLevel(const int32_t* table, VI level, bool uniform, int first) {
    return uniform ? hn::Set(di, table[first]) : hn::GatherIndex(di, table, level);
}

// sampleBilinear at each lane's level, which must lie in 0..levelCount.
HWY_INLINE Rgba sampleBilinear(const LevelTable& t, VI level, VF s, VF t0) {
    const int first = hn::GetLane(level);
    const bool uniform = hn::AllTrue(di, hn::Eq(level, hn::Set(di, first)));
    const VI w = perLevel(t.width, level, uniform, first);
    const VI h = perLevel(t.height, level, uniform, first);
    const VI offset = perLevel(t.offset, level, uniform, first);
    const VI one = hn::Set(di, 1);
    const VF x = hn::ConvertTo(df, w - one) * clampUnit(s);
    const VF y = hn::ConvertTo(df, h - one) * clampUnit(t0);
    // bracketOf: x and y lie in [0, side - 1], where truncation is the floor.
    const VI col0 = hn::ConvertTo(di, x), row0 = hn::ConvertTo(di, y);
    const VF x0 = hn::ConvertTo(df, col0), y0 = hn::ConvertTo(df, row0);
    const VF xc = hn::IfThenElse(hn::Lt(x0, x), x0 + constant(1), x0);
    const VF yc = hn::IfThenElse(hn::Lt(y0, y), y0 + constant(1), y0);
    const VI colC = hn::ConvertTo(di, xc), rowC = hn::ConvertTo(di, yc);

    const MI atLevel0 = hn::Eq(level, hn::Zero(di));
    const VI channels = hn::Set(di, t.channels);
    auto at = [&](VI col, VI rowIndex) { return fetch(t, atLevel0, offset + (rowIndex * w + col) * channels); };
    const Rgb t00 = at(col0, row0), t10 = at(colC, row0), t01 = at(col0, rowC), t11 = at(colC, rowC);
    const VF fx = x - x0, fy = y - y0;
    const VF w00 = (constant(1) - fx) * (constant(1) - fy), w01 = (constant(1) - fx) * fy;
    const VF w10 = fx * (constant(1) - fy), w11 = fx * fy;
    auto blend = [&](VF c00, VF c01, VF c10, VF c11) { return c00 * w00 + c01 * w01 + c10 * w10 + c11 * w11; };
    // Each texel's alpha is 1, and 1 * w is w.
    return {blend(t00.r, t01.r, t10.r, t11.r), blend(t00.g, t01.g, t10.g, t11.g),
            blend(t00.b, t01.b, t10.b, t11.b), w00 + w01 + w10 + w11};
}

// truncateToIndex, lane by lane in double.
HWY_INLINE hn::Vec<DHI> truncateToIndex(VD v) {
    const VD limit = hn::Set(dd, (1 << 30) - 1);
    const VD inside = hn::IfThenElseZero(hn::Eq(v, v), v);
    const VD clamped = hn::IfThenElse(hn::Ge(v, limit), limit, hn::IfThenElse(hn::Le(v, hn::Neg(limit)),
                                                                                hn::Neg(limit), inside));
    return hn::DemoteTo(dhi, clamped);
}

// The index sampleNearest takes along a side of `size` texels.
HWY_INLINE VI nearestIndex(VF v, int size) {
    const Wide w = widen(v);
    const VD half = hn::Set(dd, 0.5);
    const VI i = hn::Combine(di, truncateToIndex(w.hi + half), truncateToIndex(w.lo + half));
    return hn::IfThenZeroElse(hn::Or(hn::Lt(i, hn::Zero(di)), hn::Gt(i, hn::Set(di, size - 1))), i);
}

HWY_INLINE Rgba sampleNearest(const LevelTable& t, VF s, VF t0) {
    const VI x = nearestIndex(constant(static_cast<float>(t.width0 - 1)) * s, t.width0);
    const VI y = nearestIndex(constant(static_cast<float>(t.height0 - 1)) * t0, t.height0);
    const Rgb c = gather3(t.level0, (y * hn::Set(di, t.width0) + x) * hn::Set(di, t.channels));
    return {c.r, c.g, c.b, constant(1)};
}

struct Footprint {
    float dsdx;
    float dtdx;
    VF dsdy;
    VF dtdy;
};

// `lodUsed` receives the level of detail each lane's lookup took, as the scalar lookup reports it.
HWY_INLINE Rgba sampleTexture(const LevelTable& t, bool mipmapping, VF q, VF s, VF t0, const Footprint& steps,
                              VF& lodUsed) {
    lodUsed = hn::Zero(df);
    if (!mipmapping) {
        lodUsed = constant(lodMipmappingOff);
        return sampleNearest(t, s, t0);
    }
    const VF sx = constant(steps.dsdx) / q, tx = constant(steps.dtdx) / q;
    const VF sy = steps.dsdy / q, ty = steps.dtdy / q;
    const VF texels = constant(t.texels);
    const VF area = hn::Abs(texels * sx * ty - texels * tx * sy);
    const MF minified = hn::Gt(area, constant(1));
    if (hn::AllFalse(df, minified)) return sampleNearest(t, s, t0);
    const VF lnArea = LevelLog(df, area, minified);
    const VF lod = lnArea / constant(t.ln2) * constant(0.5f);

    // sampleTrilinear, with its call for one level below the coarsest folded in.
    const VF levelCount = constant(static_cast<float>(t.levelCount));
    const VF notNegative = hn::IfThenZeroElse(hn::Lt(lod, hn::Zero(df)), lod);
    const VF level = hn::IfThenElse(hn::Gt(notNegative, levelCount), constant(static_cast<float>(t.levelCount - 1)),
                                    notNegative);
    const MF blended = hn::And(minified, hn::And(hn::Gt(level, hn::Zero(df)), hn::Le(level, levelCount)));
    if (hn::AllFalse(df, blended)) return sampleNearest(t, s, t0);
    lodUsed = hn::IfThenElseZero(blended, level);

    // Lanes that take the nearest texel borrow a blending lane's level: valid indices, and
    // most often one level for the whole group.
    const VF lookupLod = hn::IfThenElse(blended, level, hn::MaxOfLanes(df, hn::IfThenElseZero(blended, level)));
    const VI belowIndex = hn::ConvertTo(di, lookupLod);
    const VF below = hn::ConvertTo(df, belowIndex);
    const VF above = hn::IfThenElse(hn::Lt(below, lookupLod), below + constant(1), below);
    const Rgba a = sampleBilinear(t, belowIndex, s, t0);
    const Rgba b = sampleBilinear(t, hn::ConvertTo(di, above), s, t0);
    const MF same = hn::And(hn::And(hn::Eq(a.r, b.r), hn::Eq(a.g, b.g)), hn::And(hn::Eq(a.b, b.b), hn::Eq(a.a, b.a)));
    const VF f = lookupLod - below;
    const VF rest = constant(1) - f;
    const Rgba mix{a.r * rest + b.r * f, a.g * rest + b.g * f, a.b * rest + b.b * f, a.a * rest + b.a * f};
    const Rgba trilinear = choose(same, a, mix);
    return hn::AllTrue(df, blended) ? trilinear : choose(blended, trilinear, sampleNearest(t, s, t0));
}

#endif // HWY_TARGET != HWY_SCALAR
} // namespace HWY_NAMESPACE
} // namespace rv
HWY_AFTER_NAMESPACE();

#endif // RV_RASTER_TEXTURE_SAMPLING_INL_H_
