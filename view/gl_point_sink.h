#pragma once

#include "raster/pixel_sink.h"

namespace rv {

// Sends software fragments to the window as one-pixel GL points, one
// GL_POINTS bracket per span. The only place the software path calls GL; it
// relies on the frame's one-unit-per-pixel projection and on GL depth test,
// lighting and texturing being off, so every point lands unchanged.
class GlPointSink : public PixelSink {
public:
    void beginSpan() override;
    void endSpan() override;
    void plot(int x, int y, const Color& color) override;
};

} // namespace rv
