#pragma once

#include <cstddef>
#include <cstdint>

#include "picture/rgb_image.h"
#include "raster/frame_buffer.h"

namespace rv {

// The byte a 24-bit window shows for a colour channel sent with glColor3f, as
// measured on Mesa's llvmpipe under Xvfb: clamped to [0, 1], multiplied by 255
// in single precision and rounded to the nearest integer, ties to even (0.5 ->
// 0, 1.5 -> 2). NaN shows as 255. Rounding half up instead would make a few
// hundred colours one step brighter than the viewer's window.
std::uint8_t windowByte(float channel);

// windowByte of each of `count` channels, sixteen at a time: a call per channel
// costs a 1920 x 1080 frame shown as one image some 40 ms of CPU, ten times this.
void windowBytes(const float* channels, std::size_t count, std::uint8_t* bytes);

// Float RGB colours, width * height * 3 of them with the bottom row first, as
// the viewer's window shows them: top row first, each channel through windowByte.
RgbImage8 windowPicture(const float* rgbBottomRowFirst, int width, int height);

// Rows `rows` (counted from the bottom) of the same conversion, into a picture
// already of the colours' size: threads that each drew some rows convert their own.
void toWindowPicture(const float* rgbBottomRowFirst, RowRange rows, RgbImage8& picture);

} // namespace rv
