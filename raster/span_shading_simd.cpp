// shadeBatchScalar in vector lanes, to the last bit. Highway compiles this file
// once per instruction set and shadeBatchSimd calls the best one the processor has.
//
// What keeps the bits equal: every operation is the scalar code's, on the same
// operands in the same order and precision (double wherever the scalar code
// rounds once from double); no fused multiply-add (-ffp-contract=off, and none
// of Highway's MulAdd family, which is FMA on AVX2); where no vector operation
// rounds exactly like the library (the logarithm of the level of detail, pow's
// fallback) the lanes call the scalar function one by one. Conversions to int
// sit behind the scalar code's own guards, and lanes that end up unused are
// steered to valid indices, so no lane reads outside a texture.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "raster/span_shading_simd.cpp"
#include <hwy/foreach_target.h> // must precede highway.h

#include <hwy/highway.h>

#include <cmath>
#include <cstdint>

#include "raster/frame_view.h"
#include "raster/material.h"
#include "raster/mip_pyramid.h"
#include "raster/span.h"
#include "raster/span_shading.h"
#include "raster/whole_power.h"
#include "scene/scene.h"

HWY_BEFORE_NAMESPACE();
namespace rv {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

#if HWY_TARGET == HWY_SCALAR

// A single lane gains nothing over the scalar code: processors without SSSE3 run it.
void ShadeBatch(const SpanShading& span, const FragmentBatch& batch, ShadedBatch& out) {
    shadeBatchScalar(span, batch, out);
}

#else

using DF = hn::ScalableTag<float>;
using DI = hn::RebindToSigned<DF>;
// Half the float lanes, and as many doubles: a float vector widens into two of these.
using DH = hn::Half<DF>;
using DD = hn::Rebind<double, DH>;
using DHI = hn::Rebind<int32_t, DD>;
using VF = hn::Vec<DF>;
using VI = hn::Vec<DI>;
using VD = hn::Vec<DD>;
using MF = hn::Mask<DF>;
using MI = hn::Mask<DI>;

const DF df{};
const DI di{};
const DH dh{};
const DD dd{};
const DHI dhi{};

HWY_INLINE VF constant(float v) { return hn::Set(df, v); }

// ---- float <-> double

struct Wide {
    VD lo, hi;
};

HWY_INLINE Wide widen(VF v) {
    return {hn::PromoteTo(dd, hn::LowerHalf(dh, v)), hn::PromoteTo(dd, hn::UpperHalf(dh, v))};
}
HWY_INLINE VF narrow(VD lo, VD hi) { return hn::Combine(df, hn::DemoteTo(dh, hi), hn::DemoteTo(dh, lo)); }
HWY_INLINE VD roundToFloat(VD v) { return hn::PromoteTo(dd, hn::DemoteTo(dh, v)); }

// ---- Vector3

struct V3 {
    VF x, y, z;
};

HWY_INLINE V3 load3(const float (&c)[3][shadingBatch], int i) {
    return {hn::Load(df, c[0] + i), hn::Load(df, c[1] + i), hn::Load(df, c[2] + i)};
}
HWY_INLINE V3 constant3(const Vector3& v) { return {constant(v.x), constant(v.y), constant(v.z)}; }
HWY_INLINE V3 operator+(const V3& a, const V3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
HWY_INLINE V3 operator-(const V3& a, const V3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
HWY_INLINE VF dot(const V3& a, const V3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
HWY_INLINE V3 cross(const V3& a, const V3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// normalizeNonZero: the lanes whose length is not exactly zero (NaN counts as
// non-zero). The others are divided too; their fragments are dropped.
HWY_INLINE MF normalizeNonZero(V3& a) {
    const Wide squared = widen(dot(a, a));
    const VF len = narrow(hn::Sqrt(squared.lo), hn::Sqrt(squared.hi));
    a = {a.x / len, a.y / len, a.z / len};
    return hn::Not(hn::Eq(len, hn::Zero(df)));
}

// ---- scalar fallbacks

// Lanes of `which` become fn(a, b) from scalar code; the others keep `other`.
template <class Fn> HWY_INLINE VF laneByLane(MF which, VF a, VF b, VF other, Fn fn) {
    HWY_ALIGN float as[widestLanes], bs[widestLanes], result[widestLanes];
    HWY_ALIGN int32_t chosen[widestLanes];
    hn::Store(a, df, as);
    hn::Store(b, df, bs);
    hn::Store(other, df, result);
    hn::Store(hn::BitCast(di, hn::VecFromMask(df, which)), di, chosen);
    for (size_t i = 0; i < hn::Lanes(df); ++i)
        if (chosen[i]) result[i] = fn(as[i], bs[i]);
    return hn::Load(df, result);
}

// std::floor: without SSE4.1 Highway's Floor turns -0 into +0.
HWY_INLINE VF floorOf(VF v) { return hn::IfThenElse(hn::Eq(v, hn::Zero(df)), v, hn::Floor(v)); }

// ---- placeFragment

struct Placement {
    // Both inverses, element (r, c) at r * 4 + c, widened exactly.
    double projection[16];
    double modelview[16];
    // Projection row r times the row's ndc y: exact in double, the same for the whole span.
    double rowTimesY[4];
    float width;
    V3 eye;
};

HWY_INLINE VD row(const double* m, VD x, VD y, VD z, VD w) {
    return hn::Set(dd, m[0]) * x + hn::Set(dd, m[1]) * y + hn::Set(dd, m[2]) * z + hn::Set(dd, m[3]) * w;
}

struct Place {
    V3 position;
    V3 toEye;
};

// transform(projection inverse, {ndcX, ndcY, z, 1}) then transform(modelview inverse, q), half by half.
HWY_INLINE void unproject(const Placement& c, VD x, VD z, VD p[4]) {
    VD q[4];
    for (int r = 0; r < 4; ++r) {
        const double* m = c.projection + r * 4;
        // m[3] * 1 is m[3] itself.
        q[r] = roundToFloat(hn::Set(dd, m[0]) * x + hn::Set(dd, c.rowTimesY[r]) + hn::Set(dd, m[2]) * z +
                            hn::Set(dd, m[3]));
    }
    for (int r = 0; r < 4; ++r) p[r] = row(c.modelview + r * 4, q[0], q[1], q[2], q[3]);
}

HWY_INLINE Place placeFragments(const Placement& c, VF x, VF z, MF& lit) {
    const VF ndcX = x / constant(c.width) * constant(2) - constant(1);
    const Wide wx = widen(ndcX);
    const Wide wz = widen(z);
    VD lo[4], hi[4];
    unproject(c, wx.lo, wz.lo, lo);
    unproject(c, wx.hi, wz.hi, hi);
    const VF px = narrow(lo[0], hi[0]), py = narrow(lo[1], hi[1]), pz = narrow(lo[2], hi[2]);
    const VF pw = narrow(lo[3], hi[3]);
    Place place{{px / pw, py / pw, pz / pw}, {}};
    place.toEye = c.eye - place.position;
    lit = hn::And(lit, normalizeNonZero(place.toEye));
    return place;
}

// ---- texture sampling

// A colour texture as the lanes read it: level 0 is the source image, levels 1
// and up lie in the pyramid's storage.
constexpr int maxLevels = 32;
struct Levels {
    const float* level0;
    const float* reduced;
    int channels;
    int levelCount;
    int width0;
    int height0;
    // Texels of level 0, for the footprint.
    float texels;
    float ln2;
    HWY_ALIGN int32_t width[maxLevels];
    HWY_ALIGN int32_t height[maxLevels];
    // Where level k starts in `reduced` (0 for level 0, which has its own array).
    HWY_ALIGN int32_t offset[maxLevels];
};

struct Rgb {
    VF r, g, b;
};
struct Rgba {
    VF r, g, b, a;
};

HWY_INLINE Rgba choose(MF m, const Rgba& yes, const Rgba& no) {
    return {hn::IfThenElse(m, yes.r, no.r), hn::IfThenElse(m, yes.g, no.g), hn::IfThenElse(m, yes.b, no.b),
            hn::IfThenElse(m, yes.a, no.a)};
}

HWY_INLINE Rgb gather3(const float* base, VI index) {
    return {hn::GatherIndex(df, base, index), hn::GatherIndex(df, base + 1, index),
            hn::GatherIndex(df, base + 2, index)};
}

// Texels at element index `index`: of level 0 where `atLevel0`, else of the pyramid.
HWY_INLINE Rgb fetch(const Levels& t, MI atLevel0, VI index) {
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
HWY_INLINE Rgba sampleBilinear(const Levels& t, VI level, VF s, VF t0) {
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

HWY_INLINE Rgba sampleNearest(const Levels& t, VF s, VF t0) {
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
HWY_INLINE Rgba sampleTexture(const Levels& t, bool mipmapping, VF q, VF s, VF t0, const Footprint& steps,
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
    const VF lnArea = laneByLane(minified, area, area, hn::Zero(df), [](float a, float) {
        return static_cast<float>(std::log(static_cast<double>(a)));
    });
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

// ---- bumpNormal

struct Bumps {
    const float* heights;
    int width;
    int height;
    int channels;
    // static_cast<float>(side - 1), and that times the bump scale.
    float widthSteps;
    float heightSteps;
    float widthScale;
    float heightScale;
};

// clampIndex: NaN counts as below the map.
HWY_INLINE VI clampIndex(VF v, int size) {
    const MF below = hn::Not(hn::Ge(v, hn::Zero(df)));
    const MF above = hn::Ge(v, constant(static_cast<float>(size)));
    const VI inside = hn::ConvertTo(di, hn::IfThenZeroElse(hn::Or(below, above), v));
    return hn::IfThenElse(hn::RebindMask(di, above), hn::Set(di, size - 1), inside);
}

HWY_INLINE V3 bumpNormal(const Bumps& m, VF s, VF t, const V3& normal, MF& lit) {
    const VF x = constant(m.widthSteps) * s;
    const VF y = constant(m.heightSteps) * t;
    const VF x0 = floorOf(x), y0 = floorOf(y);
    const VF x1 = x0 + constant(1), y1 = y0 + constant(1);
    const VF fs = floorOf(s), ft = floorOf(t);
    const VF sn = x1 / constant(m.widthSteps);
    const VF tn = y1 / constant(m.heightSteps);
    const VF ds = sn - fs, dt = tn - ft;
    const VF det = ds * dt;

    const VI c0 = clampIndex(x0, m.width), c1 = clampIndex(x1, m.width);
    const VI r0 = clampIndex(y0, m.height), r1 = clampIndex(y1, m.height);
    const VI w = hn::Set(di, m.width), channels = hn::Set(di, m.channels);
    auto at = [&](VI col, VI rowIndex) { return hn::GatherIndex(df, m.heights, (rowIndex * w + col) * channels); };
    const VF h00 = at(c0, r0), h10 = at(c1, r0), h01 = at(c0, r1), h11 = at(c1, r1);

    const VF gx = constant(m.widthScale) * ((h11 - h01) * tn + (h10 - h00) * ft);
    const VF gy = constant(m.heightScale) * ((h01 - h00) * fs + (h11 - h10) * sn);
    // det != 0 is true for NaN; Highway's Ne is not on every target.
    const MF solvable = hn::Not(hn::Eq(det, hn::Zero(df)));
    const VF a = hn::IfThenElseZero(solvable, (s - fs) * dt / det);
    const VF b = hn::IfThenElseZero(solvable, (t - ft) * ds / det);
    const V3 tilt{a * gy, hn::Neg(b) * gx, hn::Zero(df)};
    V3 unit = normal;
    lit = hn::And(lit, normalizeNonZero(unit));
    return normal + cross(tilt, unit);
}

// ---- lightFragment

// powToFloat(double(x), e) for the lanes of `live`. The repeated squaring runs in
// the lanes for a whole exponent from 1 to 1024; any lane it leaves undecided goes
// through the scalar function.
HWY_INLINE VF powToFloat(VF x, float e, MF live) {
    VF result = hn::Zero(df);
    MF decided = hn::FirstN(df, 0);
    if (e >= 1 && e <= 1024 && e == static_cast<float>(static_cast<int>(e))) {
        const int n = static_cast<int>(e);
        const Wide base = widen(x);
        VD power[2] = {hn::Set(dd, 1.0), hn::Set(dd, 1.0)};
        VD square[2] = {base.lo, base.hi};
        for (int k = n;;) {
            if (k & 1)
                for (int h = 0; h < 2; ++h) power[h] = power[h] * square[h];
            k >>= 1;
            if (!k) break;
            for (int h = 0; h < 2; ++h) square[h] = square[h] * square[h];
        }
        const double slack = (2.0 * n + 8) * 0x1p-53;
        VD low[2], high[2];
        for (int h = 0; h < 2; ++h) {
            const VD magnitude = hn::Abs(power[h]);
            const auto inRange =
                hn::And(hn::Ge(magnitude, hn::Set(dd, 0x1p-900)), hn::Le(magnitude, hn::Set(dd, 0x1p900)));
            // NaN never equals `high`, which sends the lane to the scalar function.
            low[h] = hn::IfThenElse(inRange, power[h] * hn::Set(dd, 1 - slack), hn::Set(dd, std::nan("")));
            high[h] = power[h] * hn::Set(dd, 1 + slack);
        }
        result = narrow(low[0], low[1]);
        decided = hn::Eq(result, narrow(high[0], high[1]));
    }
    const MF rest = hn::AndNot(decided, live);
    if (hn::AllFalse(df, rest)) return result;
    return laneByLane(rest, x, constant(e), result,
                      [](float v, float power) { return rv::powToFloat(static_cast<double>(v), power); });
}

struct Lighting {
    const std::vector<Light>* lights;
    Color ambient;
    Color specular;
    float shininess;
};

// `unitNormal` receives the normalised normal each lane is lit with.
HWY_INLINE Rgba lightFragments(const Lighting& c, const Place& place, const Rgba& surface, V3 n, MF& lit,
                               V3& unitNormal) {
    lit = hn::And(lit, normalizeNonZero(n));
    unitNormal = n;
    const Rgba result{constant(c.ambient.r) * surface.r, constant(c.ambient.g) * surface.g,
                      constant(c.ambient.b) * surface.b, constant(c.ambient.a) * surface.a};
    Rgba diffuseSum{hn::Zero(df), hn::Zero(df), hn::Zero(df), hn::Zero(df)};
    Rgba specularSum = diffuseSum;
    for (const Light& light : *c.lights) {
        V3 toLight = constant3(light.position) - place.position;
        lit = hn::And(lit, normalizeNonZero(toLight));
        const VF d = hn::Abs(dot(n, toLight));
        diffuseSum = {diffuseSum.r + surface.r * d * constant(light.color.r),
                      diffuseSum.g + surface.g * d * constant(light.color.g),
                      diffuseSum.b + surface.b * d * constant(light.color.b),
                      diffuseSum.a + surface.a * d * constant(light.color.a)};
        V3 halfway = toLight + place.toEye;
        lit = hn::And(lit, normalizeNonZero(halfway));
        const VF highlight = powToFloat(dot(n, halfway), c.shininess, lit);
        specularSum = {specularSum.r + constant(c.specular.r) * highlight,
                       specularSum.g + constant(c.specular.g) * highlight,
                       specularSum.b + constant(c.specular.b) * highlight,
                       specularSum.a + constant(c.specular.a) * highlight};
    }
    return {result.r + diffuseSum.r + specularSum.r, result.g + diffuseSum.g + specularSum.g,
            result.b + diffuseSum.b + specularSum.b, result.a + diffuseSum.a + specularSum.a};
}

// ---- the batch

void ShadeBatch(const SpanShading& span, const FragmentBatch& batch, ShadedBatch& out) {
    const Scene& scene = span.scene;
    Levels levels;
    const Material& material = span.material;
    if (const Texture* texture = material.colorTexture) {
        const MipPyramid& pyramid = *texture->pyramid;
        if (pyramid.levelCount >= maxLevels) return shadeBatchScalar(span, batch, out);
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
            levels.offset[k] = static_cast<int32_t>(reduced.offset);
        }
    }
    Bumps bumps{};
    if (const Texture* map = material.bumpMap) {
        bumps = {map->texels.get(), map->width, map->height, map->channels,
                 static_cast<float>(map->width - 1), static_cast<float>(map->height - 1), 0, 0};
        bumps.widthScale = bumps.widthSteps * bumpScale;
        bumps.heightScale = bumps.heightSteps * bumpScale;
    }
    Placement placement;
    for (int k = 0; k < 16; ++k) {
        placement.projection[k] = scene.projection.inverse.m[k];
        placement.modelview[k] = scene.modelview.inverse.m[k];
    }
    const float ndcY = span.y / static_cast<float>(span.frame.height()) * 2 - 1;
    for (int r = 0; r < 4; ++r) placement.rowTimesY[r] = placement.projection[r * 4 + 1] * ndcY;
    placement.width = static_cast<float>(span.frame.width());
    placement.eye = constant3(span.eye);
    const Lighting lighting{&scene.lights, scene.ambient, material.specular, material.shininess};
    const Rgba diffuse{constant(material.diffuse.r), constant(material.diffuse.g), constant(material.diffuse.b),
                       constant(material.diffuse.a)};

    for (int i = 0; i < batch.count; i += static_cast<int>(hn::Lanes(df))) {
        MF lit = hn::FirstN(df, hn::Lanes(df));
        const Place place = placeFragments(placement, hn::Load(df, batch.x + i), hn::Load(df, batch.z + i), lit);
        const V3 texOverW = load3(batch.texOverW, i);
        const VF s = texOverW.x / texOverW.z, t = texOverW.y / texOverW.z;
        VF lod = constant(lodUntextured);
        const Rgba surface =
            material.colorTexture
                ? sampleTexture(levels, scene.mipmapping, texOverW.z, s, t,
                                {span.dsdx, span.dtdx, hn::Load(df, batch.rowStep[0] + i),
                                 hn::Load(df, batch.rowStep[1] + i)},
                                lod)
                : diffuse;
        V3 normal = load3(batch.normal, i);
        if (material.bumpMap) normal = bumpNormal(bumps, s, t, normal, lit);
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
namespace rv {

HWY_EXPORT(ShadeBatch);

void shadeBatchSimd(const SpanShading& span, FragmentBatch& batch, ShadedBatch& out) {
    batch.padToWidestLanes();
    HWY_DYNAMIC_DISPATCH(ShadeBatch)(span, batch, out);
}

} // namespace rv
#endif
