#include "view/shown_scene.h"

#include <cstdio>

#include "model/load_model.h"

namespace rv {

std::string buildShownScene(Scene& scene, const CommonOptions& options, std::vector<std::string>& warnings) {
    if (options.model.empty()) {
        initScene(scene);
        return {};
    }
    ModelLoad load = loadModel(scene, options.model, options.import);
    warnings = std::move(load.warnings);
    return load.error;
}

bool reportSceneLoad(const char* program, const std::string& error, const std::vector<std::string>& warnings) {
    for (const std::string& w : warnings) std::fprintf(stderr, "%s: %s\n", program, w.c_str());
    if (!error.empty()) std::fprintf(stderr, "%s: %s\n", program, error.c_str());
    return error.empty();
}

} // namespace rv
