// plotBatchScalar in vector lanes, to the last bit. The columns of a batch are
// all different, so its lanes never write the same pixel and may go together.

#if defined(RASTER_BATCH_PLOTTING_INL_H_) == defined(HWY_TARGET_TOGGLE)
#ifdef RASTER_BATCH_PLOTTING_INL_H_
#undef RASTER_BATCH_PLOTTING_INL_H_
#else
#define RASTER_BATCH_PLOTTING_INL_H_
#endif

#include <hwy/highway.h>

#include "raster/batch_plotting.h"
#include "raster/span_shading.h"

HWY_BEFORE_NAMESPACE();
namespace rv {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

#if HWY_TARGET == HWY_SCALAR

inline PlotCounts PlotBatch(float* depthRow, float* colorRow, int first, const float* z, const ShadedBatch& shaded,
                            int begin, int end) {
    return plotBatchScalar(depthRow, colorRow, first, z, shaded, begin, end);
}

#else

inline PlotCounts PlotBatch(float* depthRow, float* colorRow, int first, const float* z, const ShadedBatch& shaded,
                            int begin, int end) {
    const hn::ScalableTag<float> df;
    const hn::RebindToSigned<decltype(df)> di;
    const int lanes = static_cast<int>(hn::Lanes(df));
    PlotCounts counts;
    int i = begin;
    for (; i + lanes <= end; i += lanes) {
        float* depth = depthRow + first + i;
        const auto lit = hn::RebindMask(df, hn::Ne(hn::LoadU(di, shaded.lit + i), hn::Zero(di)));
        const auto depthNow = hn::LoadU(df, z + i);
        // Lt is false for NaN on either side, as the scalar test is.
        const auto pass = hn::And(lit, hn::Lt(depthNow, hn::LoadU(df, depth)));
        counts.shaded += static_cast<long>(hn::CountTrue(df, lit));
        if (hn::AllFalse(df, pass)) continue;
        counts.plotted += static_cast<long>(hn::CountTrue(df, pass));
        hn::BlendedStore(depthNow, pass, df, depth);
        if (!colorRow) continue;
        float* rgb = colorRow + 3 * static_cast<long>(first + i);
        hn::Vec<decltype(df)> r, g, b;
        hn::LoadInterleaved3(df, rgb, r, g, b);
        hn::StoreInterleaved3(hn::IfThenElse(pass, hn::LoadU(df, shaded.color[0] + i), r),
                              hn::IfThenElse(pass, hn::LoadU(df, shaded.color[1] + i), g),
                              hn::IfThenElse(pass, hn::LoadU(df, shaded.color[2] + i), b), df, rgb);
    }
    const PlotCounts tail = plotBatchScalar(depthRow, colorRow, first, z, shaded, i, end);
    counts.shaded += tail.shaded;
    counts.plotted += tail.plotted;
    return counts;
}

#endif // HWY_TARGET == HWY_SCALAR

} // namespace HWY_NAMESPACE
} // namespace rv
HWY_AFTER_NAMESPACE();

#endif // RASTER_BATCH_PLOTTING_INL_H_
