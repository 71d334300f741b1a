#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "raster/band_renderer.h"
#include "raster/band_workers.h"
#include "model/child_import.h"
#include "view/command_flags.h"

namespace rv {

// What both programs take from their command lines with the same flags, the
// same rules and the same help: a flag added here reaches both at once.
struct CommonOptions {
    // Threads drawing the software frame.
    int threads = coreCount();
    // Vector shading; false runs the scalar code that defines its bits.
    bool simd = true;
    // The best vector target the run-time dispatch may pick; 0 for the best this CPU has.
    std::int64_t simdMax = 0;
    // A model file shown instead of the built-in square; empty for the square.
    std::string model;
    // The caps on the model's import.
    ImportLimits import;
};

// Empty when `name` is a vector target compiled in, by its lower-case name
// ("avx2", "sse4"), and then `target` is set; else the reason, naming --simd-max.
std::string readSimdTarget(std::string_view name, std::int64_t& target);

// Keeps the run-time dispatch at or below options.simdMax from here on; call before the first frame.
void capSimdTargets(const CommonOptions& options);

// --import-memory and --import-time: values a person may ask for.
constexpr int maxImportMiB = 1 << 20;
constexpr int maxImportSeconds = 3600;
std::string readImportMemory(std::string_view text, ImportLimits& limits);
std::string readImportTime(std::string_view text, ImportLimits& limits);

// The flags that fill CommonOptions, for a program whose options hold theirs as `common`.
template <class Options>
constexpr Flag<Options> commonFlags[] = {
    {"--threads", "N",
     [](std::string_view v, Options& o) { return readWholeNumber("--threads", v, 1, maxThreads, o.common.threads); }},
    {"--no-simd", "",
     [](std::string_view, Options& o) {
         o.common.simd = false;
         return std::string();
     }},
    {"--simd-max", "TARGET", [](std::string_view v, Options& o) { return readSimdTarget(v, o.common.simdMax); }},
    {"--model", "FILE",
     [](std::string_view v, Options& o) {
         if (v.empty()) return std::string("--model: expected a file, got ''");
         o.common.model = v;
         return std::string();
     }},
    {"--import-memory", "MIB", [](std::string_view v, Options& o) { return readImportMemory(v, o.common.import); }},
    {"--import-time", "SECONDS", [](std::string_view v, Options& o) { return readImportTime(v, o.common.import); }},
};

// The help lines of commonFlags, in the layout of both programs' --help.
std::string_view commonFlagsHelp();

} // namespace rv
