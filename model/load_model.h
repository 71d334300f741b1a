#pragma once

#include <string>

#include "model/child_import.h"
#include "model/model_scene.h"
#include "scene/scene.h"

namespace rv {

// Imports the file in a capped child process, checks what comes back and, only
// when all of it is usable, replaces the scene's contents with the model. Its
// error and every warning start with "FILE: ".
ModelLoad loadModel(Scene& scene, const std::string& path, const ImportLimits& limits = {});

} // namespace rv
