#include "picture/png_file.h"

#include <png.h>

namespace rv {

namespace {

bool fail(std::string* error, const std::string& reason) {
    if (error) *error = reason;
    return false;
}

} // namespace

bool writePng(const std::string& path, const RgbImage8& image, std::string* error) {
    if (image.width <= 0 || image.height <= 0 || image.rgb.size() != static_cast<size_t>(image.width) * image.height * 3)
        return fail(error, "image is empty or its pixel array does not match its size");
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = PNG_FORMAT_RGB;
    if (!png_image_write_to_file(&png, path.c_str(), 0, image.rgb.data(), 0, nullptr))
        return fail(error, path + ": " + png.message);
    return true;
}

std::optional<RgbImage8> readPng(const std::string& path, std::string* error) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) {
        fail(error, path + ": " + png.message);
        return std::nullopt;
    }
    // A hostile header must not make us allocate gigabytes or overflow int.
    if (png.width == 0 || png.height == 0 || png.width > 1u << 15 || png.height > 1u << 15) {
        fail(error, path + ": unsupported size " + std::to_string(png.width) + " x " + std::to_string(png.height));
        png_image_free(&png);
        return std::nullopt;
    }
    png.format = PNG_FORMAT_RGB;
    RgbImage8 image(static_cast<int>(png.width), static_cast<int>(png.height));
    if (!png_image_finish_read(&png, nullptr, image.rgb.data(), 0, nullptr)) {
        fail(error, path + ": " + png.message);
        png_image_free(&png);
        return std::nullopt;
    }
    return image;
}

} // namespace rv
