#pragma once

#include <vector>

#include "picture/rgb_image.h"
#include "raster/pixel_sink.h"

namespace rv {

// An RGB float image of the frame size, bottom row first. Any write outside it
// aborts the process: a rasterizer bug must not pass silently as a clipped pixel.
class MemoryImage : public PixelSink {
public:
    MemoryImage(int width, int height, const Color& background = {1, 1, 1, 1});

    void fill(const Color& background);
    void beginSpan() override;
    void endSpan() override;
    void plot(int x, int y, const Color& color) override;

    Color at(int x, int y) const;
    int width() const { return w; }
    int height() const { return h; }
    const std::vector<float>& rgb() const { return pixels; }

    // Bookkeeping for tests: brackets opened and points received in total.
    long spansOpened = 0;
    long pointsPlotted = 0;

private:
    int w, h;
    std::vector<float> pixels;
    bool inSpan = false;
};

// The image as the viewer's window shows it (windowPicture of its colours).
RgbImage8 windowPicture(const MemoryImage& image);

} // namespace rv
