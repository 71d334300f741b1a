#include "app/key_table.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

#include "app/notice.h"
#include "app/viewer_options.h"
#include "app/window_text.h"

namespace rv {

namespace {

int fakeWidth(TextFont font, std::string_view text) {
    return (font == TextFont::helvetica18 ? 10 : font == TextFont::helvetica12 ? 7 : 6) * static_cast<int>(text.size());
}

TEST(KeyTable, NoKeyActsTwiceAndUpperCaseLettersNever) {
    std::map<char, int> uses;
    for (const KeyBinding& b : keyBindings())
        for (const char c : b.codes) ++uses[c];
    for (const auto& [code, n] : uses) {
        EXPECT_EQ(n, 1) << "key " << code;
        EXPECT_FALSE(code >= 'A' && code <= 'Z') << "letters are case-sensitive: " << code;
    }
}

// --help lists every key and mouse action, in its 78 columns.
TEST(KeyTable, HelpListsEveryActionWithinItsColumns) {
    const std::string& help = viewerUsageText();
    for (const KeyBinding& b : keyBindings()) EXPECT_NE(help.find("  " + std::string(b.names) + " "), std::string::npos) << b.names;
    for (const MouseBinding& m : mouseBindings()) EXPECT_NE(help.find("  " + std::string(m.gesture) + " "), std::string::npos) << m.gesture;
    std::istringstream lines(help);
    for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 78u) << line;
}

// The overlay states what the window is doing, each line read from the state it names.
TEST(KeyTable, OverlayStatesTheStateBeforeTheKeys) {
    Scene scene;
    scene.useOpenGL = false;
    scene.mipmapping = false;
    ViewState view;
    view.present = Presentation::image;
    view.inspect = InspectView::lod;
    const WindowFacts facts{3, "AVX2", 640, 480, 12.345};
    const std::vector<PanelLine> lines = overlayLines(scene, view, facts);
    std::map<std::string, std::string> state;
    for (const PanelLine& line : lines) state.emplace(line.key, line.text);
    EXPECT_EQ(state["renderer"], "software");
    EXPECT_EQ(state["mip-mapping"], "off");
    EXPECT_EQ(state["clipping"], "on");
    EXPECT_EQ(state["false-colour view"], "lod");
    EXPECT_EQ(state["threads"], "3");
    EXPECT_EQ(state["presentation"], "one image");
    EXPECT_EQ(state["SIMD target"], "AVX2");
    EXPECT_EQ(state["window"], "640 x 480");
    EXPECT_EQ(state["last frame"], "12.3 ms");
    EXPECT_EQ(lines.front().key, "renderer");
    view.display = Display::difference;
    EXPECT_EQ(overlayLines(scene, view, facts).front().text, "difference of both");
    // Lighting is the OpenGL path's, shown once a key switches it.
    EXPECT_EQ(state.count("OpenGL lighting"), applyKey(scene, view, 'l').effect != InputEffect::none ? 1u : 0u);
}

// A notice's own timer ends it; an earlier notice's timer leaves a later one its full time.
TEST(Notice, OnlyItsOwnTimerEndsANotice) {
    Notice notice;
    EXPECT_FALSE(notice.visible());
    const int first = notice.show("mip-mapping off");
    const int second = notice.show("mip-mapping on");
    EXPECT_EQ(notice.text(), "mip-mapping on");
    EXPECT_FALSE(notice.expire(first));
    EXPECT_TRUE(notice.visible());
    EXPECT_TRUE(notice.expire(second));
    EXPECT_FALSE(notice.visible());
    EXPECT_FALSE(notice.expire(second)) << "nothing left to redraw for";
}

// The notice along the top, the overlay below it, both inside the window.
TEST(WindowText, NoticeOnTopAndOverlayBelowIt) {
    Scene scene;
    const std::vector<PanelLine> overlay = overlayLines(scene, ViewState{}, WindowFacts{2, "SSE4", 480, 480, 3});
    const WindowText both = layoutWindowText("mip-mapping off", overlay, 480, 480, fakeWidth);
    ASSERT_TRUE(both.notice.shown() && both.overlay.shown());
    EXPECT_EQ(both.notice.box.top(), 476);
    EXPECT_LT(both.overlay.box.top(), both.notice.box.y);
    EXPECT_GE(both.overlay.box.y, 0);
    EXPECT_FALSE(layoutWindowText("", {}, 480, 480, fakeWidth).notice.shown());
    const WindowText tiny = layoutWindowText("mip-mapping off", overlay, 3, 3, fakeWidth);
    EXPECT_FALSE(tiny.notice.shown() || tiny.overlay.shown());
}

} // namespace

} // namespace rv
