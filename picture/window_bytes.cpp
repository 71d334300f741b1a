#include "picture/window_bytes.h"

#include <emmintrin.h>

#include <cmath>

namespace rv {

std::uint8_t windowByte(float channel) {
    if (!(channel > 0)) return std::isnan(channel) ? 255 : 0;
    if (channel >= 1) return 255;
    // Stored as a float before rounding: the product's own rounding decides the
    // near-ties. Exact ties go to the even byte, as the default rounding mode does.
    const float scaled = channel * 255.0f;
    // Adding 2^23 leaves no fraction bits, so the float addition itself rounds
    // to the nearest integer, ties to even: nearbyint's result without its
    // library call, which made converting a frame cost milliseconds.
    constexpr float noFraction = 0x1p23f;
    return static_cast<std::uint8_t>((scaled + noFraction) - noFraction);
}

namespace {

// windowByte of 16 channels.
void sixteenWindowBytes(const float* channels, std::uint8_t* bytes) {
    const __m128 zero = _mm_setzero_ps(), one = _mm_set1_ps(1), scale = _mm_set1_ps(255);
    __m128i whole[4];
    for (int k = 0; k < 4; ++k) {
        const __m128 channel = _mm_loadu_ps(channels + 4 * k);
        // Where an operand is NaN, max and min return their second one: a NaN channel passes
        // the first and becomes 1 in the second, so it shows as 255 as in windowByte.
        const __m128 clamped = _mm_min_ps(_mm_max_ps(zero, channel), one);
        // The float product, then the default rounding mode: nearest, ties to even, as nearbyint.
        whole[k] = _mm_cvtps_epi32(_mm_mul_ps(clamped, scale));
    }
    const __m128i low = _mm_packs_epi32(whole[0], whole[1]), high = _mm_packs_epi32(whole[2], whole[3]);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes), _mm_packus_epi16(low, high));
}

} // namespace

void windowBytes(const float* channels, std::size_t count, std::uint8_t* bytes) {
    std::size_t i = 0;
    // Four groups per turn: the loop's own bookkeeping was a fifth of the work.
    for (; i + 64 <= count; i += 64)
        for (std::size_t k = 0; k < 64; k += 16) sixteenWindowBytes(channels + i + k, bytes + i + k);
    for (; i + 16 <= count; i += 16) sixteenWindowBytes(channels + i, bytes + i);
    for (; i < count; ++i) bytes[i] = windowByte(channels[i]);
}

RgbImage8 windowPicture(const float* rgbBottomRowFirst, int width, int height) {
    RgbImage8 picture(width, height);
    toWindowPicture(rgbBottomRowFirst, {0, height}, picture);
    return picture;
}

void toWindowPicture(const float* rgbBottomRowFirst, RowRange rows, RgbImage8& picture) {
    const size_t rowLength = static_cast<size_t>(picture.width) * 3;
    for (int y = rows.begin; y < rows.end; ++y) {
        const float* in = rgbBottomRowFirst + static_cast<size_t>(y) * rowLength;
        std::uint8_t* out = picture.rgb.data() + static_cast<size_t>(picture.height - 1 - y) * rowLength;
        windowBytes(in, rowLength, out);
    }
}

} // namespace rv
