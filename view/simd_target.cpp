#include "view/simd_target.h"

#include <hwy/highway.h>

namespace rv {

std::string simdTargetName(bool simd) {
    if (!simd) return "scalar (--no-simd)";
    // Dispatch takes the best target both compiled in and supported: the lowest bit set.
    const std::int64_t targets = hwy::SupportedTargets() & HWY_TARGETS;
    return targets ? hwy::TargetName(targets & -targets) : "none";
}

} // namespace rv
