// The vector normalisation may take the square root of a float-rounded value in
// float lanes only if float(sqrt(double(x))) == sqrt(float(x)) for every float
// x: double carries more than twice float's precision, so rounding twice
// should never show. This checks all 2^32 bit patterns (NaNs by their bits
// too) and exits 1 on any difference.
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

int main() {
    const auto start = std::chrono::steady_clock::now();
    long differences = 0;
    for (std::uint64_t bits = 0; bits < (1ull << 32); ++bits) {
        const std::uint32_t pattern = static_cast<std::uint32_t>(bits);
        float x;
        std::memcpy(&x, &pattern, sizeof x);
        const float viaDouble = static_cast<float>(std::sqrt(static_cast<double>(x)));
        const float inFloat = std::sqrt(x);
        if (std::memcmp(&viaDouble, &inFloat, sizeof x) != 0 && ++differences <= 5)
            std::printf("sqrt of %a: %a through double, %a in float\n", x, viaDouble, inFloat);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%llu inputs, %ld differences, %.1f s\n", 1ull << 32, differences, seconds);
    return differences == 0 ? 0 : 1;
}
