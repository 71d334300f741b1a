#include "raster_fixtures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include <hwy/targets.h>

#include "raster/draw_objects.h"
#include "raster/mip_pyramid.h"

namespace rv {

ScreenVertex& VertexMaker::at(float x, float y, float z, const Vector3& normal) {
    ScreenVertex& v = vertices.emplace_back();
    v.x = x;
    v.y = y;
    v.z = z;
    v.texOverW = {0, 0, 1};
    v.normal = normal;
    return v;
}

std::vector<Edge> loopEdges(const std::vector<const ScreenVertex*>& loop) {
    std::vector<Edge> edges;
    const size_t n = loop.size();
    for (size_t k = 0; k < n; ++k) edges.emplace_back(*loop[k], *loop[(k + n - 1) % n]);
    return edges;
}

void RecordingSink::plot(int x, int y, const Color&) {
    if (x < 0 || y < 0 || x >= w || y >= h) std::abort();
    ++hits[static_cast<size_t>(y) * w + x];
    brackets.back().emplace_back(x, y);
}

int RecordingSink::spansOnRow(int y) const {
    return static_cast<int>(std::count_if(brackets.begin(), brackets.end(), [y](const auto& pixels) {
        return !pixels.empty() && pixels.front().second == y;
    }));
}

Scene flatScene() {
    Scene scene;
    scene.ambient = {1, 1, 1, 1};
    scene.modelview.updateInverse();
    scene.projection.updateInverse();
    return scene;
}

void prepareFrame(FrameBuffer& frame, int width, int height, PixelSink* sink) {
    frame.resize(width, height);
    frame.clear();
    frame.output = sink;
}

void setupView(Scene& scene, float spin, float tilt, float zoom, int width, int height) {
    const double base = 0.4f;
    const double ex = width < height ? base : base * width / height;
    const double ey = width < height ? base * height / width : base;
    scene.projection.reset();
    scene.projection.perspective(static_cast<float>(ex), static_cast<float>(ey), 0.1f, 100);
    scene.projection.updateInverse();
    scene.modelview.reset();
    scene.modelview.translate(0, 0, -3);
    scene.modelview.translate(0, 0, static_cast<float>(zoom * 0.25));
    scene.modelview.rotateX(tilt);
    scene.modelview.rotateZ(spin);
    scene.modelview.updateInverse();
}

StartupScene::StartupScene() {
    initScene(scene);
    buildPyramids(scene);
    setupView(scene, startSpin, startTilt, startZoom);
}

FrameResult captureFrame(const FrameBuffer& frame, const MemoryImage& image) {
    const size_t pixels = static_cast<size_t>(frame.width()) * static_cast<size_t>(frame.height());
    return {image.rgb(), std::vector<float>(frame.depth(), frame.depth() + pixels), frame.stats};
}

FrameResult renderFrame(const Scene& scene, int width, int height) {
    FrameBuffer frame;
    MemoryImage image(width, height);
    prepareFrame(frame, width, height, &image);
    drawObjects(scene, frame);
    return captureFrame(frame, image);
}

bool sameBits(float a, float b) {
    if (std::isnan(a) && std::isnan(b)) return true;
    std::uint32_t x, y;
    std::memcpy(&x, &a, sizeof x);
    std::memcpy(&y, &b, sizeof y);
    return x == y;
}

namespace {

std::string firstDifference(const char* what, const std::vector<float>& a, const std::vector<float>& b) {
    if (a.size() != b.size()) return std::string(what) + " sizes differ";
    for (size_t i = 0; i < a.size(); ++i)
        if (!sameBits(a[i], b[i])) {
            char text[160];
            std::snprintf(text, sizeof text, "%s element %zu differs: %.9g (%a) vs %.9g (%a)", what, i, a[i], a[i],
                          b[i], b[i]);
            return text;
        }
    return {};
}

} // namespace

std::string bitDifference(const FrameResult& a, const FrameResult& b) {
    if (a.stats != b.stats)
        return "counters differ: spans " + std::to_string(a.stats.spans) + " vs " + std::to_string(b.stats.spans) +
               ", shaded " + std::to_string(a.stats.fragmentsShaded) + " vs " +
               std::to_string(b.stats.fragmentsShaded) + ", plotted " + std::to_string(a.stats.fragmentsPlotted) +
               " vs " + std::to_string(b.stats.fragmentsPlotted);
    if (std::string d = firstDifference("depth", a.depth, b.depth); !d.empty()) return d;
    return firstDifference("colour", a.rgb, b.rgb);
}

std::vector<std::int64_t> simdTargets() {
    std::vector<std::int64_t> targets = hwy::SupportedAndGeneratedTargets();
    std::reverse(targets.begin(), targets.end());
    return targets;
}

TargetChoice::TargetChoice(std::int64_t target) { hwy::SetSupportedTargetsForTest(target); }
TargetChoice::~TargetChoice() { hwy::SetSupportedTargetsForTest(0); }

std::string targetName(std::int64_t target) { return hwy::TargetName(target); }

std::string writeDiffPicture(const std::string& name, const MemoryImage& image, const std::vector<bool>& marked) {
    const std::string path = (std::filesystem::current_path() / (name + ".ppm")).string();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return "(could not write " + path + ")";
    std::fprintf(f, "P6\n%d %d\n255\n", image.width(), image.height());
    // PPM rows run top to bottom; the frame's run bottom to top.
    for (int y = image.height() - 1; y >= 0; --y)
        for (int x = 0; x < image.width(); ++x) {
            const Color c = image.at(x, y);
            const bool mark = marked[static_cast<size_t>(y) * image.width() + x];
            const float rgb[3] = {mark ? 1.0f : c.r, mark ? 0.0f : c.g, mark ? 0.0f : c.b};
            for (float v : rgb) std::fputc(static_cast<int>(std::clamp(v, 0.0f, 1.0f) * 255 + 0.5f), f);
        }
    std::fclose(f);
    return path;
}

} // namespace rv
