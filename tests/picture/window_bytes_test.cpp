#include "picture/window_bytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <ostream>
#include <vector>

#include "tests/support/memory_image.h"

namespace rv {

namespace {

struct Byte {
    const char* name;
    float channel;
    int shows;
};

// Also the case's name: one_is_255.
void PrintTo(const Byte& b, std::ostream* out) { *out << b.name << "_is_" << b.shows; }

class WindowByte : public ::testing::TestWithParam<Byte> {};

TEST_P(WindowByte, MatchesTheWindow) {
    EXPECT_EQ(windowByte(GetParam().channel), GetParam().shows) << GetParam().channel;
}

constexpr float nan = std::numeric_limits<float>::quiet_NaN();
constexpr float inf = std::numeric_limits<float>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Table, WindowByte,
    ::testing::Values(
        // Ends and exact steps.
        Byte{"zero", 0, 0}, Byte{"minus_zero", -0.0f, 0}, Byte{"one", 1, 255}, Byte{"step_128", 128 / 255.0f, 128},
        // Clamped: negative, beyond one, infinite; NaN shows as full intensity.
        Byte{"minus_half", -0.5f, 0}, Byte{"minus_infinity", -inf, 0}, Byte{"just_above_one", 1.0000001f, 255},
        Byte{"three", 3, 255}, Byte{"infinity", inf, 255}, Byte{"nan", nan, 255}, Byte{"minus_nan", -nan, 255},
        // Where the float product is a tie it goes to the even neighbour: 0.5 -> 0, 1.5 -> 2,
        // 2.5 -> 2, 127.5 -> 128. The first and the last are above the tie in double precision,
        // so rounding the exact product, or rounding half up, gives one more.
        Byte{"tie_0_5", 0x1.010102p-9f, 0}, Byte{"tie_1_5", 0x1.818182p-8f, 2}, Byte{"tie_2_5", 0x1.414142p-7f, 2},
        Byte{"tie_127_5", 0.5f, 128}, Byte{"tie_254_5", 0x1.feffp-1f, 254},
        // Clear of the ties, the nearest byte.
        Byte{"above_tie_0_5", 0x1.010104p-9f, 1}, Byte{"point_2", 0.2f, 51}, Byte{"point_8", 0.8f, 204},
        Byte{"point_999", 0.999f, 255}, Byte{"point_998", 0.998f, 254}),
    ::testing::PrintToStringParamName());

// Every byte boundary from both sides, the specials, and a stride through all
// 2^32 patterns; an odd start and length leave some channels to the tail.
TEST(WindowBytes, GiveWindowByteForEveryChannel) {
    std::vector<float> channels = {nan, -nan, inf, -inf, 0, -0.0f, 1, std::numeric_limits<float>::denorm_min(),
                                   -std::numeric_limits<float>::denorm_min(), std::numeric_limits<float>::max()};
    for (int k = 0; k < 255; ++k) {
        const float tie = (k + 0.5f) / 255;
        float below = tie, above = tie;
        channels.push_back(tie);
        for (int n = 0; n < 400; ++n) {
            channels.push_back(below = std::nextafter(below, -1.0f));
            channels.push_back(above = std::nextafter(above, 2.0f));
        }
    }
    for (std::uint64_t bits = 7; bits < (1ull << 32); bits += 4099) {
        const std::uint32_t pattern = static_cast<std::uint32_t>(bits);
        float c;
        std::memcpy(&c, &pattern, sizeof c);
        channels.push_back(c);
    }
    std::vector<std::uint8_t> bytes(channels.size());
    windowBytes(channels.data() + 1, channels.size() - 1, bytes.data() + 1);
    long wrong = 0;
    for (size_t i = 1; i < channels.size(); ++i)
        if (bytes[i] != windowByte(channels[i]) && ++wrong <= 5)
            ADD_FAILURE() << std::hexfloat << channels[i] << ": " << int(bytes[i]) << ", windowByte gives "
                          << int(windowByte(channels[i]));
    EXPECT_EQ(wrong, 0);
}

// Lengths on either side of each loop's step: every channel converted, not one byte beyond.
TEST(WindowBytes, WriteExactlyTheirCountAtEveryLength) {
    std::vector<float> channels(200);
    for (size_t i = 0; i < channels.size(); ++i) channels[i] = static_cast<float>(i % 37) / 36;
    for (size_t count = 0; count <= 150; ++count) {
        std::vector<std::uint8_t> bytes(count + 1, 7);
        windowBytes(channels.data(), count, bytes.data());
        for (size_t i = 0; i < count; ++i) ASSERT_EQ(bytes[i], windowByte(channels[i])) << count << " channels, " << i;
        EXPECT_EQ(bytes[count], 7) << count << " channels";
    }
}

float fromBits(std::uint32_t bits) {
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

std::uint32_t bitsOf(float f) {
    std::uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

// The rule as measured, in its plainest form: clamp, multiply in single
// precision, round to nearest with ties to even.
int measuredRule(float channel) {
    if (std::isnan(channel)) return 255;
    return static_cast<int>(std::nearbyint(std::clamp(channel, 0.0f, 1.0f) * 255.0f));
}

// A quicker rounding may part from the rule only where a product lies at or
// next to a tie, so every float within a thousand steps of each k + 0.5 is
// tried, and a sparse sweep covers the rest of [0, 1].
TEST(WindowByte, AgreesWithTheMeasuredRuleAtEveryTieAndAcrossTheRange) {
    long tried = 0;
    auto check = [&](float channel) {
        ++tried;
        ASSERT_EQ(windowByte(channel), measuredRule(channel)) << std::hexfloat << channel;
    };
    for (int k = 0; k < 255; ++k) {
        const std::uint32_t tie = bitsOf((k + 0.5f) / 255.0f);
        for (std::uint32_t bits = tie - 1000; bits <= tie + 1000; ++bits) check(fromBits(bits));
    }
    for (std::uint32_t bits = 0; bits <= bitsOf(1.0f); bits += 4099) check(fromBits(bits));
    check(1.0f);
    EXPECT_GT(tried, 700000);
}

TEST(WindowPicture, PutsTheBottomRowLast) {
    MemoryImage image(2, 3);
    image.beginSpan();
    image.plot(0, 0, {1, 0, 0, 1});
    image.plot(1, 2, {0, 0.5f, 1, 1});
    image.endSpan();
    const RgbImage8 picture = windowPicture(image);
    ASSERT_EQ(picture.width, 2);
    ASSERT_EQ(picture.height, 3);
    const std::uint8_t* bottomLeft = picture.pixel(0, 2);
    const std::uint8_t* topRight = picture.pixel(1, 0);
    EXPECT_EQ(bottomLeft[0], 255);
    EXPECT_EQ(bottomLeft[1], 0);
    EXPECT_EQ(topRight[0], 0);
    EXPECT_EQ(topRight[1], 128);
    EXPECT_EQ(topRight[2], 255);
    EXPECT_EQ(picture.pixel(1, 1)[1], 255) << "untouched pixels keep the white background";
}

TEST(WindowPicture, TakesFloatRowsBottomFirstThreeChannelsToAPixel) {
    // 3 x 2 with every channel a different byte, so that a swapped row, a
    // transposed size or a wrong stride shows.
    float rgb[18];
    for (int i = 0; i < 18; ++i) rgb[i] = static_cast<float>(10 * (i + 1)) / 255.0f;
    const RgbImage8 picture = windowPicture(rgb, 3, 2);
    ASSERT_EQ(picture.width, 3);
    ASSERT_EQ(picture.height, 2);
    EXPECT_EQ(picture.rgb, (std::vector<std::uint8_t>{100, 110, 120, 130, 140, 150, 160, 170, 180, 10, 20, 30, 40, 50,
                                                      60, 70, 80, 90}));
}

} // namespace

} // namespace rv
