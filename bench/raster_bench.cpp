// Software frame timings, side by side in one run: single-threaded frames into
// an in-memory image with the scalar shading and with the vector shading of every
// Highway target this processor supports, and frames drawn in bands on several
// threads into the frame buffer's kept colours.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "raster/band_renderer.h"
#include "raster/draw_objects.h"
#include "raster/mip_pyramid.h"
#include "raster_fixtures.h"
#include "tests/support/grid_scene.h"
#include "view/camera.h"

namespace rv {
namespace {

struct Shot {
    const char* name;
    ViewPose view;
    int width;
    int height;
    // Every pixel must be covered, or the numbers mean something else.
    bool coversFrame;
};

ViewPose viewOf(float spin, float tilt, float zoom) {
    ViewPose v;
    v.spin = spin;
    v.tilt = tilt;
    v.zoom = zoom;
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

// Many small triangles: the unit square cut into n x n quads of two triangles
// each, face on and as wide as a square frame, as high as a wide one (the
// filling view), drawn by a BandRenderer on `threads` threads. Per triangle and
// per shaded fragment, the frame's time is reported as a cost (seconds each).
void renderGrid(benchmark::State& state, int n, int width, int height, int threads) {
    Scene scene;
    initGridScene(scene, n);
    buildPyramids(scene);
    setupView(scene, filling.spin, filling.tilt, filling.zoom, width, height);
    FrameBuffer frame;
    frame.keepColors();
    frame.resize(width, height);
    BandRenderer renderer(threads);
    for (auto _ : state) {
        renderer.draw(scene, frame);
        benchmark::DoNotOptimize(frame.colors());
    }
    const double triangles = 2.0 * n * n;
    const auto perItem = benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert;
    state.counters["triangles"] = triangles;
    state.counters["fragments"] = static_cast<double>(frame.stats.fragmentsShaded);
    state.counters["s/triangle"] = benchmark::Counter(triangles, perItem);
    state.counters["s/fragment"] = benchmark::Counter(static_cast<double>(frame.stats.fragmentsShaded), perItem);
}

void registerAll() {
    // Grids side by side: one thread beside every core, for each size and triangle count.
    struct Size {
        int width, height;
    };
    for (const Size size : {Size{480, 480}, Size{1920, 1080}})
        for (const int n : {16, 64, 200})
            for (const int threads : {1, coreCount()}) {
                const std::string name = "Grid/triangles:" + std::to_string(2 * n * n) + "/size:" +
                                         std::to_string(size.width) + "x" + std::to_string(size.height) +
                                         "/threads:" + std::to_string(threads);
                benchmark::RegisterBenchmark(name.c_str(),
                                             [=](benchmark::State& state) {
                                                 renderGrid(state, n, size.width, size.height, threads);
                                             })
                    ->ComputeStatistics("min", fastest)
                    ->Unit(benchmark::kMillisecond)
                    ->UseRealTime();
            }

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

int main(int argc, char** argv) {
    rv::registerAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
