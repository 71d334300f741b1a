#include "app/software_path.h"

#include "raster/draw_objects.h"
#include "raster/mip_pyramid.h"

namespace rv {

void prepareRendering(Scene& scene, FrameBuffer& frame) {
    frame.reset();
    buildPyramids(scene);
}

void renderSoftware(const Scene& scene, FrameBuffer& frame, int width, int height) {
    frame.resize(width, height);
    frame.clear();
    drawObjects(scene, frame);
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

} // namespace rv
