#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "raster/frame_buffer.h"

namespace rv {

struct FrameTimes {
    double medianMs = 0;
    double minMs = 0;
};

// Median (the mean of the middle two for an even count) and minimum; zeros for none.
FrameTimes summarise(std::vector<double> milliseconds);

// Calls drawOne `frames` times and times each call on its own, so that one
// slow frame (a page fault, another process) moves the median no more than any other.
template <class DrawOne> FrameTimes timeFrames(int frames, DrawOne&& drawOne) {
    using Clock = std::chrono::steady_clock;
    std::vector<double> ms;
    ms.reserve(static_cast<size_t>(frames));
    for (int i = 0; i < frames; ++i) {
        const Clock::time_point start = Clock::now();
        drawOne();
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return summarise(std::move(ms));
}

// What --stats prints for one renderer.
struct RendererReport {
    const char* renderer = "";
    int width = 0;
    int height = 0;
    int frames = 0;
    // Threads drawing the frame; the OpenGL path has none of ours.
    std::optional<int> threads;
    // Counts of one frame; the OpenGL path has none.
    std::optional<RenderStats> counts;
    FrameTimes times;
    // The software path into the window as the viewer shows it, through GL
    // points and as one image, when a display was present.
    std::optional<FrameTimes> glPoints;
    std::optional<FrameTimes> glImage;
};

// One line of JSON; absent counts and timings are null, so every line has the same keys.
std::string toJson(const RendererReport& report);

} // namespace rv
