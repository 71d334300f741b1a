#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "view/common_flags.h"
#include "view/presentation.h"

namespace rv {

struct ViewerOptions {
    CommonOptions common;
    Presentation present = Presentation::points;
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
const std::string& viewerUsageText();

} // namespace rv
