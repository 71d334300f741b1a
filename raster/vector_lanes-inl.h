// The lanes every vector stage of span shading works in: floats, their halves
// widened to double and back, three-component vectors, and a way out to scalar
// code lane by lane. The vector twin of math/vector3.h as shading uses it.
//
// What keeps the bits equal: every operation is the scalar code's, on the same
// operands in the same order and precision (double wherever the scalar code
// rounds once from double); no fused multiply-add (-ffp-contract=off, and none
// of Highway's MulAdd family, which is FMA on AVX2); where no vector operation
// rounds exactly like the library the lanes call the scalar function one by one.
//
// Included once per Highway target by span_shading.cpp (foreach_target); the
// guard below flips with HWY_TARGET_TOGGLE so that each target gets its copy.
#if defined(RV_RASTER_VECTOR_LANES_INL_H_) == defined(HWY_TARGET_TOGGLE)
#ifdef RV_RASTER_VECTOR_LANES_INL_H_
#undef RV_RASTER_VECTOR_LANES_INL_H_
#else
#define RV_RASTER_VECTOR_LANES_INL_H_
#endif

#include <hwy/highway.h>

#include <cstdint>

#include "math/vector3.h"
#include "raster/span_shading.h"

HWY_BEFORE_NAMESPACE();
namespace rv {
namespace HWY_NAMESPACE {
#if HWY_TARGET != HWY_SCALAR

namespace hn = hwy::HWY_NAMESPACE;

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
    // The square root of the float-rounded dot product: taken in double and rounded
    // to float it equals the float square root for every float (checked over all
    // 2^32 by float_sqrt_exhaustive), so the lanes take it in float, twice as many at once.
    const VF len = hn::Sqrt(dot(a, a));
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

// ---- colours

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

#endif // HWY_TARGET != HWY_SCALAR
} // namespace HWY_NAMESPACE
} // namespace rv
HWY_AFTER_NAMESPACE();

#endif // RV_RASTER_VECTOR_LANES_INL_H_
