#pragma once

namespace rv {

// The values span filling carries from fragment to fragment, each advanced by
// its own step: depth, texture coordinates over w (s, t, 1/w), normal (x, y,
// z), the per-row steps of s/w and t/w, and the column (whole numbers below
// 2^24, so stepping it by 1 is exact). Spare slots round them up to a whole
// vector of 16 floats.
constexpr int steppedCount = 10;
struct SpanStepping {
    alignas(64) float value[16] = {};
    alignas(64) float step[16] = {};
};

// Fragment i of the `count` written gets value[c] in out[c][i], then every value
// advances by its step: one float addition per value and fragment, the same
// ones in the same order whichever way they run. `out` arrays are written up
// to the next multiple of 16 past count (those extra entries undefined);
// `stepping` ends advanced by exactly count steps.
void stepSpanScalar(SpanStepping& stepping, int count, float* const out[steppedCount]);

// The same bits in vector lanes: one addition per fragment for all values at
// once, turned into the per-value arrays by an in-register transpose.
void stepSpanSimd(SpanStepping& stepping, int count, float* const out[steppedCount]);

} // namespace rv
