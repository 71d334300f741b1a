// One software frame at 480 x 480 into an in-memory image, single-threaded.
#include <benchmark/benchmark.h>

#include "raster/draw_objects.h"
#include "raster_fixtures.h"

namespace rv {
namespace {

constexpr int size = 480;

// Seen from 30 degrees off its axis at zoom 9.5, the square covers the whole frame;
// at the start-up tilt of 60 degrees its near corner passes behind the eye before
// it does.
constexpr float fullWindowTilt = -30;
constexpr float fullWindowZoom = 9.5f;

void renderFrames(benchmark::State& state, bool fillWindow) {
    StartupScene startup;
    Scene& scene = startup.scene;
    FrameBuffer frame;
    MemoryImage image(size, size);
    prepareFrame(frame, size, size, nullptr);
    if (fillWindow) {
        setupView(scene, startSpin, fullWindowTilt, fullWindowZoom);
        drawObjects(scene, frame);
        if (frame.stats.fragmentsPlotted != static_cast<long>(size) * size) {
            state.SkipWithError("the full-window view leaves pixels uncovered");
            return;
        }
    }
    frame.output = &image;
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

void BM_StartupView(benchmark::State& state) { renderFrames(state, false); }
void BM_FullWindow(benchmark::State& state) { renderFrames(state, true); }

BENCHMARK(BM_StartupView)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullWindow)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace rv

BENCHMARK_MAIN();
