#include "tools/rastershot/software_shot.h"

#include "app/camera.h"
#include "app/software_path.h"
#include "picture/window_bytes.h"
#include "raster/memory_image.h"

namespace rv {

SoftwareShot shootSoftware(Scene& scene, FrameBuffer& frame, const ShotOptions& o) {
    MemoryImage image(o.width, o.height);
    SoftwareShot shot;
    // White once, not per frame: every frame plots the same pixels, and the
    // timings are then the camera and the rasterizer alone.
    shot.times = timeFrames(o.frames, [&] {
        setupCamera(scene, o.view, o.width, o.height);
        frame.output = &image;
        renderSoftware(scene, frame, o.width, o.height);
    });
    frame.output = nullptr;
    shot.counts = frame.stats;
    shot.snapshot = {windowPicture(image), coverage(frame)};
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
