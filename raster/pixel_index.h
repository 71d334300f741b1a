#pragma once

namespace rv {

// Truncation toward zero to a row, column or texel index that is always defined.
// Vertices at or behind the eye plane give huge, infinite or NaN window values,
// and converting those to int directly is undefined behaviour. Saturating at
// +-(2^30 - 1) leaves every value an ordinary view produces untouched and keeps
// the difference of any two results inside int. NaN gives 0; callers that must
// skip NaN input test for it first.
inline int truncateToIndex(double v) {
    constexpr int limit = (1 << 30) - 1;
    if (v >= limit) return limit;
    if (v <= -limit) return -limit;
    if (v != v) return 0;
    return static_cast<int>(v);
}

} // namespace rv
