// The real viewer on a private Xvfb, used as a person would: look at the
// window, press keys, drag and turn the wheel, and judge the pictures.
#include <X11/keysym.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <utility>
#include <vector>

#include "picture/png_file.h"
#include "tests/e2e/notice_check.h"
#include "tests/e2e/picture.h"
#include "tests/e2e/viewer_run.h"
#include "tests/rastershot/tool_run.h"

namespace rv {

namespace {

using namespace std::chrono_literals;

constexpr int leftButton = 1, rightButton = 3, wheelUp = 4, wheelDown = 5;

// The caption starts at (10, 10) from the lower-left corner; descenders reach a few rows lower.
bool inCaptionArea(const RgbImage8& image, int x, int rowFromTop) {
    const int row = glRow(image, rowFromTop);
    return x >= 8 && x <= 320 && row >= 3 && row <= 30;
}

long darkOutsideCaption(const RgbImage8& image) {
    long n = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) n += isDark(image.pixel(x, y)) && !inCaptionArea(image, x, y);
    return n;
}

long darkInsideCaption(const RgbImage8& image) {
    long n = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) n += isDark(image.pixel(x, y)) && inCaptionArea(image, x, y);
    return n;
}

bool isTile(const std::uint8_t* p) { return near(p, 0.80, 0.50, 0.20, 0.05); }
bool isGrout(const std::uint8_t* p) { return near(p, 0.80, 0.78, 0.72, 0.05); }

// Mean row of the square's pixels in one column.
double meanSquareRow(const RgbImage8& image, int x) {
    double sum = 0;
    int n = 0;
    for (int y = 0; y < image.height; ++y)
        if (isSquare(image.pixel(x, y))) {
            sum += y;
            ++n;
        }
    return n ? sum / n : -1;
}

class ViewerTest : public ::testing::Test {
protected:
    std::unique_ptr<ViewerRun> run;
    // The first settled picture: the OpenGL path at the start-up view.
    RgbImage8 start;

    void SetUp() override { launch(RV_VIEWER); }

    void launch(const char* program) {
        run = std::make_unique<ViewerRun>(program);
        start = keep("start", run->settled());
    }

    // Kept to be saved as PNG files if the test fails, for a person to look at.
    RgbImage8 keep(const std::string& label, RgbImage8 picture) {
        shots.emplace_back(label, picture);
        return picture;
    }

    void expectQuitBy(unsigned long keysym) {
        run->typeKey(keysym);
        const std::optional<int> status = run->waitForExit(5s);
        ASSERT_TRUE(status) << "the viewer is still running";
        EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << "the viewer " << describeWaitStatus(*status);
    }

    void TearDown() override {
        if (!HasFailure()) return;
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::filesystem::path dir = RV_FAILED_SHOTS_DIR;
        std::filesystem::create_directories(dir);
        for (const auto& [label, picture] : shots) {
            const std::string path = (dir / (std::string(test->test_suite_name()) + "." + test->name() + "-" + label + ".png")).string();
            std::string error;
            if (writePng(path, picture, &error))
                std::cerr << "screenshot: " << path << "\n";
            else
                std::cerr << "could not save a screenshot: " << error << "\n";
        }
    }

private:
    std::vector<std::pair<std::string, RgbImage8>> shots;
};

