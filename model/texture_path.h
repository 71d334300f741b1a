#pragma once

#include <string>
#include <vector>

namespace rv {

// Where to look for a texture a model names, in order: the path as written,
// relative to the model's folder, with either slash as separator; then the
// file name alone beside the model (paths written on another machine). An
// absolute path is never followed as it stands, only by its file name.
std::vector<std::string> textureCandidates(const std::string& modelPath, const std::string& written);

} // namespace rv
