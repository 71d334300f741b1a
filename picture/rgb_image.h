#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rv {

// An 8-bit RGB picture, top row first, as screenshots and image files store it.
struct RgbImage8 {
    int width = 0;
    int height = 0;
    // width * height * 3 bytes, row after row from the top.
    std::vector<std::uint8_t> rgb;

    RgbImage8() = default;
    RgbImage8(int w, int h) : width(w), height(h), rgb(static_cast<size_t>(w) * h * 3) {}

    const std::uint8_t* pixel(int x, int yFromTop) const { return &rgb[(static_cast<size_t>(yFromTop) * width + x) * 3]; }
    std::uint8_t* pixel(int x, int yFromTop) { return &rgb[(static_cast<size_t>(yFromTop) * width + x) * 3]; }

    friend bool operator==(const RgbImage8&, const RgbImage8&) = default;
};

} // namespace rv
