#include "picture/difference.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace rv {

namespace {

void put(std::uint8_t* p, int r, int g, int b) {
    p[0] = static_cast<std::uint8_t>(r);
    p[1] = static_cast<std::uint8_t>(g);
    p[2] = static_cast<std::uint8_t>(b);
}

// Keeps the picture's shapes visible without competing with the colours.
void putDimmed(std::uint8_t* out, const std::uint8_t* in) {
    const int luma = (299 * in[0] + 587 * in[1] + 114 * in[2]) / 1000;
    const int grey = 96 + luma / 2;
    put(out, grey, grey, grey);
}

// Yellow for a difference of 1, dark red for 255; the square root spreads the
// small differences, which are the common ones, over more of the ramp.
void putDifference(std::uint8_t* out, int difference) {
    const double t = std::sqrt((difference - 1) / 254.0);
    using namespace rv::difference;
    put(out, static_cast<int>(smallest[0] - (smallest[0] - largest[0]) * t), static_cast<int>(smallest[1] * (1 - t)), 0);
}

// The ramp for every difference, worked out once: a square root per pixel
// cost the viewer's difference view a millisecond on a window full of it.
struct DifferenceRamp {
    std::uint8_t colour[256][3] = {};
    DifferenceRamp() {
        for (int d = 1; d < 256; ++d) putDifference(colour[d], d);
    }
};

int largestChannelDifference(const std::uint8_t* a, const std::uint8_t* b) {
    return std::max({std::abs(a[0] - b[0]), std::abs(a[1] - b[1]), std::abs(a[2] - b[2])});
}

} // namespace

RgbImage8 differenceImage(const Snapshot& software, const Snapshot& opengl, DifferenceCounts& counts) {
    static const DifferenceRamp ramp;
    // Counted in locals: bytes written through a pointer may alias anything, so
    // counters in `counts` would be reloaded and stored at every pixel.
    DifferenceCounts c;
    const int w = software.picture.width, h = software.picture.height;
    RgbImage8 out(w, h);
    long sum = 0;
    const size_t pixels = static_cast<size_t>(w) * static_cast<size_t>(h);
    const std::uint8_t* s = software.picture.rgb.data();
    const std::uint8_t* g = opengl.picture.rgb.data();
    std::uint8_t* p = out.rgb.data();
    for (size_t i = 0; i < pixels; ++i, s += 3, g += 3, p += 3) {
        const bool bySoftware = software.covered[i], byOpenGL = opengl.covered[i];
        if (bySoftware && byOpenGL) {
            ++c.both;
            const int d = largestChannelDifference(s, g);
            sum += d;
            c.largest = std::max(c.largest, d);
            if (d == 0) {
                ++c.equal;
                putDimmed(p, s);
            } else {
                std::copy_n(ramp.colour[d], 3, p);
            }
        } else if (bySoftware) {
            ++c.softwareOnly;
            std::copy_n(difference::softwareOnly, 3, p);
        } else if (byOpenGL) {
            ++c.openglOnly;
            std::copy_n(difference::openglOnly, 3, p);
        } else {
            // Background, with the caption's pixels as background too: it is not the scene.
            putDimmed(p, s);
        }
    }
    if (c.both) c.mean = static_cast<double>(sum) / c.both;
    counts = c;
    return out;
}

std::string describe(const DifferenceCounts& c) {
    char line[256];
    std::snprintf(line, sizeof line,
                  "difference: %ld pixels drawn by both (%ld equal, %ld differ; largest channel difference %d/255, "
                  "mean %.2f/255), %ld by software only, %ld by OpenGL only",
                  c.both, c.equal, c.both - c.equal, c.largest, c.mean, c.softwareOnly, c.openglOnly);
    return line;
}

PictureComparison comparePictures(const RgbImage8& a, const RgbImage8& b) {
    PictureComparison c;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) {
            const int d = largestChannelDifference(a.pixel(x, y), b.pixel(x, y));
            c.differing += d > 0;
            c.largest = std::max(c.largest, d);
        }
    return c;
}

} // namespace rv
