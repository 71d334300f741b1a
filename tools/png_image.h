#pragma once

#include <cstdint>
#include <optional>
#include <string>
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

// Writes an 8-bit RGB PNG. Returns false, with a reason in `error` when given,
// if the image is empty or inconsistent or the file cannot be written.
bool writePng(const std::string& path, const RgbImage8& image, std::string* error = nullptr);

// Reads any PNG, converted to 8-bit RGB (alpha composited onto black).
// Returns nothing, with a reason in `error` when given, if the file is missing or not a PNG.
std::optional<RgbImage8> readPng(const std::string& path, std::string* error = nullptr);

} // namespace rv
