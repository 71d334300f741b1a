#pragma once

#include <string>
#include <vector>

#include "model/model_data.h"
#include "scene/scene.h"

namespace rv {

// What building (or loading) a model came to.
struct ModelLoad {
    // Empty on success; otherwise one line and the scene holds no part of the model.
    std::string error;
    // One line each.
    std::vector<std::string> warnings;
    long triangles = 0;
};

// Replaces the scene's contents with the model, through the scene's own building
// operations: per mesh its material and textures, then one object; per triangle
// one polygon of three corners. Placed once through `construction`: +Y turned to
// +Z, centred on the bounding box, scaled so that its largest side is 1.
// Triangles with a non-finite corner are dropped (one warning gives the count);
// unusable normals fall back to the face normal; each triangle's texture
// coordinates move by whole periods to start in [0, 1) (textures repeat in
// model files, both renderers clamp); images that could not be read
// leave their objects untextured (one warning each). Lighting starts on.
ModelLoad buildModelScene(Scene& scene, const ImportedModel& model);

} // namespace rv
