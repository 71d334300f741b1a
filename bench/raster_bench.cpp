// Software frames into an in-memory image, single-threaded: each view with the
// scalar shading and with the vector shading of every Highway target this
// processor supports, side by side in one run.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "app/camera.h"
#include "raster/draw_objects.h"
#include "raster_fixtures.h"

namespace rv {
namespace {

struct Shot {
    const char* name;
    ViewState view;
    int width;
    int height;
    // Every pixel must be covered, or the numbers mean something else.
    bool coversFrame;
};

ViewState viewOf(float spin, float tilt, float zoom) {
    ViewState v;
    v.viewSpin = spin;
    v.viewTilt = tilt;
    v.viewZoom = zoom;
    return v;
}

// Seen from 30 degrees off its axis at zoom 9.5, the square covers the whole frame;
// at the start-up tilt of 60 degrees its near corner passes behind the eye before
// it does. Square on, from zoom 8, it spans the width of a 1920 x 1080 window.
const Shot shots[] = {
    {"StartupView", viewOf(startSpin, startTilt, startZoom), 480, 480, false},
    {"FullWindow", viewOf(startSpin, -30, 9.5f), 480, 480, true},
    {"FillWidth1920x1080", viewOf(0, 0, 8), 1920, 1080, false},
};

// target 0 runs the scalar code.
void renderFrames(benchmark::State& state, const Shot& shot, std::int64_t target) {
    StartupScene startup;
    Scene& scene = startup.scene;
    setupCamera(scene, shot.view, shot.width, shot.height);
    scene.simd = target != 0;
    const TargetChoice choice(target);
    FrameBuffer frame;
    MemoryImage image(shot.width, shot.height);
    prepareFrame(frame, shot.width, shot.height, &image);
    drawObjects(scene, frame);
    if (shot.coversFrame && frame.stats.fragmentsPlotted != static_cast<long>(shot.width) * shot.height) {
        state.SkipWithError("the view leaves pixels uncovered");
        return;
    }
    long shaded = 0;
    for (auto _ : state) {
        frame.clear();
        drawObjects(scene, frame);
        shaded += frame.stats.fragmentsShaded;
        benchmark::DoNotOptimize(image.rgb().data());
    }
    state.counters["fragments"] = static_cast<double>(frame.stats.fragmentsShaded);
    state.counters["shaded/s"] = benchmark::Counter(static_cast<double>(shaded), benchmark::Counter::kIsRate);
}

void registerAll() {
    for (const Shot& shot : shots) {
        auto add = [&](const std::string& variant, std::int64_t target) {
            benchmark::RegisterBenchmark((std::string(shot.name) + "/" + variant).c_str(),
                                         [&shot, target](benchmark::State& state) {
                                             renderFrames(state, shot, target);
                                         })
                ->Unit(benchmark::kMillisecond);
        };
        add("scalar", 0);
        // The single-lane target runs the scalar code itself.
        for (const std::int64_t target : simdTargets())
            if (targetName(target) != "SCALAR") add(targetName(target), target);
    }
}

} // namespace
} // namespace rv

int main(int argc, char** argv) {
    rv::registerAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
