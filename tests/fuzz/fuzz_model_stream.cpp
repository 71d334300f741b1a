// libFuzzer target: the parent's side of the import pipe. Any bytes a child
// could send must end in a model or a reason, never a crash or a runaway
// allocation; a model that passes must build into a scene.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/model_scene.h"
#include "model/model_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> bytes(data, data + size);
    rv::MemorySource source(bytes);
    rv::StreamLimits limits;
    // Small enough that the fuzzer's memory limit is never the finding.
    limits.vertices = 1 << 16;
    limits.triangles = 1 << 16;
    limits.imageSide = 4096;
    limits.imageBytes = 1 << 22;
    const rv::StreamResult result = rv::readImportStream(source, limits);
    if (result.kind == rv::StreamResult::Kind::model) {
        rv::Scene scene;
        rv::buildModelScene(scene, result.model);
    }
    return 0;
}