TEST_F(ViewerTest, StartsWithCaptionAndTiledSquareCentredOnWhite) {
    ASSERT_EQ(start.width, 480);
    ASSERT_EQ(start.height, 480);
    for (int x = 0; x < start.width; ++x) {
        EXPECT_TRUE(isWhite(start.pixel(x, 0))) << "top row, x " << x;
        EXPECT_TRUE(isWhite(start.pixel(x, 479))) << "bottom row, x " << x;
    }

    const Census caption = census(start, isDark);
    EXPECT_GT(darkInsideCaption(start), 500);
    EXPECT_EQ(darkOutsideCaption(start), 0);
    EXPECT_GE(caption.bounds.left, 10);
    EXPECT_LE(caption.bounds.left, 12);
    EXPECT_LE(glRow(start, caption.bounds.bottom), 10) << "lowest caption row";
    EXPECT_GE(glRow(start, caption.bounds.top), 18) << "highest caption row";

    // Seen turned by -135 degrees, the square's side corners lie on the horizontal
    // through its centre, the projected origin at the window centre.
    const Census square = census(start, isSquare);
    ASSERT_GT(square.count, 10000);
    EXPECT_NEAR(square.bounds.centreX(), 239.5, 1.5);
    EXPECT_NEAR(meanSquareRow(start, square.bounds.left), 239.5, 3);
    EXPECT_NEAR(meanSquareRow(start, square.bounds.right), 239.5, 3);
    EXPECT_TRUE(isSquare(start.pixel(240, 239)));
    EXPECT_TRUE(square.bounds.top > 60 && square.bounds.bottom < 420) << "the whole square is in view";

    EXPECT_GT(census(start, isTile).count, square.count / 2);
    EXPECT_GT(census(start, isGrout).count, 200);
    EXPECT_EQ(run->output(), "");
}

TEST_F(ViewerTest, FilterKeyChangesThePictureAndASecondPressRestoresItExactly) {
    run->typeKey(XK_a);
    const RgbImage8 nearest = keep("after-a", expectNoticeComesAndGoes(*run, start));
    EXPECT_NE(nearest, start);
    EXPECT_EQ(silhouetteDifference(nearest, start), 0) << "filtering changes colours, not the outline";
    // Nearest texels show the grout at full colour where mip-mapping blends it away.
    EXPECT_GT(census(nearest, isGrout).count, census(start, isGrout).count);

    run->typeKey(XK_a);
    const RgbImage8 back = keep("after-a-a", expectNoticeComesAndGoes(*run, nearest));
    EXPECT_EQ(back, start);
}

TEST_F(ViewerTest, LeftDragTurnsTheSquare) {
    run->drag(leftButton, 30, 0);
    const RgbImage8 turned = keep("after-left-drag", run->changedFrom(start));
    EXPECT_GT(silhouetteDifference(turned, start), 1000);
    EXPECT_EQ(darkOutsideCaption(turned), 0);
}

TEST_F(ViewerTest, RightDragPansTheSquareWithThePointer) {
    const Census before = census(start, isSquare);
    run->drag(rightButton, 30, 20);
    const RgbImage8 panned = keep("after-right-drag", run->changedFrom(start));
    const Census after = census(panned, isSquare);
    // 0.3 units right and 0.2 down at about 2.9 units from the eye: some 60 and 40 pixels.
    EXPECT_GT(after.meanX - before.meanX, 40);
    EXPECT_LT(after.meanX - before.meanX, 80);
    EXPECT_GT(after.meanY - before.meanY, 25);
    EXPECT_LT(after.meanY - before.meanY, 60);
}

TEST_F(ViewerTest, WheelUpEnlargesAndWheelDownShrinks) {
    const long size = census(start, isSquare).count;
    run->wheel(wheelUp);
    const RgbImage8 nearer = keep("after-wheel-up", run->changedFrom(start));
    EXPECT_GT(census(nearer, isSquare).count, size * 5 / 4);

    run->wheel(wheelDown);
    const RgbImage8 back = keep("after-wheel-up-down", run->changedFrom(nearer));
    EXPECT_EQ(back, start);

    run->wheel(wheelDown);
    const RgbImage8 farther = keep("after-wheel-up-down-down", run->changedFrom(back));
    EXPECT_LT(census(farther, isSquare).count, size * 4 / 5);
}

