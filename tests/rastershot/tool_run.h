#pragma once

#include <string>
#include <vector>

namespace rv {

struct ToolRun {
    // The exit status, or 128 + the signal that ended the program.
    int status = -1;
    std::string out;
    std::string err;
};

// Runs `program` with `args` to the end, standard output and error captured.
// DISPLAY is `display`, or absent when that is empty, whatever the test's own is.
ToolRun runTool(const std::string& program, const std::vector<std::string>& args, const std::string& display = "");

} // namespace rv
