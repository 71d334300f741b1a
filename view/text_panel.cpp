#include "view/text_panel.h"

#include <algorithm>

namespace rv {

namespace {

// From the window's edge to the panel, and from the panel's edge to its text.
constexpr int margin = 4;
constexpr int padding = 5;
// Between the key column and the text of a panel line.
constexpr int columnGap = 12;
// Between an item and the swatch of the next; around a swatch.
constexpr int swatchGap = 10;
constexpr int swatchTextGap = 4;

// How much a caption says: everything, its items without the extras, or their brief words.
enum class Wording { full, plain, brief };
struct CaptionStyle {
    TextFont font;
    Wording wording;
};
// Full words in a smaller font read better than brief ones in a larger: "180 software only" over "180 sw".
constexpr CaptionStyle captionStyles[] = {
    {TextFont::helvetica18, Wording::full},  {TextFont::helvetica18, Wording::plain},
    {TextFont::helvetica12, Wording::full},  {TextFont::helvetica12, Wording::plain},
    {TextFont::helvetica12, Wording::brief}, {TextFont::helvetica10, Wording::plain},
    {TextFont::helvetica10, Wording::brief}};
constexpr TextFont panelFonts[] = {TextFont::helvetica12, TextFont::helvetica10};

int swatchHeight(TextFont font) { return lineAdvance(font) - fontDescent(font) - 2; }
int swatchWidth(const Swatch& s, TextFont font) { return (s.from == s.to ? 1 : 2) * swatchHeight(font) + 2; }

const std::string& wording(const LegendItem& item, Wording w) {
    static const std::string none;
    if (w == Wording::full) return item.full;
    if (item.extra) return none;
    return w == Wording::brief ? item.brief : item.full;
}

// An item's width on a line; 0 when the wording leaves it out.
int itemWidth(const LegendItem& item, Wording words, TextFont font, const MeasureText& measure) {
    const std::string& text = wording(item, words);
    if (text.empty()) return 0;
    int w = measure(font, text);
    if (item.swatch) w += swatchWidth(*item.swatch, font) + swatchTextGap;
    return w;
}

// The space before an item that follows another on the same line.
int gapBefore(const LegendItem& item, TextFont font, const MeasureText& measure) {
    return item.swatch ? swatchGap : measure(font, " ");
}

struct CaptionLine {
    std::vector<size_t> items;
    int width = 0;
};

// Items flowed into lines no wider than `room`; items wider than `room` alone are left out.
std::vector<CaptionLine> flow(std::span<const LegendItem> items, Wording words, TextFont font, int room,
                              const MeasureText& measure) {
    std::vector<CaptionLine> lines;
    for (size_t i = 0; i < items.size(); ++i) {
        const int w = itemWidth(items[i], words, font, measure);
        if (w == 0 || w > room) continue;
        if (!lines.empty()) {
            CaptionLine& last = lines.back();
            const int joined = last.width + gapBefore(items[i], font, measure) + w;
            if (joined <= room) {
                last.items.push_back(i);
                last.width = joined;
                continue;
            }
        }
        lines.push_back({{i}, w});
    }
    return lines;
}

TextPanel placeCaption(std::span<const LegendItem> items, const std::vector<CaptionLine>& lines, Wording words,
                       TextFont font, const MeasureText& measure) {
    TextPanel panel;
    panel.font = font;
    if (lines.empty()) return panel;
    int widest = 0;
    for (const CaptionLine& line : lines) widest = std::max(widest, line.width);
    const int advance = lineAdvance(font);
    panel.box = {margin, margin, widest + 2 * padding, static_cast<int>(lines.size()) * advance + 2 * padding};
    // The first line at the top, as a person reads.
    int baseline = panel.box.top() - padding - advance + fontDescent(font);
    for (const CaptionLine& line : lines) {
        int x = margin + padding;
        for (size_t k = 0; k < line.items.size(); ++k) {
            const LegendItem& item = items[line.items[k]];
            if (k > 0) x += gapBefore(item, font, measure);
            if (item.swatch) {
                const int w = swatchWidth(*item.swatch, font);
                panel.swatches.push_back({x, baseline, w, swatchHeight(font), *item.swatch});
                x += w + swatchTextGap;
            }
            panel.texts.push_back({x, baseline, wording(item, words)});
            x += measure(font, wording(item, words));
        }
        baseline -= advance;
    }
    return panel;
}

// `text` cut into pieces no wider than `room`: at spaces, and inside a word only where one word is wider.
std::vector<std::string> wrap(const std::string& text, int room, TextFont font, const MeasureText& measure) {
    std::vector<std::string> out;
    std::string line;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find(' ', at);
        if (end == std::string::npos) end = text.size();
        std::string word = text.substr(at, end - at);
        at = end + 1;
        const std::string joined = line.empty() ? word : line + " " + word;
        if (measure(font, joined) <= room) {
            line = joined;
            continue;
        }
        if (!line.empty()) out.push_back(line);
        line.clear();
        while (measure(font, word) > room && word.size() > 1) {
            size_t n = word.size() - 1;
            while (n > 1 && measure(font, word.substr(0, n)) > room) --n;
            out.push_back(word.substr(0, n));
            word.erase(0, n);
        }
        line = word;
    }
    if (!line.empty() || out.empty()) out.push_back(line);
    return out;
}

struct WrappedLine {
    std::string key;
    std::string text;
};

} // namespace

