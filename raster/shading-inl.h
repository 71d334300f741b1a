// placeFragment, bumpNormal and lightFragment (shading.cpp) in vector lanes,
// to the last bit.
//
// vector_lanes-inl.h says what keeps the bits equal.
//
// Included once per Highway target by span_shading.cpp (foreach_target); the
// guard below flips with HWY_TARGET_TOGGLE so that each target gets its copy.
#if defined(RV_RASTER_SHADING_INL_H_) == defined(HWY_TARGET_TOGGLE)
#ifdef RV_RASTER_SHADING_INL_H_
#undef RV_RASTER_SHADING_INL_H_
#else
#define RV_RASTER_SHADING_INL_H_
#endif

#include <hwy/highway.h>

#include <cstdint>
#include <vector>

#include "math/color.h"
#include "raster/span_shading.h"
#include "raster/vector_lanes-inl.h"
#include "raster/whole_power-inl.h"
#include "scene/scene.h"

HWY_BEFORE_NAMESPACE();
namespace rv {
namespace HWY_NAMESPACE {
#if HWY_TARGET != HWY_SCALAR

// ---- placeFragment

HWY_INLINE VD row(const double* m, VD x, VD y, VD z, VD w) {
    return hn::Set(dd, m[0]) * x + hn::Set(dd, m[1]) * y + hn::Set(dd, m[2]) * z + hn::Set(dd, m[3]) * w;
}

struct Place {
    V3 position;
    V3 toEye;
};

// transform(projection inverse, {ndcX, ndcY, z, 1}) then transform(modelview inverse, q), half by half.
HWY_INLINE void unproject(const PlacementTable& c, VD x, VD z, VD p[4]) {
    VD q[4];
    for (int r = 0; r < 4; ++r) {
        const double* m = c.projection + r * 4;
        // m[3] * 1 is m[3] itself.
        q[r] = roundToFloat(hn::Set(dd, m[0]) * x + hn::Set(dd, c.rowTimesY[r]) + hn::Set(dd, m[2]) * z +
                            hn::Set(dd, m[3]));
    }
    for (int r = 0; r < 4; ++r) p[r] = row(c.modelview + r * 4, q[0], q[1], q[2], q[3]);
}

HWY_INLINE Place placeFragments(const PlacementTable& c, const V3& eye, VF x, VF z, MF& lit) {
    const VF ndcX = x / constant(c.width) * constant(2) - constant(1);
    const Wide wx = widen(ndcX);
    const Wide wz = widen(z);
    VD lo[4], hi[4];
    unproject(c, wx.lo, wz.lo, lo);
    unproject(c, wx.hi, wz.hi, hi);
    const VF px = narrow(lo[0], hi[0]), py = narrow(lo[1], hi[1]), pz = narrow(lo[2], hi[2]);
    const VF pw = narrow(lo[3], hi[3]);
    Place place{{px / pw, py / pw, pz / pw}, {}};
    place.toEye = eye - place.position;
    lit = hn::And(lit, normalizeNonZero(place.toEye));
    return place;
}

// ---- bumpNormal

// clampIndex: NaN counts as below the map.
HWY_INLINE VI clampIndex(VF v, int size) {
    const MF below = hn::Not(hn::Ge(v, hn::Zero(df)));
    const MF above = hn::Ge(v, constant(static_cast<float>(size)));
    const VI inside = hn::ConvertTo(di, hn::IfThenZeroElse(hn::Or(below, above), v));
    return hn::IfThenElse(hn::RebindMask(di, above), hn::Set(di, size - 1), inside);
}

HWY_INLINE V3 bumpNormal(const BumpTable& m, VF s, VF t, const V3& normal, MF& lit) {
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

#endif // HWY_TARGET != HWY_SCALAR
} // namespace HWY_NAMESPACE
} // namespace rv
HWY_AFTER_NAMESPACE();

#endif // RV_RASTER_SHADING_INL_H_
