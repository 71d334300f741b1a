#include "view/common_flags.h"

#include <hwy/targets.h>

#include <cctype>

namespace rv {

namespace {

std::string lowerCase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// The targets compiled in, best first (Highway gives better targets lower bits), comma-separated.
std::string compiledTargetNames() {
    std::string names;
    for (std::int64_t targets = HWY_TARGETS; targets != 0; targets &= targets - 1)
        names += (names.empty() ? "" : ", ") + lowerCase(hwy::TargetName(targets & -targets));
    return names;
}

} // namespace

std::string readSimdTarget(std::string_view name, std::int64_t& target) {
    for (std::int64_t targets = HWY_TARGETS; targets != 0; targets &= targets - 1)
        if (lowerCase(hwy::TargetName(targets & -targets)) == lowerCase(name)) {
            target = targets & -targets;
            return {};
        }
    return "--simd-max: expected one of " + compiledTargetNames() + ", got '" + std::string(name) + "'";
}

void capSimdTargets(const CommonOptions& options) {
    // Every better target has a lower bit; Highway keeps its baseline when nothing else is left.
    if (options.simdMax != 0) hwy::DisableTargets(options.simdMax - 1);
}

std::string_view commonFlagsHelp() {
    static const std::string text = R"(  --threads N         threads drawing the software frame, 1 to 256, in bands
                      of rows; every count gives the same picture (default:
                      one per core)
  --no-simd           the software rasterizer shades one fragment at a time
                      with its scalar code instead of in vector lanes; the
                      picture is the same to the bit, only slower
  --simd-max TARGET   the best vector instruction set the software rasterizer
                      may pick, one of )" + compiledTargetNames() + R"(;
                      for tools that cannot run the best one, such as valgrind
                      on AVX-512 (avx3); same picture (default: the best this
                      CPU has)
)";
    return text;
}

} // namespace rv
