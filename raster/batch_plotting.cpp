#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "raster/batch_plotting.cpp"
#include <hwy/foreach_target.h> // must precede highway.h

#include <hwy/highway.h>

#include "raster/batch_plotting-inl.h"

#if HWY_ONCE
namespace rv {

PlotCounts plotBatchScalar(float* depthRow, float* colorRow, int first, const float* z, const ShadedBatch& shaded,
                           int begin, int end) {
    PlotCounts counts;
    for (int i = begin; i < end; ++i) {
        if (!shaded.lit[i]) continue;
        ++counts.shaded;
        float& stored = depthRow[first + i];
        if (!(z[i] < stored)) continue;
        stored = z[i];
        ++counts.plotted;
        if (colorRow) {
            float* p = colorRow + 3 * static_cast<long>(first + i);
            p[0] = shaded.color[0][i];
            p[1] = shaded.color[1][i];
            p[2] = shaded.color[2][i];
        }
    }
    return counts;
}

HWY_EXPORT(PlotBatch);

PlotCounts plotBatchSimd(float* depthRow, float* colorRow, int first, const float* z, const ShadedBatch& shaded,
                         int begin, int end) {
    return HWY_DYNAMIC_DISPATCH(PlotBatch)(depthRow, colorRow, first, z, shaded, begin, end);
}

} // namespace rv
#endif
