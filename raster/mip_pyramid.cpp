#include "raster/mip_pyramid.h"

#include "scene/scene.h"

namespace rv {

int halveLevel(const float* src, int a, int b, int ch, float* dst) {
    if (a <= 1 || b <= 1) return 0;
    const int d = a / 2;
    const int e = b / 2;
    auto at = [&](int i, int k, int j) { return src[(static_cast<long>(k) * a + i) * ch + j]; };
    for (int x = 0; x < d; ++x)
        for (int y = 0; y < e; ++y)
            for (int j = 0; j < ch; ++j) {
                const float sum = (((0.0f + at(2 * x, 2 * y, j)) + at(2 * x + 1, 2 * y, j)) + at(2 * x, 2 * y + 1, j)) +
                                  at(2 * x + 1, 2 * y + 1, j);
                dst[(static_cast<long>(y) * d + x) * ch + j] = sum * 0.25f;
            }
    // The next level starts after this one's spare row.
    return halveLevel(dst, d, e, ch, dst + static_cast<long>(ch) * d * (e + 1)) + 1;
}

std::unique_ptr<MipPyramid> buildPyramid(const Texture& texture) {
    auto pyramid = std::make_unique<MipPyramid>();
    pyramid->source = &texture;
    long size = 0;
    for (int w = texture.width, h = texture.height; w > 1 && h > 1;) {
        w /= 2;
        h /= 2;
        pyramid->levels.push_back({size, w, h});
        size += static_cast<long>(texture.channels) * w * (h + 1);
    }
    pyramid->storage.reset(new float[static_cast<size_t>(size)]);
    pyramid->levelCount =
        halveLevel(texture.texels.get(), texture.width, texture.height, texture.channels, pyramid->storage.get());
    return pyramid;
}

void buildPyramids(Scene& scene) {
    for (SceneObject& object : scene.objects)
        if (object.colorTexture && !object.colorTexture->pyramid)
            object.colorTexture->pyramid = buildPyramid(*object.colorTexture);
}

} // namespace rv
