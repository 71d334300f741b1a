#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/command_flags.h"
#include "raster/band_workers.h"

namespace rv {

// How the software frame reaches the window.
enum class Presentation {
    // GL points: one per passing fragment as drawn with one thread, one per
    // covered pixel in row order once the bands are done with several.
    points,
    // One pixel transfer of the whole frame.
    image,
};

struct ViewerOptions {
    // Threads drawing the software frame.
    int threads = coreCount();
    Presentation present = Presentation::points;
    // Vector shading; false runs the scalar code that defines its bits.
    bool simd = true;
    // Where 's' saves the view's pictures; created when missing.
    std::string shotsDirectory = "out";
};

struct ViewerCommandLine {
    ReadArguments::Action action = ReadArguments::Action::run;
    ViewerOptions options;
    std::string error;
    // What is left for glutInit, program name first.
    std::vector<std::string> glutArguments;
};

// The whole argv, program name first. Our flags follow rastershot's rules; any
// argument not starting with "--" is left for GLUT.
ViewerCommandLine parseViewerCommandLine(const std::vector<std::string>& argv);

// What --help prints.
std::string_view viewerUsageText();

} // namespace rv
