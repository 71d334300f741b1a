#include <new>

#include <gtest/gtest.h>

#include "scene/texture.h"

namespace rv {

namespace {

struct Texel {
    int x, y;
};

Color rgbAt(const Texture& t, int x, int y) {
    const float* p = t.texel(x, y, 0);
    return {p[0], p[1], p[2], 1};
}

void expectRGB(const Color& actual, const Color& expected, float tolerance) {
    EXPECT_NEAR(actual.r, expected.r, tolerance);
    EXPECT_NEAR(actual.g, expected.g, tolerance);
    EXPECT_NEAR(actual.b, expected.b, tolerance);
}

const Color orange{0.8f, 0.4988f, 0.2f, 1};
const Color beige{0.8f, 0.78f, 0.72f, 1};

// The two 256 x 256 images, made once for the whole suite.
class TextureTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        colors.makeTileColors(256, 256);
        heights.makeTileHeights(256, 256);
    }
    static Texture colors;
    static Texture heights;
};

Texture TextureTest::colors;
Texture TextureTest::heights;

TEST_F(TextureTest, AllocateStoresSizesAndClearsThePyramid) {
    Texture t;
    t.pyramid = std::make_unique<MipPyramid>();
    t.allocate(256, 4, 3);
    EXPECT_EQ(t.width, 256);
    EXPECT_EQ(t.height, 4);
    EXPECT_EQ(t.channels, 3);
    EXPECT_EQ(t.pyramid, nullptr);
    ASSERT_NE(t.texels, nullptr);
}

TEST_F(TextureTest, TexelAddressesRowMajorChannels) {
    Texture t;
    t.allocate(256, 4, 3);
    struct Case {
        int x, y, k;
        long offset;
    };
    const Case cases[] = {{0, 0, 0, 0}, {0, 0, 2, 2}, {1, 0, 0, 3}, {0, 1, 0, 768}, {255, 3, 2, (3 * 256 + 255) * 3 + 2}};
    for (const Case& c : cases) EXPECT_EQ(t.texel(c.x, c.y, c.k) - t.texels.get(), c.offset);
}

TEST_F(TextureTest, SettersWriteOnlyTheirChannels) {
    Texture t;
    t.allocate(2, 2, 4);
    for (int i = 0; i < 16; ++i) t.texels[i] = -1;
    t.setRGB(1, 0, {0.1f, 0.2f, 0.3f, 0.9f});
    const float afterRGB[16] = {-1, -1, -1, -1, 0.1f, 0.2f, 0.3f, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    for (int i = 0; i < 16; ++i) EXPECT_EQ(t.texels[i], afterRGB[i]) << "float " << i;

    t.setValue(0, 1, 0.5f);
    EXPECT_EQ(t.texels[8], 0.5f);
    EXPECT_EQ(t.texels[9], -1);
    EXPECT_EQ(t.texels[7], -1);
}

// Float counts of 2^30 and beyond would overflow a 32-bit byte count.
TEST_F(TextureTest, AllocateRefusesHugeImagesAndKeepsWhatItHad) {
    struct Case {
        int width, height, channels;
    };
    const Case cases[] = {
        {1 << 15, 1 << 15, 1},
        {1 << 15, 1 << 14, 2},
        {1 << 10, 1 << 10, 1 << 10},
        {65536, 65536, 3},
        {-1, 4, 1},
    };
    Texture t;
    t.allocate(4, 4, 1);
    const float* before = t.texels.get();
    for (const Case& c : cases) {
        EXPECT_THROW(t.allocate(c.width, c.height, c.channels), std::bad_alloc)
            << c.width << " x " << c.height << " x " << c.channels;
        EXPECT_EQ(t.width, 4);
        EXPECT_EQ(t.height, 4);
        EXPECT_EQ(t.channels, 1);
        EXPECT_EQ(t.texels.get(), before);
    }
}


TEST_F(TextureTest, GeneratorsChooseTheirChannels) {
    EXPECT_EQ(colors.width, 256);
    EXPECT_EQ(colors.height, 256);
    EXPECT_EQ(colors.channels, 3);
    EXPECT_EQ(heights.width, 256);
    EXPECT_EQ(heights.height, 256);
    EXPECT_EQ(heights.channels, 1);
    EXPECT_EQ(colors.pyramid, nullptr);
}

TEST_F(TextureTest, ColoursSeparateTilesFromGrout) {
    for (const Texel g : {Texel{0, 0}, {1, 5}, {62, 10}, {63, 63}, {64, 64}, {255, 255}, {128, 130}, {130, 1}}) {
        SCOPED_TRACE(testing::Message() << "grout " << g.x << ", " << g.y);
        expectRGB(rgbAt(colors, g.x, g.y), beige, 1e-6f);
    }
    for (const Texel t : {Texel{2, 2}, {61, 61}, {66, 66}, {100, 200}, {253, 253}, {2, 61}}) {
        SCOPED_TRACE(testing::Message() << "tile " << t.x << ", " << t.y);
        expectRGB(rgbAt(colors, t.x, t.y), orange, 1e-4f);
    }
}

TEST_F(TextureTest, SixteenTilesOfSixtyBySixty) {
    const Color tile = rgbAt(colors, 2, 2);
    int count = 0;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) count += rgbAt(colors, x, y) == tile;
    EXPECT_EQ(count, 16 * 60 * 60);
}