TEST_F(ViewerTest, UpperCaseKeysChangeNothing) {
    run->typeKey(XK_a);
    const RgbImage8 nearest = keep("after-a", expectNoticeComesAndGoes(*run, start));
    run->typeKey(XK_a);
    keep("after-a-a", expectNoticeComesAndGoes(*run, nearest));

    for (const unsigned long key : {XK_A, XK_G, XK_H, XK_P, XK_R, XK_Q}) run->typeKey(key, true);
    EXPECT_EQ(keep("after-AGHPRQ", run->changedFrom(start, 300ms)), start);
    ASSERT_TRUE(run->running());
    // Events are handled in order, so once 'a' shows, the upper-case keys were seen
    // and must have left filtering, renderer and program as they were.
    run->typeKey(XK_a);
    EXPECT_EQ(keep("after-AGHPRQ-a", expectNoticeComesAndGoes(*run, start)), nearest);
    EXPECT_TRUE(run->running());
}

TEST_F(ViewerTest, SoftwarePathHasNoCaptionAndGBringsTheReferenceBackExactly) {
    const PixelBox square = census(start, isSquare).bounds;
    run->typeKey(XK_g);
    const RgbImage8 software = keep("after-g", run->changedFrom(start));
    EXPECT_EQ(darkInsideCaption(software), 0);
    // Both paths draw the same square with the same matrices: away from it the window stays white.
    long strayPixels = 0;
    for (int y = 0; y < software.height; ++y)
        for (int x = 0; x < software.width; ++x)
            if (!(x >= square.left - 3 && x <= square.right + 3 && y >= square.top - 3 && y <= square.bottom + 3))
                strayPixels += !isWhite(software.pixel(x, y));
    EXPECT_EQ(strayPixels, 0);

    run->typeKey(XK_g);
    EXPECT_EQ(keep("after-g-g", run->changedFrom(software)), start);
}

// Tile pixels by hue alone, whatever their brightness: lit, shaded or unlit orange.
bool isOrangeHue(const std::uint8_t* p) {
    if (p[0] < 40) return false;
    const double g = p[1] / double(p[0]), b = p[2] / double(p[0]);
    return g > 0.55 && g < 0.68 && b > 0.15 && b < 0.35;
}

// A specular highlight can saturate every channel, and then a lit pixel is as
// white as the background. Inside a highlight it is told from a hole by its
// neighbours, whose red is saturated too; single sparkles where the bumps are
// steepest have no such neighbours and are left to the caller's allowance.
bool isSaturatedHighlight(const RgbImage8& image, int x, int y) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const int u = x + dx, v = y + dy;
            if (u < 0 || v < 0 || u >= image.width || v >= image.height) continue;
            const std::uint8_t* p = image.pixel(u, v);
            if (!isWhite(p) && p[0] == 255) return true;
        }
    return false;
}

// Pixels where one picture has the square and the other has not, except within
// `margin` pixels of the reference picture's outline, where rounding of the
// polygon edges may differ between the two renderers, and in the caption's area,
// whose grey anti-aliased pixels only the reference has.
long silhouetteDifferenceAwayFromBorder(const RgbImage8& reference, const RgbImage8& other, int margin) {
    long n = 0;
    for (int y = 0; y < reference.height; ++y)
        for (int x = 0; x < reference.width; ++x) {
            const bool inside = isSquare(reference.pixel(x, y));
            if (inside == isSquare(other.pixel(x, y)) || inCaptionArea(reference, x, y)) continue;
            if (inside && isSaturatedHighlight(other, x, y)) continue;
            bool nearBorder = false;
            for (int dy = -margin; dy <= margin && !nearBorder; ++dy)
                for (int dx = -margin; dx <= margin && !nearBorder; ++dx) {
                    const int u = x + dx, v = y + dy;
                    if (u < 0 || v < 0 || u >= reference.width || v >= reference.height) continue;
                    nearBorder = isSquare(reference.pixel(u, v)) != inside;
                }
            n += !nearBorder;
        }
    return n;
}

struct RedSpread {
    double mean = 0, deviation = 0;
    long count = 0;
};

bool isGroutHue(const std::uint8_t* p) { return p[0] > 40 && p[1] / double(p[0]) > 0.85 && !isWhite(p); }

