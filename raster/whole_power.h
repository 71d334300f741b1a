#pragma once

#include <cmath>

namespace rv {

// static_cast<float>(std::pow(x, exponent)), bit for bit, but without the library
// call when the exponent is a whole number from 1 to 1024 (the scene's shininess
// is 100). Repeated squaring is within (n - 1) double roundings of the true power;
// when a margin of twice that, plus the library's own error of about one rounding,
// still rounds to a single float, that float is the library's result too, because
// rounding to float is monotonic. Otherwise, and for results near the ends of the
// double range (where the error bound fails), the library decides.
inline float powToFloat(double x, float exponent) {
    if (exponent >= 1 && exponent <= 1024 && exponent == static_cast<float>(static_cast<int>(exponent))) {
        const int n = static_cast<int>(exponent);
        double power = 1;
        double square = x;
        for (int k = n;;) {
            if (k & 1) power *= square;
            k >>= 1;
            if (!k) break;
            square *= square;
        }
        const double magnitude = std::fabs(power);
        if (magnitude >= 0x1p-900 && magnitude <= 0x1p900) {
            const double slack = (2.0 * n + 8) * 0x1p-53;
            const float low = static_cast<float>(power * (1 - slack));
            const float high = static_cast<float>(power * (1 + slack));
            if (low == high) return low;
        }
    }
    return static_cast<float>(std::pow(x, static_cast<double>(exponent)));
}

} // namespace rv
