#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "model/model_data.h"

namespace rv {

// Decodes PNG, JPEG, TGA or BMP into `channels` (3 colour, 1 grey) 8-bit
// channels, bottom row first. On failure `problem` says why and no texels are kept.
ImportedImage decodeImageFile(const std::string& path, int channels);
ImportedImage decodeImageMemory(const std::uint8_t* data, std::size_t size, int channels);

// An uncompressed embedded image: `texels` holds width x height blue, green,
// red, alpha bytes, top row first.
ImportedImage convertBgraImage(const std::uint8_t* texels, int width, int height, int channels);

} // namespace rv
