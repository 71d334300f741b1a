// Software frame timings: one thread into an in-memory image, and frames drawn
// in bands on several threads into the frame buffer's kept colours.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "raster/band_renderer.h"
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

// Other programs on a shared machine only ever add time: over repetitions the
// fastest is the steadiest figure for a ratio.
double fastest(const std::vector<double>& times) { return *std::min_element(times.begin(), times.end()); }

struct View {
    float spin, tilt, zoom;
};
// The view the README's table calls filling the window: the square face on, as
// wide as a square frame and as high as a wide one; every row costs the same.
constexpr View filling{0, 0, 8};
// Work in the middle rows only, and a thin strip of rows seen edge-on: bands
// too tall leave a thread idle there.
constexpr View startup{startSpin, startTilt, startZoom};
constexpr View grazing{startSpin, -84, 6};
constexpr View views[] = {filling, startup, grazing};

void renderInBands(benchmark::State& state, int width, int height, View view, int threads, int bandHeight) {
    StartupScene startupScene;
    Scene& scene = startupScene.scene;
    setupView(scene, view.spin, view.tilt, view.zoom, width, height);
    FrameBuffer frame;
    frame.keepColors();
    frame.resize(width, height);
    BandRenderer renderer(threads, bandHeight);
    for (auto _ : state) {
        renderer.draw(scene, frame);
        benchmark::DoNotOptimize(frame.colors());
    }
    state.counters["fragments"] = static_cast<double>(frame.stats.fragmentsShaded);
}

// Cost against pixels and threads, side by side, filling the frame: args are width, height, threads.
void BM_Threads(benchmark::State& state) {
    renderInBands(state, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), filling,
                  static_cast<int>(state.range(2)), BandRenderer::defaultBandHeight);
}
BENCHMARK(BM_Threads)
    ->ArgNames({"width", "height", "threads"})
    ->ArgsProduct({{480}, {480}, {1, 2, 4}})
    ->ArgsProduct({{960}, {960}, {1, 2, 4}})
    ->ArgsProduct({{1920}, {1080}, {1, 2, 4}})
    ->ComputeStatistics("min", fastest)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The band height on two threads: args are width, height, view (0 filling,
// 1 start-up, 2 grazing) and rows per band.
void BM_BandHeight(benchmark::State& state) {
    renderInBands(state, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                  views[state.range(2)], 2, static_cast<int>(state.range(3)));
}
BENCHMARK(BM_BandHeight)
    ->ArgNames({"width", "height", "view", "rows"})
    ->ArgsProduct({{480}, {480}, {0, 1, 2}, {1, 4, 8, 16, 32, 60, 120, 240}})
    ->ArgsProduct({{1920}, {1080}, {0, 1, 2}, {1, 4, 8, 16, 32, 64, 135, 540}})
    ->ComputeStatistics("min", fastest)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
} // namespace rv

BENCHMARK_MAIN();
