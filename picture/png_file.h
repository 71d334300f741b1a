#pragma once

#include <optional>
#include <string>

#include "picture/rgb_image.h"

namespace rv {

// Writes an 8-bit RGB PNG. Returns false, with a reason in `error` when given,
// if the image is empty or inconsistent or the file cannot be written.
bool writePng(const std::string& path, const RgbImage8& image, std::string* error = nullptr);

// Reads any PNG, converted to 8-bit RGB (alpha composited onto black).
// Returns nothing, with a reason in `error` when given, if the file is missing or not a PNG.
std::optional<RgbImage8> readPng(const std::string& path, std::string* error = nullptr);

} // namespace rv