bool nearGrout(const RgbImage8& image, int x, int y, int reach) {
    for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx) {
            const int u = x + dx, v = y + dy;
            if (u >= 0 && v >= 0 && u < image.width && v < image.height && isGroutHue(image.pixel(u, v))) return true;
        }
    return false;
}

enum class TilePart { all, edges, middles };

// The red channel of tile pixels: all of them, those within three pixels of the
// grout, or the others.
RedSpread redOfOrange(const RgbImage8& image, TilePart part = TilePart::all) {
    RedSpread r;
    double sum = 0, squares = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t* p = image.pixel(x, y);
            if (!isOrangeHue(p)) continue;
            if (part != TilePart::all && nearGrout(image, x, y, 3) != (part == TilePart::edges)) continue;
            sum += p[0];
            squares += double(p[0]) * p[0];
            ++r.count;
        }
    if (r.count) {
        r.mean = sum / r.count;
        r.deviation = std::sqrt(std::max(0.0, squares / r.count - r.mean * r.mean));
    }
    return r;
}

TEST_F(ViewerTest, SoftwareSquareCoversTheReferencePixelsAndIsLitAndBumped) {
    run->typeKey(XK_g);
    const RgbImage8 software = keep("after-g", run->changedFrom(start));
    // Exact coverage is pinned by the headless frame tests; here a crack or a shifted
    // edge would show as hundreds of pixels, highlight sparkles as a handful.
    const long squarePixels = census(start, isSquare).count;
    EXPECT_LE(silhouetteDifferenceAwayFromBorder(start, software, 2), squarePixels / 1000);

    // The reference shows the texture unlit (decal), one flat orange. The software
    // path lights it: brighter than ambient alone (red 0.32, about 82 of 255) where
    // the light falls, and the cushions of the height map shade each tile unevenly.
    const RedSpread reference = redOfOrange(start);
    const RedSpread lit = redOfOrange(software);
    ASSERT_GT(lit.count, census(software, isSquare).count / 2);
    EXPECT_GT(lit.mean, 0.45 * 255);
    EXPECT_LT(reference.deviation, 4);
    EXPECT_GT(lit.deviation, 4 * std::max(reference.deviation, 1.0));
    // The cushions rise steepest at the tile borders, so that is where the bumps
    // turn the shading most.
    const RedSpread edges = redOfOrange(software, TilePart::edges);
    const RedSpread middles = redOfOrange(software, TilePart::middles);
    EXPECT_GT(edges.deviation, 1.5 * middles.deviation);
    std::printf("tile red: reference sd %.1f; software mean %.1f sd %.1f, at tile edges sd %.1f, inside sd %.1f\n",
                reference.deviation, lit.mean, lit.deviation, edges.deviation, middles.deviation);
}

// Pixels that differ between two pictures of the same size, and their bounds.
Census changed(const RgbImage8& a, const RgbImage8& b) {
    RgbImage8 mask(a.width, a.height);
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            mask.pixel(x, y)[0] = !std::equal(a.pixel(x, y), a.pixel(x, y) + 3, b.pixel(x, y));
    return census(mask, [](const std::uint8_t* p) { return p[0] != 0; });
}

// Every key that opens the overlay, on both paths: a panel over the picture
// from the top-left corner, and the exact picture again once it is closed.
TEST_F(ViewerTest, KeysOverlayOpensOverEitherPathAndLeavesThePictureExactlyOnceClosed) {
    struct Opener {
        const char* name;
        unsigned long keysym;
        bool shifted;
    };
    RgbImage8 picture = start;
    for (const bool software : {false, true}) {
        if (software) {
            run->typeKey(XK_g);
            picture = keep("software", run->changedFrom(start));
        }
        for (const Opener& key : {Opener{"h", XK_h, false}, Opener{"?", XK_question, true}, Opener{"F1", XK_F1, false}}) {
            SCOPED_TRACE(std::string(key.name) + (software ? " on the software path" : " on the OpenGL path"));
            run->typeKey(key.keysym, key.shifted);
            const RgbImage8 overlay = keep(std::string("overlay-") + key.name, run->changedFrom(picture));
            const Census panel = changed(overlay, picture);
            EXPECT_GT(panel.count, 480 * 480 / 5) << "a panel of some size";
            EXPECT_LE(panel.bounds.left, 6);
            EXPECT_LE(panel.bounds.top, 6);
            EXPECT_LT(panel.bounds.right, 476) << "inside the window";
            // Light text on the dark panel.
            auto text = [](const std::uint8_t* p) { return near(p, 0.95, 0.95, 0.92, 0.02); };
            EXPECT_GT(census(overlay, text).count - census(picture, text).count, 1000);
            run->typeKey(key.keysym, key.shifted);
            EXPECT_EQ(keep(std::string("closed-") + key.name, run->changedFrom(overlay)), picture);
        }
    }
    EXPECT_EQ(run->output(), "");
}

