#include <vector>

#include <gtest/gtest.h>

#include "model/texture_resample.h"

namespace rv {

namespace {

ImportedImage image(int w, int h, int ch, std::vector<std::uint8_t> bytes) {
    ImportedImage im;
    im.width = w;
    im.height = h;
    im.channels = ch;
    im.bytes = std::move(bytes);
    return im;
}

ImportedImage ramp(int w, int h) {
    std::vector<std::uint8_t> bytes;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) bytes.push_back(static_cast<std::uint8_t>((x * 7 + y * 13) % 256));
    return image(w, h, 1, bytes);
}

TEST(TextureResample, StoredSideIsTheNextPowerOfTwoUpTo2048) {
    const int cases[][2] = {{1, 1}, {2, 2}, {3, 4}, {255, 256}, {256, 256}, {257, 512}, {2048, 2048}, {2049, 2048},
                            {16384, 2048}};
    for (const auto& c : cases) EXPECT_EQ(storedSide(c[0]), c[1]) << c[0];
}

TEST(TextureResample, PowerOfTwoImageIsCopiedExactly) {
    Texture t;
    resampleImage(image(2, 2, 3, {0, 51, 255, 1, 2, 3, 4, 5, 6, 7, 8, 9}), t);
    ASSERT_EQ(t.width, 2);
    ASSERT_EQ(t.channels, 3);
    EXPECT_EQ(*t.texel(0, 0, 1), 0.2f);
    EXPECT_EQ(*t.texel(0, 0, 2), 1.0f);
    EXPECT_EQ(*t.texel(1, 1, 2), static_cast<float>(9 / 255.0));
}

TEST(TextureResample, EnlargementInterpolatesBetweenTexelCentres) {
    // 3 texels onto 4: centres of the targets fall at -0.125, 0.625, 1.375, 2.125 source texels.
    Texture t;
    resampleImage(image(3, 1, 1, {0, 255, 51}), t);
    ASSERT_EQ(t.width, 4);
    ASSERT_EQ(t.height, 1);
    const double expected[] = {0, 0.625, 1 - 0.375 * 0.8, 0.2};
    for (int x = 0; x < 4; ++x) EXPECT_FLOAT_EQ(*t.texel(x, 0, 0), static_cast<float>(expected[x])) << x;
}

TEST(TextureResample, HalvingAveragesPairsAndReductionKeepsAFlatImageFlat) {
    Texture halved;
    resampleImage(ramp(4096, 2), halved);
    ASSERT_EQ(halved.width, 2048);
    const ImportedImage source = ramp(4096, 2);
    for (int x : {0, 1, 1000, 2047})
        EXPECT_FLOAT_EQ(*halved.texel(x, 1, 0),
                        static_cast<float>((source.bytes[4096 + 2 * x] + source.bytes[4096 + 2 * x + 1]) / 2.0 / 255.0));

    // 3000 onto 2048: overlapping footprints whose weights must still sum to one.
    Texture flat;
    resampleImage(image(3000, 1, 1, std::vector<std::uint8_t>(3000, 200)), flat);
    ASSERT_EQ(flat.width, 2048);
    for (int x = 0; x < 2048; ++x) ASSERT_FLOAT_EQ(*flat.texel(x, 0, 0), static_cast<float>(200 / 255.0)) << x;
}

} // namespace

} // namespace rv
