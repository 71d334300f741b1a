#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "picture/rgb_image.h"
#include "tests/e2e/viewer_run.h"

namespace rv {

// The lowest row, counted from the top, where two pictures of the same size differ; -1 when none does.
inline int lowestDifferingRow(const RgbImage8& a, const RgbImage8& b) {
    int lowest = -1;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            if (!std::equal(a.pixel(x, y), a.pixel(x, y) + 3, b.pixel(x, y))) lowest = y;
    return lowest;
}

// After a key with a notice, sent after `before` was shown: the notice appears
// along the top of the window and is gone again after its two seconds. Returns
// the picture without it. A notice of one line ends above row 80; a longer one may reach `reach`.
inline RgbImage8 expectNoticeComesAndGoes(ViewerRun& run, const RgbImage8& before, int reach = 80) {
    using namespace std::chrono_literals;
    const auto pressed = std::chrono::steady_clock::now();
    const RgbImage8 withNotice = run.changedFrom(before);
    const RgbImage8 after = run.changedFrom(withNotice, 5s);
    EXPECT_GE(std::chrono::steady_clock::now() - pressed, 1500ms) << "the notice went too soon";
    const int lowest = lowestDifferingRow(withNotice, after);
    EXPECT_GE(lowest, 10) << "no notice, or it did not go";
    EXPECT_LT(lowest, reach) << "the notice is not along the top";
    return after;
}

} // namespace rv
