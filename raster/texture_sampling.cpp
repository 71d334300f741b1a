#include "raster/texture_sampling.h"

#include <cmath>

#include "raster/level_log.h"
#include "raster/mip_pyramid.h"
#include "raster/pixel_index.h"
#include "scene/texture.h"

namespace rv {

namespace {

// -0 and NaN become +0 along with the negatives, so every index below is defined.
float clampUnit(float v) {
    if (!(v > 0)) return 0;
    if (v > 1) return 1;
    return v;
}

// Floor and ceiling of a value known to lie in [0, 2^31), where truncation is the
// floor; cheaper than the general library sequence on every lookup.
struct Bracket {
    float below;
    float above;
};
Bracket bracketOf(float v) {
    const float below = static_cast<float>(static_cast<int>(v));
    return {below, below < v ? below + 1 : below};
}

Color colorAt(const float* texel) { return {texel[0], texel[1], texel[2], 1}; }

} // namespace

Color sampleTexture(const Vector3& texOverW, float dsdx, float dtdx, float dsdy, float dtdy, const Texture& texture,
                    bool mipmapping, float* lodUsed) {
    const float q = texOverW.z;
    const float s = texOverW.x / q;
    const float t = texOverW.y / q;
    if (!mipmapping) {
        if (lodUsed) *lodUsed = lodMipmappingOff;
        return sampleTrilinear(*texture.pyramid, 0, s, t);
    }

    const float texels = static_cast<float>(texture.width * texture.height);
    // Steps of s/w and t/w over 1/w stand for the steps of s and t.
    const float sx = dsdx / q;
    const float tx = dtdx / q;
    const float sy = dsdy / q;
    const float ty = dtdy / q;
    const float area = std::fabs(texels * sx * ty - texels * tx * sy);
    // A footprint of one texel or less (or none at all) gives a level of detail of at
    // most 0, or NaN: the nearest texel either way, so the logarithm can be skipped.
    if (!(area > 1)) {
        if (lodUsed) *lodUsed = 0;
        return sampleNearest(*texture.pyramid, s, t);
    }
    // Both logarithms are rounded to float before the division.
    const float lnArea = levelLog(area);
    const float ln2 = static_cast<float>(std::log(2.0));
    const float levelOfDetail = lnArea / ln2 * 0.5f;
    return sampleTrilinear(*texture.pyramid, levelOfDetail, s, t, lodUsed);
}

Color sampleTrilinear(const MipPyramid& pyramid, float lod, float s, float t, float* lodUsed) {
    if (lodUsed) *lodUsed = 0;
    // Magnification, and a zero footprint whose logarithm is -inf, end here.
    if (lod < 0) lod = 0;
    if (lod == 0) return sampleNearest(pyramid, s, t);
    if (lod > 0 && lod <= static_cast<float>(pyramid.levelCount)) {
        if (lodUsed) *lodUsed = lod;
        const Bracket levels = bracketOf(lod);
        const Color a = sampleBilinear(pyramid, static_cast<int>(levels.below), s, t);
        const Color b = sampleBilinear(pyramid, static_cast<int>(levels.above), s, t);
        if (a == b) return a;
        const float f = lod - levels.below;
        return (1 - f) * a + f * b;
    }
    if (lod > static_cast<float>(pyramid.levelCount))
        return sampleTrilinear(pyramid, static_cast<float>(pyramid.levelCount - 1), s, t, lodUsed);
    return sampleNearest(pyramid, s, t);
}

Color sampleBilinear(const MipPyramid& pyramid, int level, float s, float t) {
    const Texture& source = *pyramid.source;
    const float* base = nullptr;
    int w = source.width;
    int h = source.height;
    if (level > 0) {
        const MipLevel& reduced = pyramid.levels[static_cast<size_t>(level) - 1];
        base = pyramid.storage.get() + reduced.offset;
        w = reduced.width;
        h = reduced.height;
    }
    auto texel = [&](float i, float j) {
        const int col = static_cast<int>(i);
        const int row = static_cast<int>(j);
        if (!base) return colorAt(source.texel(col, row, 0));
        return colorAt(base + (static_cast<long>(row) * w + col) * source.channels);
    };

    s = clampUnit(s);
    t = clampUnit(t);
    const float x = static_cast<float>(w - 1) * s;
    const float y = static_cast<float>(h - 1) * t;
    const auto [x0, xc] = bracketOf(x);
    const auto [y0, yc] = bracketOf(y);
    const Color t00 = texel(x0, y0);
    const Color t10 = texel(xc, y0);
    const Color t01 = texel(x0, yc);
    const Color t11 = texel(xc, yc);
    const float fx = x - x0;
    const float fy = y - y0;
    return t00 * ((1 - fx) * (1 - fy)) + t01 * ((1 - fx) * fy) + t10 * (fx * (1 - fy)) + t11 * (fx * fy);
}

Color sampleNearest(const MipPyramid& pyramid, float s, float t) {
    const Texture& source = *pyramid.source;
    const float xs = static_cast<float>(source.width - 1) * s;
    const float ys = static_cast<float>(source.height - 1) * t;
    int x = truncateToIndex(static_cast<double>(xs) + 0.5);
    int y = truncateToIndex(static_cast<double>(ys) + 0.5);
    if (x < 0 || x >= source.width) x = 0;
    if (y < 0 || y >= source.height) y = 0;
    return colorAt(source.texel(x, y, 0));
}

} // namespace rv
