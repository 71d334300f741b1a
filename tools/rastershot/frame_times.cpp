#include "tools/rastershot/frame_times.h"

#include <algorithm>
#include <cstdio>

namespace rv {

FrameTimes summarise(std::vector<double> ms) {
    if (ms.empty()) return {};
    std::sort(ms.begin(), ms.end());
    const size_t n = ms.size();
    const double median = n % 2 ? ms[n / 2] : (ms[n / 2 - 1] + ms[n / 2]) / 2;
    return {median, ms.front()};
}

namespace {

std::string number(long value) { return std::to_string(value); }

std::string milliseconds(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

} // namespace

std::string toJson(const RendererReport& r) {
    auto count = [&](long RenderStats::*field) { return r.counts ? number((*r.counts).*field) : "null"; };
    auto time = [](const std::optional<FrameTimes>& t, double FrameTimes::*field) {
        return t ? milliseconds((*t).*field) : "null";
    };
    return std::string("{\"renderer\": \"") + r.renderer + "\", \"width\": " + number(r.width) +
           ", \"height\": " + number(r.height) + ", \"frames\": " + number(r.frames) +
           ", \"threads\": " + (r.threads ? number(*r.threads) : "null") +
           ", \"fragmentsShaded\": " + count(&RenderStats::fragmentsShaded) +
           ", \"fragmentsPlotted\": " + count(&RenderStats::fragmentsPlotted) +
           ", \"spans\": " + count(&RenderStats::spans) + ", \"medianMs\": " + milliseconds(r.times.medianMs) +
           ", \"minMs\": " + milliseconds(r.times.minMs) +
           ", \"glPointsMedianMs\": " + time(r.glPoints, &FrameTimes::medianMs) +
           ", \"glPointsMinMs\": " + time(r.glPoints, &FrameTimes::minMs) +
           ", \"glImageMedianMs\": " + time(r.glImage, &FrameTimes::medianMs) +
           ", \"glImageMinMs\": " + time(r.glImage, &FrameTimes::minMs) + "}";
}

} // namespace rv
