// levelLog in vector lanes, to the last bit: float(std::log(double(x))).
//
// The logarithm is taken in double with an error far below a float's rounding
// step, and its bound decides the rounding: where the whole interval the true
// value may lie in rounds to one float, that float is the library's too (the
// library's own result lies in the interval as well). Lanes whose interval
// holds a rounding boundary, and every input outside (0, +inf), go to levelLog
// one by one; over all floats above 1 that is about one lane in a million.
//
// Include after hwy/highway.h, inside a file Highway compiles once per target.

#if defined(RASTER_LEVEL_LOG_INL_H_) == defined(HWY_TARGET_TOGGLE)
#ifdef RASTER_LEVEL_LOG_INL_H_
#undef RASTER_LEVEL_LOG_INL_H_
#else
#define RASTER_LEVEL_LOG_INL_H_
#endif

#include <hwy/highway.h>

#include <cstdint>
#include <limits>
#include <utility>

#include "raster/level_log.h"

HWY_BEFORE_NAMESPACE();
namespace rv {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;
namespace level_log_detail {

#if HWY_TARGET != HWY_SCALAR

// The logarithm of the float lanes given as mantissa m in [sqrt(1/2), sqrt(2))
// and exponent k, in double: k ln 2 + 2 atanh((m - 1) / (m + 1)). m - 1 and
// m + 1 are exact in double, so f carries one rounding; |f| <= 0.1716 and the
// series stops after f^17, whose remainder is below 2^-50 of the sum. All told
// the result is within 2^-48 of |result| of the true logarithm, and the
// library's within 2^-52: the slack below leaves room threefold.
template <class DD> HWY_INLINE hn::Vec<DD> logOf(DD dd, hn::Vec<DD> m, hn::Vec<DD> k) {
    const auto one = hn::Set(dd, 1.0);
    const auto f = (m - one) / (m + one);
    const auto f2 = f * f;
    auto p = hn::Set(dd, 1.0 / 17);
    for (const double c : {1.0 / 15, 1.0 / 13, 1.0 / 11, 1.0 / 9, 1.0 / 7, 1.0 / 5, 1.0 / 3})
        p = hn::Set(dd, c) + f2 * p;
    const auto twoF = f + f;
    return k * hn::Set(dd, 0.69314718055994530942) + (twoF + twoF * (f2 * p));
}

// The slack around each double result, relative to its size.
constexpr double slack = 0x1p-46;

#endif

} // namespace level_log_detail

// The lanes the kernel decides, with `undecided` set for the others (whose
// values are then meaningless).
template <class DF> HWY_INLINE hn::Vec<DF> LevelLogDecided(DF df, hn::Vec<DF> x, hn::Mask<DF>& undecided) {
#if HWY_TARGET == HWY_SCALAR
    undecided = hn::FirstN(df, hn::Lanes(df));
    return x;
#else
    namespace d = level_log_detail;
    using VF = hn::Vec<DF>;
    const hn::RebindToSigned<DF> di;
    const hn::Half<DF> dh;
    const hn::Rebind<double, decltype(dh)> dd;

    // Subnormals are scaled into the normal range first, which is exact.
    const auto tiny = hn::Lt(x, hn::Set(df, 0x1p-126f));
    const VF normal = hn::IfThenElse(tiny, x * hn::Set(df, 0x1p23f), x);
    // Moving the mantissa's range down to [sqrt(1/2), sqrt(2)) keeps log(m) small
    // next to k ln 2, and both ends of the range equally far from 1.
    const auto ix = hn::BitCast(di, normal) + hn::Set(di, 0x3f800000 - 0x3f3504f3);
    const auto k = hn::ShiftRight<23>(ix) - hn::Set(di, 0x7f) -
                   hn::IfThenElseZero(hn::RebindMask(di, tiny), hn::Set(di, 23));
    const VF m = hn::BitCast(df, hn::And(ix, hn::Set(di, 0x007fffff)) + hn::Set(di, 0x3f3504f3));
    const VF kf = hn::ConvertTo(df, k);

    const auto half = [&](auto part) {
        const auto y = d::logOf(dd, hn::PromoteTo(dd, part(m)), hn::PromoteTo(dd, part(kf)));
        const auto reach = hn::Abs(y) * hn::Set(dd, d::slack);
        return std::pair{hn::DemoteTo(dh, y - reach), hn::DemoteTo(dh, y + reach)};
    };
    const auto [lowLo, lowHi] = half([&](VF v) { return hn::LowerHalf(dh, v); });
    const auto [highLo, highHi] = half([&](VF v) { return hn::UpperHalf(dh, v); });
    const VF below = hn::Combine(df, highLo, lowLo), above = hn::Combine(df, highHi, lowHi);
    const auto inDomain = hn::And(hn::Gt(x, hn::Zero(df)), hn::Lt(x, hn::Set(df, std::numeric_limits<float>::infinity())));
    undecided = hn::Not(hn::And(inDomain, hn::Eq(below, above)));
    return below;
#endif
}

// levelLog of every lane of `live`; the other lanes are left unspecified.
template <class DF> HWY_INLINE hn::Vec<DF> LevelLog(DF df, hn::Vec<DF> x, hn::Mask<DF> live) {
    hn::Mask<DF> undecided;
    hn::Vec<DF> result = LevelLogDecided(df, x, undecided);
    const auto rest = hn::And(undecided, live);
    if (HWY_LIKELY(hn::AllFalse(df, rest))) return result;
    const hn::RebindToSigned<DF> di;
    constexpr size_t maxLanes = HWY_MAX_BYTES / sizeof(float);
    HWY_ALIGN float in[maxLanes], out[maxLanes];
    HWY_ALIGN std::int32_t chosen[maxLanes];
    hn::Store(x, df, in);
    hn::Store(result, df, out);
    hn::Store(hn::BitCast(di, hn::VecFromMask(df, rest)), di, chosen);
    for (size_t i = 0; i < hn::Lanes(df); ++i)
        if (chosen[i]) out[i] = levelLog(in[i]);
    return hn::Load(df, out);
}

} // namespace HWY_NAMESPACE
} // namespace rv
HWY_AFTER_NAMESPACE();

#endif // RASTER_LEVEL_LOG_INL_H_
