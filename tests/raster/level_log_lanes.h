#pragma once

#include <cstddef>

namespace rv {

// The vector kernel for levelLog over an array, through the Highway target
// chosen at run time (see TargetChoice). `count` is any length; returns how
// many values went to the scalar fallback, and marks them in `fellBack` when given.
long levelLogLanes(const float* in, float* out, std::size_t count, bool* fellBack = nullptr);

} // namespace rv
