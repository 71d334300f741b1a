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

std::string readImportMemory(std::string_view text, ImportLimits& limits) {
    int mib = 0;
    if (std::string why = readWholeNumber("--import-memory", text, 64, maxImportMiB, mib); !why.empty()) return why;
    limits.memoryBytes = static_cast<std::uint64_t>(mib) << 20;
    return {};
}

std::string readImportTime(std::string_view text, ImportLimits& limits) {
    float seconds = 0;
    if (std::string why = readFinite("--import-time", text, seconds); !why.empty()) return why;
    if (seconds <= 0 || seconds > maxImportSeconds)
        return "--import-time: expected seconds above 0, at most " + std::to_string(maxImportSeconds) + ", got '" +
               std::string(text) + "'";
    limits.seconds = seconds;
    return {};
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
  --model FILE        shows the model in FILE instead of the built-in square:
                      OBJ, PLY, STL, OFF, glTF 2.0, Collada, 3DS, FBX and the
                      other formats Assimp reads, with PNG, JPEG, TGA and BMP
                      textures; turned so its up axis (+Y) is +Z, centred and
                      scaled to a largest side of 1. A file that cannot be
                      shown ends the program with one line and status 2
  --import-memory MIB memory the model's import may use, 64 to 1048576 MiB
                      (default: 2048)
  --import-time SECONDS
                      time the model's import may take, above 0 and at most
                      3600 (default: 20)
)";
    return text;
}

} // namespace rv
