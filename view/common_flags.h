#pragma once

#include <string>
#include <string_view>

#include "raster/band_renderer.h"
#include "raster/band_workers.h"
#include "view/command_flags.h"

namespace rv {

// What both programs take from their command lines with the same flags, the
// same rules and the same help: a flag added here reaches both at once.
struct CommonOptions {
    // Threads drawing the software frame.
    int threads = coreCount();
    // Vector shading; false runs the scalar code that defines its bits.
    bool simd = true;
};

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
};

// The help lines of commonFlags, in the layout of both programs' --help.
std::string_view commonFlagsHelp();

} // namespace rv
