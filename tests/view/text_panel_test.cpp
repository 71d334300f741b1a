#include "view/text_panel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "picture/difference.h"
#include "view/legends.h"

namespace rv {

namespace {

// Fixed-width stand-ins for GLUT's fonts: 10, 7 and 6 pixels a character.
int fakeWidth(TextFont font, std::string_view text) {
    const int each = font == TextFont::helvetica18 ? 10 : font == TextFont::helvetica12 ? 7 : 6;
    return each * static_cast<int>(text.size());
}

DifferenceCounts counts() {
    DifferenceCounts c;
    c.both = 21630;
    c.equal = 37;
    c.softwareOnly = 180;
    c.openglOnly = 172;
    return c;
}

// Everything the panel draws lies inside the window.
void expectInside(const TextPanel& panel, int width, int height) {
    if (!panel.shown()) return;
    EXPECT_GE(panel.box.x, 0);
    EXPECT_GE(panel.box.y, 0);
    EXPECT_LE(panel.box.right(), width);
    EXPECT_LE(panel.box.top(), height);
    for (const PanelText& t : panel.texts) {
        EXPECT_GE(t.x, panel.box.x);
        EXPECT_LE(t.x + fakeWidth(panel.font, t.text), panel.box.right()) << t.text;
        EXPECT_GE(t.y - fontDescent(panel.font), panel.box.y) << t.text;
        EXPECT_LE(t.y + lineAdvance(panel.font) - fontDescent(panel.font), panel.box.top()) << t.text;
    }
    for (const PanelSwatch& s : panel.swatches) {
        EXPECT_GE(s.x, panel.box.x);
        EXPECT_LE(s.x + s.width, panel.box.right());
    }
}

struct CaptionCase {
    int width, height;
    TextFont font;
    // Lines of text; 0 when nothing fits.
    size_t lines;
    bool brief;
};

class Caption : public ::testing::TestWithParam<CaptionCase> {};

// Full words in the largest font where there is room, then a smaller font, then
// brief words, then several lines; never past the window's edge.
TEST_P(Caption, FitsTheWindowWithTheLargestFontAndFullestWordsThatFit) {
    const CaptionCase c = GetParam();
    const std::vector<LegendItem> items = differenceLegend(counts());
    const TextPanel panel = layoutCaption(items, c.width, c.height, fakeWidth);
    expectInside(panel, c.width, c.height);
    std::set<int> baselines;
    for (const PanelText& t : panel.texts) baselines.insert(t.y);
    EXPECT_EQ(baselines.size(), c.lines);
    if (c.lines == 0) return;
    EXPECT_EQ(panel.font, c.font);
    const bool brief = std::any_of(panel.texts.begin(), panel.texts.end(), [](const PanelText& t) {
        return t.text.find("sw") != std::string::npos && t.text.find("software") == std::string::npos;
    });
    EXPECT_EQ(brief, c.brief);
}

INSTANTIATE_TEST_SUITE_P(Sizes, Caption,
                         ::testing::Values(CaptionCase{1920, 1080, TextFont::helvetica18, 1, false},
                                           CaptionCase{640, 480, TextFont::helvetica12, 1, false},
                                           CaptionCase{320, 300, TextFont::helvetica12, 1, true},
                                           CaptionCase{300, 300, TextFont::helvetica10, 1, true},
                                           CaptionCase{200, 150, TextFont::helvetica10, 2, true},
                                           CaptionCase{100, 150, TextFont::helvetica10, 4, true},
                                           CaptionCase{200, 20, TextFont::helvetica10, 0, true},
                                           CaptionCase{1, 1, TextFont::helvetica10, 0, true}));

// The title and the hint go first where the window is too narrow for them, before the font shrinks.
TEST(Caption, ExtrasGoBeforeTheFontShrinks) {
    const std::vector<LegendItem> items = differenceLegend(counts());
    auto titled = [](const TextPanel& p) { return !p.texts.empty() && p.texts.front().text == "difference:"; };
    const TextPanel wide = layoutCaption(items, 1920, 1080, fakeWidth), narrower = layoutCaption(items, 700, 480, fakeWidth);
    EXPECT_TRUE(titled(wide));
    EXPECT_FALSE(titled(narrower));
    EXPECT_EQ(narrower.font, TextFont::helvetica18);
}

// An item is shown whole or not at all: every text drawn is one item's wording,
// so a count is never cut; where the window is too low for all lines, the first stay.
TEST(Caption, ShowsItemsWholeOrNotAtAll) {
    const std::vector<LegendItem> items = differenceLegend(counts());
    for (const auto& [width, height] : {std::pair{50, 200}, std::pair{120, 40}, std::pair{90, 30}, std::pair{480, 480}}) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        const TextPanel panel = layoutCaption(items, width, height, fakeWidth);
        expectInside(panel, width, height);
        for (const PanelText& t : panel.texts)
            EXPECT_TRUE(std::any_of(items.begin(), items.end(),
                                    [&](const LegendItem& i) { return t.text == i.full || t.text == i.brief; }))
                << t.text;
    }
    const TextPanel low = layoutCaption(items, 90, 40, fakeWidth);
    ASSERT_FALSE(low.texts.empty());
    EXPECT_EQ(low.texts.front().text, items[1].brief) << "the first items stay";
}

// The legend's swatches are the colours the difference picture paints, in its order.
TEST(Caption, DifferenceLegendSwatchesAreThePicturesColours) {
    const int w = 4;
    Snapshot software{RgbImage8(w, 1), {1, 1, 1, 0}}, opengl{RgbImage8(w, 1), {1, 1, 0, 1}};
    // Pixel 0 alike, pixel 1 differing by 1 and 255 elsewhere: only the ends of the ramp.
    software.picture.pixel(1, 0)[0] = 1;
    DifferenceCounts c;
    const RgbImage8 one = differenceImage(software, opengl, c);
    software.picture.pixel(1, 0)[0] = 255;
    const RgbImage8 full = differenceImage(software, opengl, c);
    const std::vector<LegendItem> legend = differenceLegend(c);
    std::vector<Swatch> swatches;
    for (const LegendItem& item : legend)
        if (item.swatch) swatches.push_back(*item.swatch);
    auto rgb = [](const std::uint8_t* p) { return Rgb8{p[0], p[1], p[2]}; };
    ASSERT_EQ(swatches.size(), 4u);
    EXPECT_EQ(swatches[1].from, rgb(one.pixel(1, 0))) << "differing by 1: yellow";
    EXPECT_EQ(swatches[1].to, rgb(full.pixel(1, 0))) << "differing by 255: dark red";
    EXPECT_EQ(swatches[2].from, rgb(full.pixel(2, 0))) << "software only";
    EXPECT_EQ(swatches[3].from, rgb(full.pixel(3, 0))) << "OpenGL only";
    EXPECT_NE(legend[2].full.find("1 differ"), std::string::npos) << legend[2].full;
}

TEST(Caption, EveryFalseColourViewHasALegendAndTheKeyToTheNext) {
    for (const InspectView view : falseColourViews) {
        const std::vector<LegendItem> legend = falseColourLegend(view);
        ASSERT_GE(legend.size(), 2u);
        EXPECT_EQ(legend.front().full.substr(0, viewName(view).size()), viewName(view));
        EXPECT_EQ(legend.back().full, "(v: next view)");
    }
    EXPECT_TRUE(falseColourLegend(InspectView::picture).empty());
}

struct LinesCase {
    int width, height;
    TextFont font;
};

class Lines : public ::testing::TestWithParam<LinesCase> {};

// The overlay's kind of panel: a key column, text wrapped at spaces, a long
// path broken where it must, and a last line saying what did not fit.
TEST_P(Lines, WrapInsideTheAreaAndSayWhenLinesAreLeftOut) {
    const LinesCase c = GetParam();
    const std::vector<PanelLine> lines = {
        {"renderer", "software"},
        {"", ""},
        {"h, ?, F1", "these keys and the state on/off"},
        {"v", "false-colour views of the software frame: depth, lod, normal, texcoord, spans"},
        {"", "saved /a/very/long/directory/name/without/any/space/view-1-software.png"},
    };
    const PanelBox area{4, 4, c.width - 8, c.height - 8};
    const TextPanel panel = layoutLines(lines, area, fakeWidth);
    ASSERT_TRUE(panel.shown());
    expectInside(panel, c.width, c.height);
    EXPECT_EQ(panel.font, c.font);
    EXPECT_EQ(panel.box.top(), area.top()) << "from the top of the area";
    std::string all;
    for (const PanelText& t : panel.texts) all += t.text;
    const bool cut = all.find("...") != std::string::npos;
    EXPECT_EQ(cut, all.find("view-1-software.png") == std::string::npos && all.find("png") == std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Sizes, Lines,
                         ::testing::Values(LinesCase{480, 480, TextFont::helvetica12},
                                           LinesCase{200, 150, TextFont::helvetica10},
                                           LinesCase{120, 60, TextFont::helvetica10}));

TEST(Lines, NothingWhereNothingFits) {
    const std::vector<PanelLine> lines = {{"key", "text"}};
    EXPECT_FALSE(layoutLines(lines, {0, 0, 0, 0}, fakeWidth).shown());
    EXPECT_FALSE(layoutLines(lines, {0, 0, 400, 5}, fakeWidth).shown());
    EXPECT_FALSE(layoutLines(lines, {0, 0, 14, 400}, fakeWidth).shown());
}

} // namespace

} // namespace rv
