#include "view/software_path.h"

#include "picture/window_bytes.h"
#include "raster/mip_pyramid.h"

namespace rv {

void prepareRendering(Scene& scene, FrameBuffer& frame) {
    frame.reset();
    buildPyramids(scene);
}

void renderSoftware(const Scene& scene, FrameBuffer& frame, BandRenderer& renderer, int width, int height,
                    const std::function<void(RowRange)>& afterBand) {
    frame.resize(width, height);
    renderer.draw(scene, frame, afterBand);
}

void sendCoveredPixels(const FrameBuffer& frame, PixelSink& sink) {
    sink.beginSpan();
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            if (frame.depthAt(x, y) != FrameBuffer::empty) sink.plot(x, y, frame.colorAt(x, y));
    sink.endSpan();
}

Snapshot softwareSnapshot(const FrameBuffer& frame) {
    const int w = frame.width(), h = frame.height();
    Snapshot shot{RgbImage8(w, h), std::vector<std::uint8_t>(static_cast<size_t>(w) * static_cast<size_t>(h))};
    toSnapshot(frame, {0, h}, shot);
    return shot;
}

void toSnapshot(const FrameBuffer& frame, RowRange rows, Snapshot& shot) {
    toWindowPicture(frame.colors(), rows, shot.picture);
    const size_t w = static_cast<size_t>(frame.width());
    for (int y = rows.begin; y < rows.end; ++y) {
        const float* depth = frame.depth() + static_cast<size_t>(y) * w;
        std::uint8_t* covered = &shot.covered[static_cast<size_t>(frame.height() - 1 - y) * w];
        for (size_t x = 0; x < w; ++x) covered[x] = depth[x] != FrameBuffer::empty;
    }
}

} // namespace rv