// a, c, p and v where it does nothing each say what happened for about two
// seconds along the top; then the window shows the picture alone.
TEST_F(ViewerTest, EachNoticeAppearsAndIsGoneAfterItsTime) {
    struct Case {
        const char* key;
        unsigned long keysym;
        // Whether the picture under the notice changes.
        bool changes;
    };
    RgbImage8 picture = start;
    for (const Case& c : {Case{"a", XK_a, true}, Case{"a again", XK_a, true}, Case{"c on the OpenGL path", XK_c, false},
                          Case{"c back", XK_c, false}, Case{"v on the OpenGL path", XK_v, false},
                          Case{"p", XK_p, false}, Case{"p back", XK_p, false}}) {
        SCOPED_TRACE(c.key);
        run->typeKey(c.keysym);
        const RgbImage8 after = keep(std::string("after-") + c.key, expectNoticeComesAndGoes(*run, picture));
        EXPECT_EQ(after != picture, c.changes);
        picture = after;
    }
    EXPECT_EQ(picture, start) << "every key pressed twice";
}

// 'r' after drags, wheel and pan: exactly the start-up picture, mip-mapping left as it was.
TEST_F(ViewerTest, ResetKeyRestoresTheStartUpPictureExactly) {
    run->drag(leftButton, 40, -25);
    run->wheel(wheelUp);
    run->wheel(wheelUp);
    run->drag(rightButton, -30, 50);
    const RgbImage8 moved = keep("moved", run->changedFrom(start));
    run->drawnOut();
    run->typeKey(XK_r);
    EXPECT_EQ(keep("after-r", run->changedFrom(moved)), start);

    run->typeKey(XK_g);
    const RgbImage8 software = run->changedFrom(start);
    for (int i = 0; i < 12; ++i) run->wheel(wheelUp);
    run->drag(rightButton, 200, 0);
    const RgbImage8 lost = keep("lost", run->changedFrom(software));
    run->drawnOut();
    run->typeKey(XK_r);
    EXPECT_EQ(keep("software-after-r", run->changedFrom(lost)), software);
}

// The software picture shows the same pixels through GL points and as one image, switched at run time.
TEST_F(ViewerTest, PresentationKeyKeepsThePixels) {
    for (const char* threads : {"1", "2"}) {
        SCOPED_TRACE(std::string("threads ") + threads);
        ViewerRun own(RV_VIEWER, {{"--threads", threads}});
        const RgbImage8 opengl = own.settled();
        own.typeKey(XK_g);
        const RgbImage8 points = own.changedFrom(opengl);
        own.typeKey(XK_p);
        const RgbImage8 image = expectNoticeComesAndGoes(own, points);
        EXPECT_EQ(image, points);
        own.drag(leftButton, 20, 0);
        const RgbImage8 turnedImage = own.changedFrom(image);
        own.typeKey(XK_p);
        EXPECT_EQ(expectNoticeComesAndGoes(own, turnedImage), turnedImage);
    }
}

