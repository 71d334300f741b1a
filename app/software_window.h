#pragma once

#include <cstdint>
#include <vector>

#include "app/gl_point_sink.h"
#include "app/viewer_options.h"
#include "raster/band_renderer.h"
#include "raster/frame_buffer.h"
#include "scene/scene.h"

namespace rv {

// The software frame on its way into the window: the threads that draw it and
// how the thread that owns the GL context, the only one that calls GL, shows it.
class SoftwareWindow {
public:
    explicit SoftwareWindow(const ViewerOptions& options);

    // Draws the scene at width x height into the current GL context, whose
    // frame drawFrame has set up. Every thread count and presentation shows the
    // same pixels.
    void draw(const Scene& scene, FrameBuffer& frame, int width, int height);

    // Whether draw() sets every pixel of the window, background included.
    bool setsEveryPixel() const { return presentation == Presentation::image; }

private:
    BandRenderer renderer;
    Presentation presentation;
    GlPointSink points;
    // The frame as the window's bytes, bottom row first, for one pixel transfer.
    std::vector<std::uint8_t> bytes;
};

} // namespace rv
