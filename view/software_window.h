#pragma once

#include <cstdint>
#include <vector>

#include "picture/difference.h"
#include "raster/band_renderer.h"
#include "raster/frame_buffer.h"
#include "scene/scene.h"
#include "view/gl_point_sink.h"
#include "view/presentation.h"

namespace rv {

// The software frame on its way into the window: the threads that draw it and
// how the thread that owns the GL context, the only one that calls GL, shows it.
class SoftwareWindow {
public:
    // 1 <= threads <= maxThreads.
    SoftwareWindow(int threads, Presentation presentation);

    // Draws the scene at width x height into the current GL context, whose
    // frame drawFrame has set up. Every thread count and presentation shows the
    // same pixels.
    void draw(const Scene& scene, FrameBuffer& frame, int width, int height);

    // Whether draw() sets every pixel of the window, background included.
    bool setsEveryPixel() const { return presentation == Presentation::image; }

    // Draws the frame into memory alone, with the same threads and no GL call,
    // and returns it as the window would show it (softwareSnapshot).
    Snapshot drawInMemory(const Scene& scene, FrameBuffer& frame, int width, int height);

    // Shows a picture of the whole width x height frame, top row first, in one
    // pixel transfer, as the image presentation shows the software frame.
    void present(const RgbImage8& picture);

private:
    BandRenderer renderer;
    Presentation presentation;
    GlPointSink points;
    // The frame as the window's bytes, bottom row first, for one pixel transfer.
    std::vector<std::uint8_t> bytes;

    // `bytes` into the window from its lower-left corner.
    void presentBytes(int width, int height);
};

} // namespace rv
