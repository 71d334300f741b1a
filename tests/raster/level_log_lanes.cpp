#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "tests/raster/level_log_lanes.cpp"
#include <hwy/foreach_target.h> // must precede highway.h

#include <hwy/highway.h>

#include <algorithm>

#include "raster/level_log-inl.h"
#include "tests/raster/level_log_lanes.h"

HWY_BEFORE_NAMESPACE();
namespace rv {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

long LevelLogLanes(const float* in, float* out, std::size_t count, bool* fellBack) {
    const hn::ScalableTag<float> df;
    const size_t lanes = hn::Lanes(df);
    long fallbacks = 0;
    HWY_ALIGN float group[HWY_MAX_BYTES / sizeof(float)];
    for (size_t i = 0; i < count; i += lanes) {
        // The last group is padded with 2.
        const size_t n = std::min(lanes, count - i);
        std::fill(group, group + lanes, 2.0f);
        std::copy(in + i, in + i + n, group);
        const auto x = hn::Load(df, group);
        hn::Mask<decltype(df)> undecided;
        LevelLogDecided(df, x, undecided);
        const auto fallback = hn::And(undecided, hn::FirstN(df, n));
        fallbacks += static_cast<long>(hn::CountTrue(df, fallback));
        if (fellBack) {
            hn::Store(hn::IfThenElseZero(fallback, hn::Set(df, 1.0f)), df, group);
            for (size_t k = 0; k < n; ++k) fellBack[i + k] = group[k] != 0;
        }
        hn::Store(LevelLog(df, x, hn::FirstN(df, n)), df, group);
        std::copy(group, group + n, out + i);
    }
    return fallbacks;
}

} // namespace HWY_NAMESPACE
} // namespace rv
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace rv {

HWY_EXPORT(LevelLogLanes);

long levelLogLanes(const float* in, float* out, std::size_t count, bool* fellBack) {
    return HWY_DYNAMIC_DISPATCH(LevelLogLanes)(in, out, count, fellBack);
}

} // namespace rv
#endif
