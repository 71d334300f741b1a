// Loading a model from its file to a scene ready to draw: import in the child,
// the checks, building, texture resampling and mip pyramids. Target: the
// 2CylinderEngine file (121 496 placed triangles) within 1 s.
#include <string>

#include <benchmark/benchmark.h>

#include "model/load_model.h"
#include "raster/mip_pyramid.h"

namespace rv {
namespace {

const std::string models = "/usr/share/assimp/models/";

void loadReady(benchmark::State& state, const std::string& file) {
    for (auto _ : state) {
        Scene scene;
        const ModelLoad load = loadModel(scene, models + file);
        if (!load.error.empty()) {
            state.SkipWithError(load.error.c_str());
            return;
        }
        buildPyramids(scene);
        state.counters["triangles"] = static_cast<double>(load.triangles);
        benchmark::DoNotOptimize(scene.objects.data());
    }
}

BENCHMARK_CAPTURE(loadReady, engine, std::string("glTF2/2CylinderEngine-glTF-Binary/2CylinderEngine.glb"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(loadReady, spider, std::string("OBJ/spider.obj"))->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(loadReady, duck, std::string("Collada/duck.dae"))->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace rv

BENCHMARK_MAIN();
