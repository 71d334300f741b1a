#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/view_controls.h"
#include "view/text_panel.h"

namespace rv {

// Every key and mouse action of the window in one place: the keyboard callback
// acts through it, and the keys overlay and --help list it, so none of them can
// drift from the others. A new key is one entry of keyBindings (its notice
// included) and, when it has a state to show, one entry of stateLines.

struct KeyBinding {
    // The characters that act; letters are case-sensitive.
    std::string_view codes;
    // As the overlay and --help name the keys.
    std::string_view names;
    std::string_view does;
    KeyOutcome (*apply)(Scene& scene, ViewState& view);
};

std::span<const KeyBinding> keyBindings();

struct MouseBinding {
    std::string_view gesture;
    std::string_view does;
};

std::span<const MouseBinding> mouseBindings();

// What the overlay states besides the scene and the view.
struct WindowFacts {
    int threads = 1;
    std::string simdTarget;
    int width = 0, height = 0;
    // The last frame's picture, to glFinish; negative before the first.
    double lastFrameMs = -1;
};

struct StateLine {
    std::string_view name;
    std::string (*value)(const Scene& scene, const ViewState& view, const WindowFacts& facts);
    // Shown only while a key binding acts on this character (0: always).
    char onlyWithKey = 0;
};

std::span<const StateLine> stateLines();

// The overlay's lines: the state first, then every key and mouse action.
std::vector<PanelLine> overlayLines(const Scene& scene, const ViewState& view, const WindowFacts& facts);

// The keys and mouse as --help lists them, one action per entry.
std::string keysHelpText();

// `text` in --help's description column: lines of up to 78 characters, the
// later ones indented to column 22, the first left for the caller to place.
std::string helpDescription(std::string_view text);

// What each presentation costs, measured, for --help, the overlay and the notice of 'p'.
extern const std::string_view presentationSpeeds;

} // namespace rv
