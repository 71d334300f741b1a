#pragma once

#include <stdexcept>
#include <string>

#include "model/model_data.h"
#include "model/model_stream.h"

namespace rv {

// The importer refused the file; what() is the reason, one line.
struct ImportFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Reads the file with Assimp (triangulated, node transforms applied, smooth
// normals where missing, points and lines dropped, data validated) and decodes
// the textures its materials name. Runs in the import child: it trusts Assimp
// no further than the memory and time caps around it. Beyond `limits` a model
// fails with a reason and an image is marked unreadable, rather than the
// parent refusing the whole stream.
ImportedModel importWithAssimp(const std::string& path, const StreamLimits& limits);

} // namespace rv
