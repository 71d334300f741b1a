#include "picture/window_bytes.h"

#include <cmath>

namespace rv {

std::uint8_t windowByte(float channel) {
    if (!(channel > 0)) return std::isnan(channel) ? 255 : 0;
    if (channel >= 1) return 255;
    // Stored as a float before rounding: the product's own rounding decides the
    // near-ties. Exact ties go to the even byte, as the default rounding mode does.
    const float scaled = channel * 255.0f;
    // Adding 2^23 leaves no fraction bits, so the float addition itself rounds
    // to the nearest integer, ties to even: nearbyint's result without its
    // library call, which made converting a frame cost milliseconds.
    constexpr float noFraction = 0x1p23f;
    return static_cast<std::uint8_t>((scaled + noFraction) - noFraction);
}

RgbImage8 windowPicture(const float* rgbBottomRowFirst, int width, int height) {
    RgbImage8 picture(width, height);
    toWindowPicture(rgbBottomRowFirst, {0, height}, picture);
    return picture;
}

void toWindowPicture(const float* rgbBottomRowFirst, RowRange rows, RgbImage8& picture) {
    const size_t rowLength = static_cast<size_t>(picture.width) * 3;
    for (int y = rows.begin; y < rows.end; ++y) {
        const float* in = rgbBottomRowFirst + static_cast<size_t>(y) * rowLength;
        std::uint8_t* out = picture.rgb.data() + static_cast<size_t>(picture.height - 1 - y) * rowLength;
        for (size_t i = 0; i < rowLength; ++i) out[i] = windowByte(in[i]);
    }
}

RgbImage8 windowPicture(const MemoryImage& image) {
    return windowPicture(image.rgb().data(), image.width(), image.height());
}

} // namespace rv
