#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rv {

// Where our own text goes in the window and in which font, worked out without
// GL so that fitting is tested; the GL layer only draws the result. Positions
// are window pixels from the lower-left corner.

// GLUT's Helvetica bitmap fonts, largest first.
enum class TextFont { helvetica18, helvetica12, helvetica10 };

// Pixels from one baseline to the next; the ascent above the baseline, descent below.
int lineAdvance(TextFont font);
int fontDescent(TextFont font);

// Width in pixels of `text` drawn in `font`, as the window draws it.
using MeasureText = std::function<int(TextFont font, std::string_view text)>;

struct Rgb8 {
    std::uint8_t r, g, b;
    bool operator==(const Rgb8&) const = default;
};

// A legend's colour sample: one colour (`to` equal to `from`), or a ramp from left to right.
struct Swatch {
    Rgb8 from, to;
};

// One entry of a caption: an optional swatch, then its words. `brief` serves
// narrow windows and keeps every number of `full`. An `extra` entry (a title,
// a hint) is shown only where the whole caption fits in full words.
struct LegendItem {
    std::optional<Swatch> swatch;
    std::string full;
    std::string brief;
    bool extra = false;
};

struct PanelText {
    // Start of the baseline.
    int x, y;
    std::string text;
};

struct PanelSwatch {
    int x, y, width, height;
    Swatch swatch;
};

struct PanelBox {
    int x = 0, y = 0, width = 0, height = 0;
    int top() const { return y + height; }
    int right() const { return x + width; }
};

// A translucent dark panel with light text and swatches on it. An empty box: nothing fits, nothing is drawn.
struct TextPanel {
    PanelBox box;
    TextFont font = TextFont::helvetica12;
    std::vector<PanelText> texts;
    std::vector<PanelSwatch> swatches;

    bool shown() const { return box.width > 0 && box.height > 0; }
};

// A caption along the bottom-left edge of a width x height window: the first
// of (largest font, full words), (largest, full without the extras), (middle
// font, full), ... (smallest, brief) that holds every item on one line; failing all, the smallest font and brief words
// flowed over as many lines as fit, whole items only. An item is never cut: one
// that does not fit even alone is left out, so no number is ever shown in part.
TextPanel layoutCaption(std::span<const LegendItem> items, int width, int height, const MeasureText& measure);

// One line of a text panel: a key column (may be empty) and its text.
struct PanelLine {
    std::string key;
    std::string text;
};

// Lines in a panel whose top-left corner is at the top-left of `area`, in the
// larger font that shows them all in `area`, text wrapped at spaces (at any
// character for a word wider than the panel, such as a long path). When even
// the smaller font leaves lines over, the last line that fits says so.
TextPanel layoutLines(std::span<const PanelLine> lines, PanelBox area, const MeasureText& measure);

} // namespace rv
