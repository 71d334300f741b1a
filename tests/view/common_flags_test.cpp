#include "view/common_flags.h"

#include <gtest/gtest.h>
#include <hwy/targets.h>

#include <string>

namespace rv {

namespace {

TEST(SimdMax, TakesHighwaysTargetNamesInAnyCase) {
    for (const auto& [name, target] : {std::pair<const char*, std::int64_t>{"avx2", HWY_AVX2},
                                       {"AVX2", HWY_AVX2},
                                       {"sse4", HWY_SSE4},
                                       {"avx3", HWY_AVX3}}) {
        std::int64_t got = 0;
        EXPECT_EQ(readSimdTarget(name, got), "") << name;
        EXPECT_EQ(got, target) << name;
    }
    for (const char* name : {"", "avx", "avx2 ", "neon", "-1"}) {
        std::int64_t got = 0;
        const std::string why = readSimdTarget(name, got);
        EXPECT_NE(why.find("--simd-max: expected one of "), std::string::npos) << why;
        EXPECT_NE(why.find("avx2, sse4"), std::string::npos) << why;
        EXPECT_EQ(got, 0) << name;
    }
}

// Highway's dispatch picks the best target left supported; after the cap that
// is the cap itself, or below it where the CPU lacks it.
TEST(SimdMax, CapsTheTargetsTheDispatchMayPick) {
    const std::int64_t uncapped = hwy::SupportedTargets();
    for (const std::int64_t cap : {HWY_AVX3, HWY_AVX2, HWY_SSE4}) {
        CommonOptions options;
        options.simdMax = cap;
        capSimdTargets(options);
        const std::int64_t supported = hwy::SupportedTargets();
        hwy::DisableTargets(0);
        EXPECT_EQ(supported & (cap - 1), 0) << hwy::TargetName(cap) << ": a better target is left";
        EXPECT_EQ(supported & cap, uncapped & cap) << hwy::TargetName(cap);
    }
    capSimdTargets(CommonOptions{});
    EXPECT_EQ(hwy::SupportedTargets(), uncapped) << "no --simd-max, no cap";
}

} // namespace

} // namespace rv
