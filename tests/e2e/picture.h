#pragma once

#include <algorithm>
#include <cstdint>

#include "picture/rgb_image.h"

namespace rv {

// Reading the viewer's picture the way a person judges it. Rows count from the
// top, as on the screen; `glRow` converts to the window's own bottom-up rows.

inline bool isWhite(const std::uint8_t* p) { return p[0] == 255 && p[1] == 255 && p[2] == 255; }
// Caption text; the square's darkest edge texels stay well above this.
inline bool isDark(const std::uint8_t* p) { return p[0] < 40 && p[1] < 40 && p[2] < 40; }
// Anything of the square: neither background nor caption.
inline bool isSquare(const std::uint8_t* p) { return !isWhite(p) && !isDark(p); }

// Within `tolerance` of a colour given in [0, 1] per channel.
inline bool near(const std::uint8_t* p, double r, double g, double b, double tolerance) {
    auto close = [&](std::uint8_t v, double want) { return v / 255.0 - want <= tolerance && want - v / 255.0 <= tolerance; };
    return close(p[0], r) && close(p[1], g) && close(p[2], b);
}

inline int glRow(const RgbImage8& image, int rowFromTop) { return image.height - 1 - rowFromTop; }

// Inclusive pixel bounds; empty while left > right.
struct PixelBox {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;

    bool empty() const { return left > right; }
    bool contains(int x, int y) const { return left <= x && x <= right && top <= y && y <= bottom; }
    double centreX() const { return (left + right) / 2.0; }
    double centreY() const { return (top + bottom) / 2.0; }
};

struct Census {
    long count = 0;
    PixelBox bounds;
    // Mean position of the counted pixels.
    double meanX = 0, meanY = 0;
};

template <class Pred>
Census census(const RgbImage8& image, Pred pred) {
    Census c;
    double sumX = 0, sumY = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            if (!pred(image.pixel(x, y))) continue;
            ++c.count;
            sumX += x;
            sumY += y;
            c.bounds.left = std::min(c.bounds.left, x);
            c.bounds.right = std::max(c.bounds.right, x);
            c.bounds.top = std::min(c.bounds.top, y);
            c.bounds.bottom = std::max(c.bounds.bottom, y);
        }
    if (c.count) {
        c.meanX = sumX / c.count;
        c.meanY = sumY / c.count;
    }
    return c;
}

// Pixels where one picture has the square and the other has not.
inline long silhouetteDifference(const RgbImage8& a, const RgbImage8& b) {
    long n = 0;
    for (int y = 0; y < a.height && y < b.height; ++y)
        for (int x = 0; x < a.width && x < b.width; ++x) n += isSquare(a.pixel(x, y)) != isSquare(b.pixel(x, y));
    return n;
}

} // namespace rv
