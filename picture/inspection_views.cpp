#include "picture/inspection_views.h"

#include <algorithm>
#include <cmath>

namespace rv {

namespace {

struct Rgb {
    float r, g, b;
};

constexpr Rgb mix(const Rgb& a, const Rgb& b, float f) {
    return {a.r + (b.r - a.r) * f, a.g + (b.g - a.g) * f, a.b + (b.b - a.b) * f};
}

// Levels 0 to 8 of a 256 x 256 texture, cold to warm, so that "finer" reads as "bluer".
constexpr Rgb levelColours[] = {{0.15f, 0.25f, 0.95f}, {0.0f, 0.7f, 0.9f},  {0.1f, 0.75f, 0.3f},
                                {0.6f, 0.85f, 0.1f},   {0.95f, 0.85f, 0.1f}, {1.0f, 0.55f, 0.05f},
                                {0.9f, 0.15f, 0.1f},   {0.8f, 0.1f, 0.6f},  {0.45f, 0.1f, 0.55f}};
constexpr int levelColourCount = sizeof levelColours / sizeof levelColours[0];
constexpr Rgb mipmappingOffColour{0.55f, 0.55f, 0.55f};
constexpr Rgb untexturedColour{0.1f, 0.1f, 0.1f};

constexpr Rgb spanColours[] = {{0.95f, 0.45f, 0.2f}, {0.75f, 0.3f, 0.1f}, {0.2f, 0.55f, 0.95f}, {0.1f, 0.35f, 0.7f},
                               {0.3f, 0.8f, 0.35f},  {0.15f, 0.55f, 0.2f}, {0.85f, 0.3f, 0.8f}, {0.6f, 0.15f, 0.55f}};

Rgb lodColour(float lod) {
    if (lod == lodMipmappingOff) return mipmappingOffColour;
    if (!(lod >= 0)) return untexturedColour;
    const float level = std::min(std::floor(lod), static_cast<float>(levelColourCount - 1));
    const int k = static_cast<int>(level);
    if (k + 1 >= levelColourCount) return levelColours[k];
    return mix(levelColours[k], levelColours[k + 1], lod - level);
}

float fraction(float v) {
    if (!std::isfinite(v)) return 0;
    return v - std::floor(v);
}

} // namespace

InspectView nextView(InspectView view) {
    switch (view) {
    case InspectView::picture: return InspectView::depth;
    case InspectView::depth: return InspectView::lod;
    case InspectView::lod: return InspectView::normal;
    case InspectView::normal: return InspectView::texcoord;
    case InspectView::texcoord: return InspectView::spans;
    case InspectView::spans: return InspectView::picture;
    }
    return InspectView::picture;
}

std::string_view viewName(InspectView view) {
    switch (view) {
    case InspectView::picture: return "picture";
    case InspectView::depth: return "depth";
    case InspectView::lod: return "lod";
    case InspectView::normal: return "normal";
    case InspectView::texcoord: return "texcoord";
    case InspectView::spans: return "spans";
    }
    return "picture";
}

std::optional<InspectView> viewNamed(std::string_view name) {
    for (const InspectView view : falseColourViews)
        if (viewName(view) == name) return view;
    return std::nullopt;
}

std::vector<float> falseColours(InspectView view, const FrameValues& f, const float background[3]) {
    const size_t count = static_cast<size_t>(f.width) * static_cast<size_t>(f.height);
    std::vector<float> out(count * 3);
    float nearest = INFINITY, farthest = -INFINITY;
    for (size_t i = 0; i < count; ++i)
        if (std::isfinite(f.depth[i])) {
            nearest = std::min(nearest, f.depth[i]);
            farthest = std::max(farthest, f.depth[i]);
        }
    const float range = farthest - nearest;
    for (size_t i = 0; i < count; ++i) {
        float* p = &out[i * 3];
        if (!std::isfinite(f.depth[i])) {
            std::copy_n(background, 3, p);
            continue;
        }
        const FragmentRecord& r = f.records[i];
        Rgb c{0, 0, 0};
        switch (view) {
        case InspectView::picture:
        case InspectView::depth: {
            // Dark to light but never white, so the farthest fragment still stands out from the background.
            const float k = range > 0 ? (f.depth[i] - nearest) / range : 0;
            const float grey = 0.1f + 0.75f * k;
            c = {grey, grey, grey};
            break;
        }
        case InspectView::lod: c = lodColour(r.lod); break;
        case InspectView::normal:
            c = {r.normal.x * 0.5f + 0.5f, r.normal.y * 0.5f + 0.5f, r.normal.z * 0.5f + 0.5f};
            break;
        case InspectView::texcoord: c = {fraction(r.s), fraction(r.t), 0}; break;
        case InspectView::spans: c = spanColours[static_cast<unsigned>(r.span) % 8]; break;
        }
        p[0] = c.r;
        p[1] = c.g;
        p[2] = c.b;
    }
    return out;
}

} // namespace rv
