#include "tools/rastershot/software_shot.h"

#include "app/camera.h"
#include "app/software_path.h"
#include "picture/window_bytes.h"
#include "raster/memory_image.h"

namespace rv {

SoftwareShot shootSoftware(Scene& scene, FrameBuffer& frame, const ShotOptions& o) {
    BandRenderer renderer(o.threads);
    frame.keepColors();
    if (!o.show.empty()) frame.keepRecords();
    frame.output = nullptr;
    SoftwareShot shot;
    shot.times = timeFrames(o.frames, [&] {
        setupCamera(scene, o.view, o.width, o.height);
        renderSoftware(scene, frame, renderer, o.width, o.height);
    });
    shot.counts = frame.stats;
    MemoryImage image(o.width, o.height);
    sendCoveredPixels(frame, image);
    shot.snapshot = {windowPicture(image), coverage(frame)};
    constexpr float white[3] = {1, 1, 1};
    for (const InspectView view : o.show) {
        const std::vector<float> colours =
            falseColours(view, {frame.width(), frame.height(), frame.depth(), frame.records()}, white);
        shot.views.push_back(windowPicture(colours.data(), frame.width(), frame.height()));
    }
    return shot;
}

std::vector<std::uint8_t> coverage(const FrameBuffer& frame) {
    const int w = frame.width(), h = frame.height();
    std::vector<std::uint8_t> covered(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        const float* row = &frame.depth()[static_cast<size_t>(y) * w];
        std::uint8_t* out = &covered[static_cast<size_t>(h - 1 - y) * w];
        for (int x = 0; x < w; ++x) out[x] = row[x] != FrameBuffer::empty;
    }
    return covered;
}

} // namespace rv
