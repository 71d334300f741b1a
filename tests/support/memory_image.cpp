#include "tests/support/memory_image.h"

#include <cstdio>
#include <cstdlib>

#include "picture/window_bytes.h"

namespace rv {

namespace {

[[noreturn]] void fail(const char* what, int x, int y, int w, int h) {
    std::fprintf(stderr, "MemoryImage: %s at (%d, %d) in a %d x %d frame\n", what, x, y, w, h);
    std::abort();
}

} // namespace

MemoryImage::MemoryImage(int width, int height, const Color& background)
    : w(width < 0 ? 0 : width), h(height < 0 ? 0 : height), pixels(static_cast<size_t>(w) * h * 3) {
    fill(background);
}

void MemoryImage::fill(const Color& background) {
    for (size_t i = 0; i < pixels.size(); i += 3) {
        pixels[i] = background.r;
        pixels[i + 1] = background.g;
        pixels[i + 2] = background.b;
    }
}

void MemoryImage::beginSpan() {
    if (inSpan) fail("nested span bracket", -1, -1, w, h);
    inSpan = true;
    ++spansOpened;
}

void MemoryImage::endSpan() {
    if (!inSpan) fail("span closed without being opened", -1, -1, w, h);
    inSpan = false;
}

void MemoryImage::plot(int x, int y, const Color& color) {
    if (x < 0 || y < 0 || x >= w || y >= h) fail("write outside the frame", x, y, w, h);
    if (!inSpan) fail("point outside a span bracket", x, y, w, h);
    float* p = &pixels[(static_cast<size_t>(y) * w + x) * 3];
    p[0] = color.r;
    p[1] = color.g;
    p[2] = color.b;
    ++pointsPlotted;
}

Color MemoryImage::at(int x, int y) const {
    const float* p = &pixels[(static_cast<size_t>(y) * w + x) * 3];
    return {p[0], p[1], p[2], 1};
}

RgbImage8 windowPicture(const MemoryImage& image) {
    return windowPicture(image.rgb().data(), image.width(), image.height());
}

} // namespace rv
