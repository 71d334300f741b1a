#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "picture/rgb_image.h"

namespace rv {

// One renderer's picture and which of its pixels it drew, both top row first.
struct Snapshot {
    RgbImage8 picture;
    // 1 where the renderer's depth buffer holds a fragment of the scene. The
    // colour cannot tell: OpenGL's caption is not white, a highlight may be.
    std::vector<std::uint8_t> covered;
};

struct DifferenceCounts {
    // Pixels both renderers drew, and how many of those came out equal.
    long both = 0;
    long equal = 0;
    long softwareOnly = 0;
    long openglOnly = 0;
    // Largest channel difference over the pixels both drew, in 1/255 steps.
    int largest = 0;
    // Mean of each pixel's largest channel difference over the pixels both drew.
    double mean = 0;
};

// Fixed colours of the picture that differenceImage draws.
namespace difference {
constexpr std::uint8_t softwareOnly[3] = {0, 90, 255};
constexpr std::uint8_t openglOnly[3] = {230, 0, 230};
// Both drew differently: by 1 in 255, and by 255 in 255.
constexpr std::uint8_t smallest[3] = {255, 220, 0};
constexpr std::uint8_t largest[3] = {160, 0, 0};
// Drawn alike: the dimmed grey of an orange tile, for a legend (the picture's greys vary with what lies beneath).
constexpr std::uint8_t equal[3] = {166, 166, 166};
} // namespace difference

// A picture a person reads at a glance: what neither drew, or both drew alike,
// in dimmed grey; what both drew differently from yellow (1 in 255) to dark
// red (255 in 255) by the largest channel difference; what only one drew in
// that renderer's colour. Both snapshots have the same size.
RgbImage8 differenceImage(const Snapshot& software, const Snapshot& opengl, DifferenceCounts& counts);

// One line for standard error.
std::string describe(const DifferenceCounts& counts);

struct PictureComparison {
    // Pixels that differ in any channel, and the largest channel difference.
    long differing = 0;
    int largest = 0;
};

// Two pictures of the same size, pixel by pixel, coverage aside.
PictureComparison comparePictures(const RgbImage8& a, const RgbImage8& b);

} // namespace rv
