#pragma once

#include <stdexcept>
#include <string>

#include "model/model_data.h"

namespace rv {

// The importer refused the file; what() is the reason, one line.
struct ImportFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Reads the file with Assimp (triangulated, node transforms applied, smooth
// normals where missing, points and lines dropped, data validated) and decodes
// the textures its materials name. Runs in the import child: it trusts Assimp
// no further than the memory and time caps around it.
ImportedModel importWithAssimp(const std::string& path);

} // namespace rv