int lineAdvance(TextFont font) {
    switch (font) {
    case TextFont::helvetica18: return 22;
    case TextFont::helvetica12: return 16;
    case TextFont::helvetica10: return 13;
    }
    return 16;
}

int fontDescent(TextFont font) {
    switch (font) {
    case TextFont::helvetica18: return 5;
    case TextFont::helvetica12: return 4;
    case TextFont::helvetica10: return 3;
    }
    return 4;
}

TextPanel layoutCaption(std::span<const LegendItem> items, int width, int height, const MeasureText& measure) {
    const int room = width - 2 * margin - 2 * padding;
    const int roomRows = height - 2 * margin - 2 * padding;
    if (room <= 0 || roomRows <= 0) return {};
    for (const auto [font, words] : captionStyles) {
        if (lineAdvance(font) > roomRows) continue;
        const std::vector<CaptionLine> lines = flow(items, words, font, room, measure);
        size_t wanted = 0;
        for (const LegendItem& item : items) wanted += !wording(item, words).empty();
        if (lines.size() == 1 && lines[0].items.size() == wanted) return placeCaption(items, lines, words, font, measure);
    }
    const TextFont smallest = TextFont::helvetica10;
    std::vector<CaptionLine> lines = flow(items, Wording::brief, smallest, room, measure);
    lines.resize(std::min(lines.size(), static_cast<size_t>(std::max(0, roomRows / lineAdvance(smallest)))));
    return placeCaption(items, lines, Wording::brief, smallest, measure);
}

TextPanel layoutLines(std::span<const PanelLine> lines, PanelBox area, const MeasureText& measure) {
    const int roomRows = area.height - 2 * padding;
    for (size_t f = 0; f < std::size(panelFonts); ++f) {
        const TextFont font = panelFonts[f];
        const bool last = f + 1 == std::size(panelFonts);
        int keyColumn = 0;
        for (const PanelLine& line : lines)
            if (!line.key.empty()) keyColumn = std::max(keyColumn, measure(font, line.key) + columnGap);
        // A key column that leaves the text too little room goes on lines of its own.
        const int room = area.width - 2 * padding;
        const bool keysAbove = room - keyColumn < room / 2;
        const int textRoom = keysAbove ? room : room - keyColumn;
        if (textRoom <= 0 || roomRows < lineAdvance(font)) {
            if (last) return {};
            continue;
        }
        std::vector<WrappedLine> wrapped;
        for (const PanelLine& line : lines) {
            if (keysAbove && !line.key.empty()) wrapped.push_back({line.key, ""});
            const std::vector<std::string> pieces = wrap(line.text, textRoom, font, measure);
            for (size_t i = 0; i < pieces.size(); ++i)
                wrapped.push_back({i == 0 && !keysAbove ? line.key : "", pieces[i]});
        }
        const size_t fitting = static_cast<size_t>(roomRows / lineAdvance(font));
        if (wrapped.size() > fitting) {
            if (!last) continue;
            wrapped.resize(fitting);
            wrapped.back() = {"", "... (a larger window shows the rest)"};
            wrapped.back().text = wrap(wrapped.back().text, textRoom, font, measure).front();
        }
        TextPanel panel;
        panel.font = font;
        int widest = 0;
        const int textX = keysAbove ? 0 : keyColumn;
        for (const WrappedLine& line : wrapped) {
            if (!line.key.empty()) widest = std::max(widest, measure(font, line.key));
            if (!line.text.empty()) widest = std::max(widest, textX + measure(font, line.text));
        }
        // Only where a single character is wider than the room.
        if (widest > room) {
            if (last) return {};
            continue;
        }
        const int advance = lineAdvance(font);
        const int panelHeight = static_cast<int>(wrapped.size()) * advance + 2 * padding;
        panel.box = {area.x, area.top() - panelHeight, widest + 2 * padding, panelHeight};
        int baseline = panel.box.top() - padding - advance + fontDescent(font);
        for (const WrappedLine& line : wrapped) {
            if (!line.key.empty()) panel.texts.push_back({area.x + padding, baseline, line.key});
            if (!line.text.empty()) panel.texts.push_back({area.x + padding + textX, baseline, line.text});
            baseline -= advance;
        }
        return panel;
    }
    return {};
}

} // namespace rv
