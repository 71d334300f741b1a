#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/rastershot/command_line.h"

namespace rv {

// The files one run writes; empty for those it does not write.
struct OutputFiles {
    std::string software;
    std::string opengl;
    std::string difference;
    // PREFIX-software-VIEW.png for each view asked for, in that order.
    std::vector<std::string> views;
};

// What the file names start with: --out as given, or DIR/frame for a directory.
std::string filePrefix(const std::string& outPrefix);

OutputFiles outputFiles(const ShotOptions& options);

// Creates missing directories and makes sure every file can be written, before
// any frame is drawn: a typo in --out must not cost a long run. Files that did
// not exist are not left behind. Returns the reason, naming --out, when not.
std::optional<std::string> prepareOutputs(const OutputFiles& files);

} // namespace rv
