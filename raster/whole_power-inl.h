// powToFloat (whole_power.h) in vector lanes, to the last bit.
//
// vector_lanes-inl.h says what keeps the bits equal.
//
// Included once per Highway target by span_shading.cpp (foreach_target); the
// guard below flips with HWY_TARGET_TOGGLE so that each target gets its copy.
#if defined(RV_RASTER_WHOLE_POWER_INL_H_) == defined(HWY_TARGET_TOGGLE)
#ifdef RV_RASTER_WHOLE_POWER_INL_H_
#undef RV_RASTER_WHOLE_POWER_INL_H_
#else
#define RV_RASTER_WHOLE_POWER_INL_H_
#endif

#include <hwy/highway.h>

#include <cmath>

#include "raster/vector_lanes-inl.h"
#include "raster/whole_power.h"

HWY_BEFORE_NAMESPACE();
namespace rv {
namespace HWY_NAMESPACE {
#if HWY_TARGET != HWY_SCALAR

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

#endif // HWY_TARGET != HWY_SCALAR
} // namespace HWY_NAMESPACE
} // namespace rv
HWY_AFTER_NAMESPACE();

#endif // RV_RASTER_WHOLE_POWER_INL_H_