TEST_F(ViewerTest, QEndsWithStatusZeroAndNothingOnStandardOutput) {
    // Frames of both paths first: a GL error left by any of them would be printed by the next OpenGL frame.
    RgbImage8 last = start;
    auto step = [&](auto&& input) {
        input();
        last = run->changedFrom(last);
    };
    step([&] { run->typeKey(XK_a); });
    step([&] { run->drag(leftButton, 15, 10); });
    step([&] { run->wheel(wheelUp); });
    step([&] { run->typeKey(XK_g); });
    step([&] { run->typeKey(XK_g); });
    step([&] { run->typeKey(XK_a); });
    expectQuitBy(XK_q);
    EXPECT_EQ(run->output(), "");
}

TEST_F(ViewerTest, EscapeEndsWithStatusZero) {
    expectQuitBy(XK_Escape);
    EXPECT_EQ(run->output(), "");
}

class GlErrorViewerTest : public ViewerTest {
protected:
    void SetUp() override { launch(RV_GL_ERROR_VIEWER); }
};

TEST_F(GlErrorViewerTest, ErrorPendingBeforeTheFirstFrameIsPrintedOnceAsOneLine) {
    run->typeKey(XK_a);
    const RgbImage8 nearest = expectNoticeComesAndGoes(*run, start);
    run->typeKey(XK_a);
    EXPECT_EQ(expectNoticeComesAndGoes(*run, nearest), start);
    expectQuitBy(XK_q);
    EXPECT_EQ(run->output(), "ERROR: 0x500\n");
}

// The command line follows rastershot's rules and is read before any display is opened.
TEST(ViewerArguments, HelpAndBadFlagsNeedNoDisplay) {
    const ToolRun help = runTool(RV_VIEWER, {"--help"});
    EXPECT_EQ(help.status, 0) << help.err;
    EXPECT_NE(help.out.find("--threads"), std::string::npos) << help.out;
    EXPECT_EQ(help.err, "");
    for (const auto& [args, says] : {std::pair<std::vector<std::string>, std::string>{{"--threads", "0"}, "--threads"},
                                     {{"--present=texture"}, "--present"},
                                     {{"--frames", "3"}, "unknown option '--frames'"}}) {
        const ToolRun bad = runTool(RV_VIEWER, args);
        EXPECT_EQ(bad.status, 2) << says;
        EXPECT_NE(bad.err.find("rasterview: "), std::string::npos) << bad.err;
        EXPECT_NE(bad.err.find(says), std::string::npos) << bad.err;
        EXPECT_EQ(bad.out, "");
    }
}

TEST(ViewerArguments, GlutOptionsWorkBesideOurs) {
    ViewerRun run(RV_VIEWER, {{"-geometry", "320x240", "--threads=2", "--present", "image"}});
    const RgbImage8 start = run.settled();
    EXPECT_EQ(start.width, 320);
    EXPECT_EQ(start.height, 240);
    run.typeKey(XK_g);
    EXPECT_GT(census(run.changedFrom(start), isSquare).count, 1000);
}

// GLUT's own answer is a raw "failed to open display" and exit 1; ours says what to do.
TEST(ViewerArguments, NoDisplayIsOneClearMessageAndStatusTwo) {
    Xvfb server;
    const std::string message =
        "rasterview: no X display (DISPLAY is unset or cannot be opened); run it on a desktop or under xvfb-run\n";
    for (const auto& [args, display] :
         {std::pair<std::vector<std::string>, std::string>{{}, ""},
          // -display wins over a DISPLAY that works, as it does for GLUT.
          {{"--threads", "2", "-display", ":65001"}, server.display()}}) {
        const ToolRun run = runTool(RV_VIEWER, args, display);
        EXPECT_EQ(run.status, 2) << run.err;
        EXPECT_EQ(run.err, message);
        EXPECT_EQ(run.out, "");
    }
}

TEST(ViewerArguments, AnArgumentGlutLeavesIsRefusedBeforeAnyWindowOpens) {
    Xvfb server;
    const ToolRun run = runTool(RV_VIEWER, {"-threads", "2"}, server.display());
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("unexpected argument '-threads'"), std::string::npos) << run.err;
}

} // namespace

} // namespace rv
