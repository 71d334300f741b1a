#pragma once

#include "math/color.h"

namespace rv {

// Where fragments that pass the depth test go: GL points in the window, or an
// in-memory image for tests, tools and benchmarks. Chosen at run time.
class PixelSink {
public:
    virtual ~PixelSink() = default;
    // Brackets one span's points (glBegin(GL_POINTS) / glEnd() in the window).
    virtual void beginSpan() = 0;
    virtual void endSpan() = 0;
    // One pixel at column x, row y (row 0 at the bottom); alpha is ignored.
    virtual void plot(int x, int y, const Color& color) = 0;
};

} // namespace rv
