#include "picture/difference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>

namespace rv {

namespace {

using Rgb = std::tuple<int, int, int>;

Rgb at(const RgbImage8& image, int x, int y) {
    const std::uint8_t* p = image.pixel(x, y);
    return {p[0], p[1], p[2]};
}

bool isGrey(Rgb c) { return std::get<0>(c) == std::get<1>(c) && std::get<1>(c) == std::get<2>(c); }

// One row of six pixels, each a different case; both renderers start white and uncovered.
class DifferencePicture : public ::testing::Test {
protected:
    Snapshot software{RgbImage8(6, 1), std::vector<std::uint8_t>(6)};
    Snapshot opengl{RgbImage8(6, 1), std::vector<std::uint8_t>(6)};
    DifferenceCounts counts;

    void SetUp() override {
        std::fill(software.picture.rgb.begin(), software.picture.rgb.end(), 255);
        std::fill(opengl.picture.rgb.begin(), opengl.picture.rgb.end(), 255);
    }
    void set(Snapshot& s, int x, Rgb c) {
        std::uint8_t* p = s.picture.pixel(x, 0);
        p[0] = static_cast<std::uint8_t>(std::get<0>(c));
        p[1] = static_cast<std::uint8_t>(std::get<1>(c));
        p[2] = static_cast<std::uint8_t>(std::get<2>(c));
        s.covered[static_cast<size_t>(x)] = 1;
    }
};

TEST_F(DifferencePicture, TellsEveryCaseApartAndCountsIt) {
    // 0: background in both. 1: drawn alike. 2: one step apart in one channel.
    // 3: far apart. 4: software only. 5: OpenGL only, black like the caption.
    set(software, 1, {200, 120, 40});
    set(opengl, 1, {200, 120, 40});
    set(software, 2, {200, 120, 40});
    set(opengl, 2, {200, 121, 40});
    set(software, 3, {255, 255, 255});
    set(opengl, 3, {0, 0, 0});
    set(software, 4, {200, 120, 40});
    set(opengl, 5, {0, 0, 0});

    const RgbImage8 diff = differenceImage(software, opengl, counts);
    EXPECT_EQ(counts.both, 3);
    EXPECT_EQ(counts.equal, 1);
    EXPECT_EQ(counts.softwareOnly, 1);
    EXPECT_EQ(counts.openglOnly, 1);
    EXPECT_EQ(counts.largest, 255);
    EXPECT_DOUBLE_EQ(counts.mean, (0 + 1 + 255) / 3.0);

    EXPECT_TRUE(isGrey(at(diff, 0, 0)));
    EXPECT_TRUE(isGrey(at(diff, 1, 0)));
    EXPECT_LT(std::get<0>(at(diff, 1, 0)), std::get<0>(at(diff, 0, 0))) << "darker pictures stay darker when dimmed";
    EXPECT_LT(std::get<0>(at(diff, 0, 0)), 255) << "dimmed, so that white fragments do not vanish into the page";
    EXPECT_FALSE(isGrey(at(diff, 2, 0))) << "a difference of 1 in 255 must be visible";
    EXPECT_NE(at(diff, 2, 0), at(diff, 3, 0));
    EXPECT_EQ(at(diff, 4, 0),
              Rgb(difference::softwareOnly[0], difference::softwareOnly[1], difference::softwareOnly[2]));
    EXPECT_EQ(at(diff, 5, 0), Rgb(difference::openglOnly[0], difference::openglOnly[1], difference::openglOnly[2]));
    const std::set<Rgb> colours{at(diff, 1, 0), at(diff, 2, 0), at(diff, 3, 0), at(diff, 4, 0), at(diff, 5, 0)};
    EXPECT_EQ(colours.size(), 5u);

    EXPECT_NE(describe(counts).find("3 pixels drawn by both (1 equal, 2 differ"), std::string::npos)
        << describe(counts);
}

TEST_F(DifferencePicture, CaptionPixelsOutsideTheSceneCountAsBackground) {
    // The caption is black in OpenGL's picture but not in its depth buffer.
    std::fill_n(opengl.picture.pixel(0, 0), 3, 0);
    const RgbImage8 diff = differenceImage(software, opengl, counts);
    EXPECT_EQ(counts.openglOnly, 0);
    EXPECT_EQ(at(diff, 0, 0), at(diff, 1, 0));
}

} // namespace

} // namespace rv