TEST_F(TextureTest, HeightsAtKnownTexels) {
    struct Case {
        int x, y;
        float value, tolerance;
    };
    const Case cases[] = {
        // The four centre texels of a tile are exactly 1, in every tile.
        {31, 31, 1, 0}, {31, 32, 1, 0}, {32, 31, 1, 0}, {32, 32, 1, 0}, {95, 159, 1, 0}, {224, 223, 1, 0},
        {2, 2, 0.2540f, 1e-4f}, {61, 61, 0.2540f, 1e-4f}, {31, 2, 0.5040f, 1e-4f}, {2, 31, 0.5040f, 1e-4f},
        // Exact bits: dividing by the double 30.495901 instead of the float constant changes the last one here.
        {2, 2, 0x1.0418a4p-2f, 0}, {2, 7, 0x1.8e5032p-2f, 0}, {7, 61, 0x1.8e5032p-2f, 0},
        // Grout: bx or by in {0, 1, 62, 63}.
        {0, 40, 0, 0}, {1, 40, 0, 0}, {62, 40, 0, 0}, {63, 40, 0, 0},
        {40, 0, 0, 0}, {40, 1, 0, 0}, {40, 62, 0, 0}, {40, 63, 0, 0},
        {65, 100, 0, 0}, {255, 255, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(*heights.texel(c.x, c.y, 0), c.value, c.tolerance) << c.x << ", " << c.y;
}

TEST_F(TextureTest, EveryTileIsTheSameSymmetricCushion) {
    for (int by = 0; by < 64; ++by)
        for (int bx = 0; bx < 64; ++bx) {
            const float h = *heights.texel(bx, by, 0);
            ASSERT_GE(h, 0);
            ASSERT_LE(h, 1);
            if (bx > 1 && bx < 62 && by > 1 && by < 62) {
                ASSERT_GT(h, 0.25f) << bx << ", " << by;
            }
            ASSERT_FLOAT_EQ(*heights.texel(63 - bx, by, 0), h) << bx << ", " << by;
            ASSERT_FLOAT_EQ(*heights.texel(bx, 63 - by, 0), h) << bx << ", " << by;
            for (int tile = 1; tile < 16; ++tile)
                ASSERT_EQ(*heights.texel(bx + tile % 4 * 64, by + tile / 4 * 64, 0), h) << bx << ", " << by;
        }
}

// The tile side comes from the width alone: 32 here, so 4 tiles across and 8 down.
TEST_F(TextureTest, NonSquareTilesFollowTheWidth) {
    Texture t;
    t.makeTileColors(128, 256);
    const Color tile = rgbAt(t, 2, 2);
    const Color grout = rgbAt(t, 0, 0);
    ASSERT_NE(tile, grout);
    EXPECT_EQ(rgbAt(t, 29, 29), tile);
    EXPECT_EQ(rgbAt(t, 30, 2), grout);
    EXPECT_EQ(rgbAt(t, 2, 30), grout);
    EXPECT_EQ(rgbAt(t, 127, 2), grout);
    EXPECT_EQ(rgbAt(t, 98, 226), tile);
    EXPECT_EQ(rgbAt(t, 2, 254), grout);
    int count = 0;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 128; ++x) count += rgbAt(t, x, y) == tile;
    EXPECT_EQ(count, 4 * 8 * 28 * 28);
}

} // namespace

} // namespace rv
