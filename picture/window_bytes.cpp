#include "picture/window_bytes.h"

#include <cmath>

namespace rv {

std::uint8_t windowByte(float channel) {
    if (std::isnan(channel)) return 255;
    const float clamped = channel < 0 ? 0.0f : channel > 1 ? 1.0f : channel;
    // Stored as a float before rounding: the product's own rounding decides the
    // near-ties. Exact ties go to the even byte, as the default rounding mode does.
    const float scaled = clamped * 255.0f;
    return static_cast<std::uint8_t>(std::nearbyint(scaled));
}

RgbImage8 windowPicture(const MemoryImage& image) {
    RgbImage8 picture(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y) {
        const int fromTop = image.height() - 1 - y;
        for (int x = 0; x < image.width(); ++x) {
            const Color c = image.at(x, y);
            std::uint8_t* p = picture.pixel(x, fromTop);
            p[0] = windowByte(c.r);
            p[1] = windowByte(c.g);
            p[2] = windowByte(c.b);
        }
    }
    return picture;
}

} // namespace rv
