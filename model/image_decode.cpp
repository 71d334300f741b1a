#include "model/image_decode.h"

#include <climits>
#include <memory>

#include <stb/stb_image.h>

namespace rv {

namespace {

struct StbFree {
    void operator()(stbi_uc* p) const { stbi_image_free(p); }
};

// stb_image hands rows top first; texture row 0 is the bottom row (t = 0).
ImportedImage fromDecoded(std::unique_ptr<stbi_uc, StbFree> pixels, int width, int height, int channels) {
    ImportedImage image;
    if (!pixels) {
        const char* why = stbi_failure_reason();
        image.problem = why ? why : "cannot decode";
        return image;
    }
    image.width = width;
    image.height = height;
    image.channels = channels;
    const std::size_t row = static_cast<std::size_t>(width) * channels;
    image.bytes.resize(row * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const stbi_uc* from = pixels.get() + row * static_cast<std::size_t>(height - 1 - y);
        std::copy(from, from + row, image.bytes.begin() + static_cast<std::ptrdiff_t>(row * y));
    }
    return image;
}

} // namespace

ImportedImage decodeImageFile(const std::string& path, int channels) {
    int w = 0, h = 0, n = 0;
    std::unique_ptr<stbi_uc, StbFree> pixels(stbi_load(path.c_str(), &w, &h, &n, channels));
    return fromDecoded(std::move(pixels), w, h, channels);
}

ImportedImage decodeImageMemory(const std::uint8_t* data, std::size_t size, int channels) {
    if (size > INT_MAX) {
        ImportedImage image;
        image.problem = "embedded image too large";
        return image;
    }
    int w = 0, h = 0, n = 0;
    std::unique_ptr<stbi_uc, StbFree> pixels(
        stbi_load_from_memory(data, static_cast<int>(size), &w, &h, &n, channels));
    return fromDecoded(std::move(pixels), w, h, channels);
}

ImportedImage convertBgraImage(const std::uint8_t* texels, int width, int height, int channels) {
    ImportedImage image;
    image.width = width;
    image.height = height;
    image.channels = channels;
    image.bytes.resize(static_cast<std::size_t>(width) * height * channels);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = texels + (static_cast<std::size_t>(height - 1 - y) * width + x) * 4;
            std::uint8_t* q = &image.bytes[(static_cast<std::size_t>(y) * width + x) * channels];
            if (channels == 3) {
                q[0] = p[2];
                q[1] = p[1];
                q[2] = p[0];
            } else {
                // The luma weights stb_image uses for grey.
                q[0] = static_cast<std::uint8_t>((p[2] * 77 + p[1] * 150 + p[0] * 29) >> 8);
            }
        }
    return image;
}

} // namespace rv
