#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "raster/span_stepping.cpp"
#include <hwy/foreach_target.h> // must precede highway.h

#include <hwy/highway.h>

#include "raster/span_stepping-inl.h"

#if HWY_ONCE
namespace rv {

void stepSpanScalar(SpanStepping& stepping, int count, float* const out[steppedCount]) {
    for (int i = 0; i < count; ++i)
        for (int c = 0; c < steppedCount; ++c) {
            out[c][i] = stepping.value[c];
            stepping.value[c] += stepping.step[c];
        }
}

HWY_EXPORT(StepSpan);

void stepSpanSimd(SpanStepping& stepping, int count, float* const out[steppedCount]) {
    HWY_DYNAMIC_DISPATCH(StepSpan)(stepping, count, out);
}

} // namespace rv
#endif
