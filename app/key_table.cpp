#include "app/key_table.h"

#include <algorithm>
#include <cstdio>

namespace rv {

const std::string_view presentationSpeeds =
    "one image is faster at every size measured, by most where the square fills a large window "
    "(README.md, performance table: figures measured by scripts/make-numbers.py)";

namespace {

const char* onOff(bool on) { return on ? "on" : "off"; }

const char* presentationName(Presentation p) { return p == Presentation::image ? "one image" : "GL points"; }

KeyOutcome redraw(std::string notice = {}) { return {InputEffect::redraw, std::move(notice)}; }

constexpr KeyBinding bindings[] = {
    {"h?", "h, ?, F1", "these keys and the state on/off",
     [](Scene&, ViewState& v) {
         v.overlay = !v.overlay;
         return redraw();
     }},
    {"g", "g", "OpenGL / software renderer; from the difference view, back to the renderer",
     [](Scene& s, ViewState& v) {
         // Leaving the difference view must not also swap the renderer, or 'd' 'g'
         // would land on the other renderer than the one the person had chosen.
         if (v.display == Display::difference)
             v.display = Display::renderer;
         else
             s.useOpenGL = !s.useOpenGL;
         return redraw();
     }},
    {"d", "d", "difference of both renderers / back",
     [](Scene&, ViewState& v) {
         v.display = v.display == Display::difference ? Display::renderer : Display::difference;
         return redraw();
     }},
    {"a", "a", "mip-mapping on/off (both renderers)",
     [](Scene& s, ViewState&) {
         s.mipmapping = !s.mipmapping;
         return redraw(std::string("mip-mapping ") + onOff(s.mipmapping));
     }},
    {"c", "c", "clipping of the software path on/off",
     [](Scene& s, ViewState&) {
         s.clipping = !s.clipping;
         return redraw(std::string("software clipping ") + onOff(s.clipping) +
                       (s.clipping ? "" : ": what lies behind the eye shows mirrored"));
     }},
    {"l", "l", "lighting of the OpenGL path on/off (the software path always lights)",
     [](Scene& s, ViewState&) {
         s.lightingEnabled = !s.lightingEnabled;
         return redraw(std::string("OpenGL lighting ") + onOff(s.lightingEnabled));
     }},
    {"v", "v", "false-colour views of the software frame: depth, lod, normal, texcoord, spans",
     [](Scene& s, ViewState& v) -> KeyOutcome {
         // The views show the software frame's own values; the OpenGL path and the difference have none.
         if (s.useOpenGL || v.display == Display::difference)
             return redraw("v shows the software frame's false-colour views: switch to the software path first (g)");
         v.inspect = nextView(v.inspect);
         return redraw();
     }},
    {"p", "p", "software frame as GL points / one image",
     [](Scene&, ViewState& v) {
         v.present = v.present == Presentation::points ? Presentation::image : Presentation::points;
         return redraw(std::string("software frame as ") + presentationName(v.present) +
                       (v.present == Presentation::image ? " (the faster)" : " (the slower)") +
                       "; the same pixels either way");
     }},
    {"r", "r", "back to the start-up view (spin, tilt, zoom, pan)",
     [](Scene&, ViewState& v) {
         v.pose = ViewPose{};
         return redraw();
     }},
    {"s", "s", "save the view's software, OpenGL and difference pictures",
     [](Scene&, ViewState&) { return KeyOutcome{InputEffect::save, {}}; }},
    {"q\x1b", "q, ESC", "quit", [](Scene&, ViewState&) { return KeyOutcome{InputEffect::quit, {}}; }},
};

constexpr MouseBinding mouseActions[] = {
    {"left drag", "spin and tilt"},
    {"right drag", "pan"},
    {"wheel", "zoom in and out"},
};

std::string frameTime(double ms) {
    if (ms < 0) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f ms", ms);
    return text;
}

constexpr StateLine states[] = {
    {"renderer",
     [](const Scene& s, const ViewState& v, const WindowFacts&) -> std::string {
         if (v.display == Display::difference) return "difference of both";
         return s.useOpenGL ? "OpenGL" : "software";
     }},
    {"mip-mapping", [](const Scene& s, const ViewState&, const WindowFacts&) -> std::string { return onOff(s.mipmapping); }},
    {"clipping", [](const Scene& s, const ViewState&, const WindowFacts&) -> std::string { return onOff(s.clipping); }},
    {"OpenGL lighting",
     [](const Scene& s, const ViewState&, const WindowFacts&) -> std::string { return onOff(s.lightingEnabled); }, 'l'},
    {"false-colour view",
     [](const Scene&, const ViewState& v, const WindowFacts&) { return std::string(viewName(v.inspect)); }},
    {"threads", [](const Scene&, const ViewState&, const WindowFacts& f) { return std::to_string(f.threads); }},
    {"presentation",
     [](const Scene&, const ViewState& v, const WindowFacts&) -> std::string { return presentationName(v.present); }},
    {"SIMD target", [](const Scene&, const ViewState&, const WindowFacts& f) { return f.simdTarget; }},
    {"window",
     [](const Scene&, const ViewState&, const WindowFacts& f) {
         return std::to_string(f.width) + " x " + std::to_string(f.height);
     }},
    {"last frame", [](const Scene&, const ViewState&, const WindowFacts& f) { return frameTime(f.lastFrameMs); }},
};

bool hasKey(char code) {
    for (const KeyBinding& b : bindings)
        if (b.codes.find(code) != std::string_view::npos) return true;
    return false;
}

} // namespace

std::span<const KeyBinding> keyBindings() { return bindings; }
std::span<const MouseBinding> mouseBindings() { return mouseActions; }
std::span<const StateLine> stateLines() { return states; }

std::vector<PanelLine> overlayLines(const Scene& scene, const ViewState& view, const WindowFacts& facts) {
    std::vector<PanelLine> lines;
    for (const StateLine& state : states)
        if (!state.onlyWithKey || hasKey(state.onlyWithKey))
            lines.push_back({std::string(state.name), state.value(scene, view, facts)});
    lines.push_back({"", ""});
    for (const KeyBinding& b : bindings) lines.push_back({std::string(b.names), std::string(b.does)});
    for (const MouseBinding& m : mouseActions) lines.push_back({std::string(m.gesture), std::string(m.does)});
    lines.push_back({"", "GL points or one image: " + std::string(presentationSpeeds)});
    return lines;
}

std::string helpDescription(std::string_view text) {
    constexpr size_t column = 22, width = 78 - column;
    std::string out, line;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find(' ', at);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view word = text.substr(at, end - at);
        if (!line.empty() && line.size() + 1 + word.size() > width) {
            out += line + "\n" + std::string(column, ' ');
            line.clear();
        }
        line += (line.empty() ? "" : " ") + std::string(word);
        at = end + 1;
    }
    return out + line;
}

std::string keysHelpText() {
    std::string text;
    auto line = [&](std::string_view names, std::string_view does) {
        std::string row = "  " + std::string(names);
        row.resize(std::max<size_t>(row.size() + 1, 22), ' ');
        text += row + helpDescription(does) + "\n";
    };
    for (const KeyBinding& b : bindings) line(b.names, b.does);
    for (const MouseBinding& m : mouseActions) line(m.gesture, m.does);
    return text;
}

} // namespace rv
