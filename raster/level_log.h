#pragma once

#include <cmath>

namespace rv {

// The natural logarithm the mip level is computed from: taken in double and
// rounded once to float. The vector kernel beside it (level_log-inl.h) gives
// these bits exactly; a float logarithm differs in the last bit for some
// footprints and so picks a different blend of levels.
inline float levelLog(float area) { return static_cast<float>(std::log(static_cast<double>(area))); }

} // namespace rv
