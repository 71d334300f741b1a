#pragma once

#include <cmath>
#include <limits>
#include <vector>

namespace rv {

// Channel values that tell rounding rules apart: the floats around every tie
// k + 0.5 of the product with 255, an even sweep of [0, 1], and values GL must
// clamp. The ramp program draws value i at pixel (i % width, i / width).
inline std::vector<float> rampValues() {
    std::vector<float> values;
    for (int k = 0; k < 255; ++k) {
        float f = static_cast<float>((k + 0.5) / 255.0);
        for (int i = 0; i < 8; ++i) f = std::nextafter(f, -1.0f);
        for (int i = 0; i <= 16; ++i, f = std::nextafter(f, 2.0f)) values.push_back(f);
    }
    for (int i = 0; i <= 10000; ++i) values.push_back(static_cast<float>(i / 10000.0));
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (float f : {-1e30f, -1.0f, -1e-7f, -0.0f, 1.0000001f, 1.5f, 1e30f, inf, -inf, nan}) values.push_back(f);
    return values;
}

} // namespace rv
