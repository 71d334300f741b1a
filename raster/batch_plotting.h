#pragma once

namespace rv {

struct ShadedBatch;

// What plotting a batch adds to the frame's counters.
struct PlotCounts {
    long shaded = 0;
    long plotted = 0;
};

// The depth test and plotting of fragments begin .. end - 1 of a shaded batch,
// fragment i at column first + i of one row, for a frame whose fragments go nowhere but its
// memory: each lit fragment counts as shaded; it passes where its depth z[i] is
// strictly nearer than the row's (a NaN never passes), and then its depth and,
// when `colorRow` is not null, its red, green and blue are stored. `depthRow`
// and `colorRow` (three floats a pixel) start at column 0.
PlotCounts plotBatchScalar(float* depthRow, float* colorRow, int first, const float* z, const ShadedBatch& shaded,
                           int begin, int end);

// The same in vector lanes: one compare, masked depth stores and colour stores
// of the passing lanes per group.
PlotCounts plotBatchSimd(float* depthRow, float* colorRow, int first, const float* z, const ShadedBatch& shaded,
                         int begin, int end);

} // namespace rv
