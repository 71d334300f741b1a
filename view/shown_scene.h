#pragma once

#include <string>
#include <vector>

#include "scene/scene.h"
#include "view/common_flags.h"

namespace rv {

// Fills `scene` with what both programs show: the built-in square, or the
// model named by options.model (with the OpenGL path's lighting on). Returns
// the one line that ends the program ("FILE: reason"), or empty; `warnings`
// gets the lines to print and carry on with ("FILE: what").
std::string buildShownScene(Scene& scene, const CommonOptions& options, std::vector<std::string>& warnings);

// The program's name, then each line, on standard error; true when `error` is empty.
bool reportSceneLoad(const char* program, const std::string& error, const std::vector<std::string>& warnings);

} // namespace rv
