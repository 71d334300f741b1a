// stepSpanScalar in vector lanes, to the last bit: the values of one fragment
// fill a vector (or two or four), one vector addition advances them all, and a
// transpose of each group of fragments turns fragments-by-values into the
// per-value arrays the shading loads. Gathers in place of the transpose were
// measured slower.

#if defined(RASTER_SPAN_STEPPING_INL_H_) == defined(HWY_TARGET_TOGGLE)
#ifdef RASTER_SPAN_STEPPING_INL_H_
#undef RASTER_SPAN_STEPPING_INL_H_
#else
#define RASTER_SPAN_STEPPING_INL_H_
#endif

#include <hwy/highway.h>

#include "raster/span_stepping.h"

HWY_BEFORE_NAMESPACE();
namespace rv {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

#if HWY_TARGET == HWY_SCALAR

inline void StepSpan(SpanStepping& stepping, int count, float* const out[steppedCount]) {
    stepSpanScalar(stepping, count, out);
}

#else

namespace span_stepping_detail {

// rows[j] holds lanes j*L .. j*L+L-1 of a 4 x 4 (per 128-bit block) matrix;
// afterwards rows[j] holds its column j, block by block.
template <class DF> HWY_INLINE void transposeBlocks4(DF df, hn::Vec<DF>* rows) {
    const hn::Repartition<uint64_t, DF> d64;
    const auto t0 = hn::BitCast(d64, hn::InterleaveLower(df, rows[0], rows[1]));
    const auto t1 = hn::BitCast(d64, hn::InterleaveLower(df, rows[2], rows[3]));
    const auto t2 = hn::BitCast(d64, hn::InterleaveUpper(df, rows[0], rows[1]));
    const auto t3 = hn::BitCast(d64, hn::InterleaveUpper(df, rows[2], rows[3]));
    rows[0] = hn::BitCast(df, hn::InterleaveLower(d64, t0, t1));
    rows[1] = hn::BitCast(df, hn::InterleaveUpper(d64, t0, t1));
    rows[2] = hn::BitCast(df, hn::InterleaveLower(d64, t2, t3));
    rows[3] = hn::BitCast(df, hn::InterleaveUpper(d64, t2, t3));
}

// Transposes L x L floats: rows[j] is fragment j's values; afterwards rows[c]
// is value c of every fragment.
template <class DF> HWY_INLINE void transpose(DF df, hn::Vec<DF>* rows) {
    constexpr size_t L = hn::MaxLanes(DF());
    hn::Vec<DF> column[L];
    // Within each 128-bit block, 4 x 4: group g's column k holds, in block b,
    // value 4b + k of fragments 4g .. 4g + 3.
    HWY_UNROLL(4)
    for (size_t g = 0; g < L / 4; ++g) transposeBlocks4(df, rows + 4 * g);
    if constexpr (L == 4) {
        return;
    } else if constexpr (L == 8) {
        HWY_UNROLL(4)
        for (size_t k = 0; k < 4; ++k) {
            column[k] = hn::ConcatLowerLower(df, rows[4 + k], rows[k]);
            column[4 + k] = hn::ConcatUpperUpper(df, rows[4 + k], rows[k]);
        }
    } else {
        static_assert(L == 16, "4, 8 or 16 lanes");
        // Blocks b of groups 0..3, for each k: a 4 x 4 transpose of whole blocks.
        HWY_UNROLL(4)
        for (size_t k = 0; k < 4; ++k) {
            const auto c0 = rows[k], c1 = rows[4 + k], c2 = rows[8 + k], c3 = rows[12 + k];
            const auto u0 = hn::OddEvenBlocks(hn::SwapAdjacentBlocks(c1), c0);
            const auto u1 = hn::OddEvenBlocks(c1, hn::SwapAdjacentBlocks(c0));
            const auto u2 = hn::OddEvenBlocks(hn::SwapAdjacentBlocks(c3), c2);
            const auto u3 = hn::OddEvenBlocks(c3, hn::SwapAdjacentBlocks(c2));
            column[k] = hn::ConcatLowerLower(df, u2, u0);
            column[4 + k] = hn::ConcatLowerLower(df, u3, u1);
            column[8 + k] = hn::ConcatUpperUpper(df, u2, u0);
            column[12 + k] = hn::ConcatUpperUpper(df, u3, u1);
        }
    }
    if constexpr (L != 4) {
        HWY_UNROLL(16)
        for (size_t c = 0; c < L; ++c) rows[c] = column[c];
    }
}

} // namespace span_stepping_detail

inline void StepSpan(SpanStepping& stepping, int count, float* const out[steppedCount]) {
    const hn::ScalableTag<float> df;
    using VF = hn::Vec<decltype(df)>;
    constexpr size_t L = hn::MaxLanes(decltype(df)());
    // As many vectors as the values need: four on 4 lanes, two on 8, one on 16.
    constexpr size_t chunks = (steppedCount + L - 1) / L;
    VF value[chunks], step[chunks];
    for (size_t k = 0; k < chunks; ++k) {
        value[k] = hn::Load(df, stepping.value + k * L);
        step[k] = hn::Load(df, stepping.step + k * L);
    }
    for (size_t i = 0; i < static_cast<size_t>(count); i += L) {
        const size_t n = static_cast<size_t>(count) - i;
        HWY_UNROLL(4)
        for (size_t k = 0; k < chunks; ++k) {
            VF rows[L];
            HWY_UNROLL(16)
            for (size_t j = 0; j < L; ++j) {
                rows[j] = value[k];
                value[k] = value[k] + step[k];
            }
            // A partial last group stops the values where its fragments end.
            if (n < L) value[k] = rows[n];
            span_stepping_detail::transpose(df, rows);
            HWY_UNROLL(16)
            for (size_t c = 0; c < L; ++c)
                if (k * L + c < steppedCount) hn::StoreU(rows[c], df, out[k * L + c] + i);
        }
    }
    for (size_t k = 0; k < chunks; ++k) hn::Store(value[k], df, stepping.value + k * L);
}

#endif // HWY_TARGET == HWY_SCALAR

} // namespace HWY_NAMESPACE
} // namespace rv
HWY_AFTER_NAMESPACE();

#endif // RASTER_SPAN_STEPPING_INL_H_
