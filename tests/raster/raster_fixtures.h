#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "raster/edge.h"
#include "raster/frame_buffer.h"
#include "tests/support/memory_image.h"
#include "raster/pixel_sink.h"
#include "raster/vertex_processing.h"
#include "scene/scene.h"
#include "tests/support/stage_helpers.h"

namespace rv {

// Screen vertices with chosen window coordinates. Returned references stay
// valid for the maker's lifetime.
class VertexMaker {
public:
    ScreenVertex& at(float x, float y, float z = 0.5f, const Vector3& normal = {0, 0, 1});

private:
    std::deque<ScreenVertex> vertices;
};

// The edges of one closed loop, built as drawObjects builds them: each corner
// paired with the corner before it.
std::vector<Edge> loopEdges(const std::vector<const ScreenVertex*>& loop);

// Counts points per pixel and the pixels of every bracket, for coverage tests.
class RecordingSink : public PixelSink {
public:
    RecordingSink(int width, int height) : w(width), h(height), hits(static_cast<size_t>(width) * height, 0) {}
    void beginSpan() override { brackets.emplace_back(); }
    void endSpan() override {}
    void plot(int x, int y, const Color&) override;

    int hitsAt(int x, int y) const { return hits[static_cast<size_t>(y) * w + x]; }
    // Brackets with at least one point on row y.
    int spansOnRow(int y) const;

    std::vector<std::vector<std::pair<int, int>>> brackets;

private:
    int w, h;
    std::vector<int> hits;
};

// A scene whose modelview and projection are the identity, so a fragment's world
// position is its normalised device position; no lights, full ambient.
Scene flatScene();

// A frame of the given size, cleared, writing to `sink`.
void prepareFrame(FrameBuffer& frame, int width, int height, PixelSink* sink);

// The viewer's camera for a square window: spin and tilt in degrees, zoom in wheel steps.
void setupView(Scene& scene, float spin, float tilt, float zoom, int width = 480, int height = 480);
constexpr float startSpin = -135;
constexpr float startTilt = -60;
constexpr float startZoom = 0.25f;

// The start-up scene with its pyramid built, seen from the start-up view.
class StartupScene {
public:
    StartupScene();

    Scene scene;
};

// What a software frame leaves behind: colours, depth and counters.
struct FrameResult {
    std::vector<float> rgb;
    std::vector<float> depth;
    RenderStats stats;
};
FrameResult captureFrame(const FrameBuffer& frame, const MemoryImage& image);
// The scene drawn into a cleared width x height frame.
FrameResult renderFrame(const Scene& scene, int width, int height);

// Bit for bit, except that any NaN matches any NaN: C++ leaves NaN payloads to the compiler.
bool sameBits(float a, float b);
// Empty when the two frames are the same bit for bit; else the first difference.
std::string bitDifference(const FrameResult& a, const FrameResult& b);

// Every Highway target compiled in and supported by this processor, best last.
std::vector<std::int64_t> simdTargets();
// Makes the vector shading use `target` while it lives, then lets it choose freely again.
class TargetChoice {
public:
    explicit TargetChoice(std::int64_t target);
    ~TargetChoice();
    TargetChoice(const TargetChoice&) = delete;
    TargetChoice& operator=(const TargetChoice&) = delete;
};
std::string targetName(std::int64_t target);

// Writes a binary PPM of the frame, with `marked` pixels in red, and returns its path.
std::string writeDiffPicture(const std::string& name, const MemoryImage& image, const std::vector<bool>& marked);

} // namespace rv
