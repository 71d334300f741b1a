// Every float in (1, +inf], the level's whole domain, through the vector
// logarithm on every Highway target compiled in and supported here, against
// levelLog bit for bit. Prints the fallbacks (with the first few inputs that
// took them) and the time; exits 1 on any mismatch.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "level_log_lanes.h"
#include "raster/level_log.h"
#include "raster_fixtures.h"

int main() {
    using namespace rv;
    const auto start = std::chrono::steady_clock::now();
    constexpr std::uint32_t first = 0x3f800001, last = 0x7f800000; // just above 1 .. +inf
    constexpr std::uint32_t block = 1 << 20;
    const std::vector<std::int64_t> targets = simdTargets();
    std::vector<long> fallbacks(targets.size()), mismatches(targets.size());
    std::vector<float> in(block), expected(block), out(block);
    std::unique_ptr<bool[]> fellBack(new bool[block]);
    std::vector<float> examples;
    for (std::uint64_t begin = first; begin <= last; begin += block) {
        const std::uint32_t n = static_cast<std::uint32_t>(std::min<std::uint64_t>(block, last + 1ull - begin));
        for (std::uint32_t i = 0; i < n; ++i) {
            const std::uint32_t bits = static_cast<std::uint32_t>(begin + i);
            std::memcpy(&in[i], &bits, sizeof bits);
            expected[i] = levelLog(in[i]);
        }
        for (size_t t = 0; t < targets.size(); ++t) {
            const TargetChoice choice(targets[t]);
            fallbacks[t] += levelLogLanes(in.data(), out.data(), n, fellBack.get());
            for (std::uint32_t i = 0; i < n && t + 1 == targets.size() && examples.size() < 8; ++i)
                if (fellBack[i]) examples.push_back(in[i]);
            for (std::uint32_t i = 0; i < n; ++i)
                if (std::memcmp(&out[i], &expected[i], sizeof(float)) != 0 && ++mismatches[t] <= 5)
                    std::printf("%s: log of %a gives %a, levelLog %a\n", targetName(targets[t]).c_str(), in[i],
                                out[i], expected[i]);
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    bool allEqual = true;
    for (size_t t = 0; t < targets.size(); ++t) {
        std::printf("%-10s %u inputs, %ld to the fallback, %ld mismatched\n", targetName(targets[t]).c_str(),
                    last - first + 1, fallbacks[t], mismatches[t]);
        allEqual = allEqual && mismatches[t] == 0;
    }
    std::printf("first inputs %s took the fallback:", targetName(targets.back()).c_str());
    for (const float x : examples) std::printf(" %a", x);
    std::printf("\n%.1f s\n", seconds);
    return allEqual ? 0 : 1;
}
