// The difference view ('d') and saving the view ('s') in the real viewer on a
// private Xvfb, held pixel for pixel against what rastershot draws for the
// same size and view on a server of its own.
#include <X11/keysym.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "picture/difference.h"
#include "picture/png_file.h"
#include "tests/e2e/notice_check.h"
#include "tests/e2e/picture.h"
#include "tests/e2e/viewer_run.h"
#include "tests/e2e/xvfb.h"
#include "tests/rastershot/shot_directory.h"
#include "tests/rastershot/tool_run.h"

namespace rv {

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr int leftButton = 1, wheelUp = 4;

RgbImage8 load(const std::string& path) {
    std::string error;
    std::optional<RgbImage8> picture = readPng(path, &error);
    if (!picture) throw std::runtime_error(error);
    return *std::move(picture);
}

// Our own captions sit on a band at the bottom-left corner, at most three lines of text high.
constexpr int captionRows = 60;
// A one-line notice along the top.
constexpr int noticeRows = 40;

bool inCaptionRows(const RgbImage8& image, int rowFromTop) { return glRow(image, rowFromTop) < captionRows; }

struct CaptionedComparison {
    // Pixels that differ outside the caption's rows, and by how much at most.
    long differing = 0;
    int largest = 0;
    // Pixels the caption's band and text change inside them.
    long captionPixels = 0;
    // Of those, in the window's last 4 columns: a caption that runs out of the window.
    long atRightEdge = 0;
};

CaptionedComparison compareBesideCaption(const RgbImage8& window, const RgbImage8& expected) {
    CaptionedComparison c;
    if (window.width != expected.width || window.height != expected.height) {
        c.differing = -1;
        return c;
    }
    for (int y = 0; y < window.height; ++y)
        for (int x = 0; x < window.width; ++x) {
            const std::uint8_t *a = window.pixel(x, y), *b = expected.pixel(x, y);
            const int d = std::max({std::abs(a[0] - b[0]), std::abs(a[1] - b[1]), std::abs(a[2] - b[2])});
            if (inCaptionRows(window, y)) {
                c.captionPixels += d > 0;
                c.atRightEdge += d > 0 && x >= window.width - 4;
                continue;
            }
            c.differing += d > 0;
            c.largest = std::max(c.largest, d);
        }
    return c;
}

// The window shows the expected picture, caption apart, and a caption that ends inside the window.
void expectCaptioned(const RgbImage8& window, const RgbImage8& expected) {
    const CaptionedComparison c = compareBesideCaption(window, expected);
    EXPECT_EQ(c.differing, 0) << "largest channel difference " << c.largest;
    EXPECT_GT(c.captionPixels, 1000) << "no caption";
    EXPECT_EQ(c.atRightEdge, 0) << "the caption runs out of the window";
}

void expectDifferenceView(const RgbImage8& window, const RgbImage8& difference) { expectCaptioned(window, difference); }

// Pixels of exactly this colour in the caption's rows: the difference picture
// there lies under the translucent band, so only a swatch keeps its colour.
long swatchPixels(const RgbImage8& window, const std::uint8_t* colour) {
    long n = 0;
    for (int y = 0; y < window.height; ++y)
        for (int x = 0; x < window.width; ++x) {
            const std::uint8_t* p = window.pixel(x, y);
            n += inCaptionRows(window, y) && p[0] == colour[0] && p[1] == colour[1] && p[2] == colour[2];
        }
    return n;
}

size_t lineCount(const std::string& text) { return static_cast<size_t>(std::count(text.begin(), text.end(), '\n')); }

// Standard error after the first frame's hint for the keys.
std::string errorsAfterHint(const ViewerRun& run) {
    const std::string hint = "rasterview: press h for the keys\n";
    std::string text = run.errorOutput();
    EXPECT_EQ(text.rfind(hint, 0), 0u) << text;
    return text.starts_with(hint) ? text.substr(hint.size()) : text;
}

// Waits for the viewer to have written `lines` lines on standard error after the hint; returns them.
std::string waitForErrorLines(ViewerRun& run, size_t lines) {
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    std::string text = errorsAfterHint(run);
    while (lineCount(text) < lines && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(20ms);
        text = errorsAfterHint(run);
    }
    return text;
}

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

struct Pictures {
    RgbImage8 software, opengl, difference;
};

class DifferenceView : public ShotDirectory {
protected:
    // rastershot runs on a server of its own: its window would cover the viewer's.
    std::unique_ptr<Xvfb> rastershotServer;

    // What rastershot --renderer both writes with these flags, under dir/<name>.
    Pictures rastershot(const std::string& name, std::vector<std::string> flags) {
        const std::string prefix = (dir / name).string();
        flags.insert(flags.begin(), {"--renderer", "both", "--out", prefix});
        return rastershotWith(flags, prefix);
    }

    Pictures rastershotWith(const std::vector<std::string>& args, const std::string& prefix) {
        if (!rastershotServer) rastershotServer = std::make_unique<Xvfb>();
        const ToolRun run = runTool(RV_RASTERSHOT, args, rastershotServer->display());
        if (run.status != 0) throw std::runtime_error("rastershot failed: " + run.err);
        return {load(prefix + "-software.png"), load(prefix + "-opengl.png"), load(prefix + "-diff.png")};
    }

    // Kept beside rastershot's pictures, for a person to compare when the test fails.
    RgbImage8 keep(const std::string& name, RgbImage8 window) {
        writePng((dir / ("window-" + name + ".png")).string(), window);
        return window;
    }
};

TEST_F(DifferenceView, ShowsRastershotsDifferenceAgainAfterEveryChangeOfView) {
    ViewerRun run(RV_VIEWER);
    RgbImage8 last = run.settled();
    struct Step {
        const char* name;
        std::function<void()> input;
        // rastershot's flags for the view the input leads to.
        std::vector<std::string> flags;
        // The input shows a notice, to be waited out.
        bool notice = false;
    };
    const Step steps[] = {
        {"d", [&] { run.typeKey(XK_d); }, {}},
        {"left-drag", [&] { run.drag(leftButton, 30, 10); }, {"--spin", "-105", "--tilt", "-50"}},
        {"wheel-up", [&] { run.wheel(wheelUp); }, {"--spin", "-105", "--tilt", "-50", "--zoom", "2.25"}},
        {"resized",
         [&] { run.resize(400, 300); },
         {"--size", "400x300", "--spin", "-105", "--tilt", "-50", "--zoom", "2.25"}},
        {"a",
         [&] { run.typeKey(XK_a); },
         {"--size", "400x300", "--spin", "-105", "--tilt", "-50", "--zoom", "2.25", "--no-mipmap"},
         true},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.input();
        const RgbImage8 before = last;
        run.changedFrom(before);
        last = keep(step.name, step.notice ? run.afterNotices() : run.drawnOut());
        EXPECT_NE(last, before) << "the window did not redraw";
        expectDifferenceView(last, rastershot(step.name, step.flags).difference);
    }
}

// Our own captions at the default size and at a small one: the difference
// view's legend with every swatch, and the lod legend, each on its band and
// ending inside the window, the picture around them as rastershot draws it.
TEST_F(DifferenceView, CaptionsFitTheWindowAndTheLegendShowsEverySwatch) {
    for (const auto& [width, height] : {std::pair{480, 480}, std::pair{200, 150}}) {
        const std::string size = std::to_string(width) + "x" + std::to_string(height);
        SCOPED_TRACE(size);
        ViewerRun run(RV_VIEWER, {{"-geometry", size}});
        const RgbImage8 start = run.settled();
        ASSERT_EQ(start.width, width);
        run.typeKey(XK_d);
        const RgbImage8 difference = keep("legend-" + size, run.changedFrom(start));
        expectDifferenceView(difference, rastershot("legend-" + size, {"--size", size}).difference);
        for (const auto& colour : {difference::equal, difference::softwareOnly, difference::openglOnly})
            EXPECT_GE(swatchPixels(difference, colour), 30) << "a swatch of " << int(colour[0]) << ","
                                                           << int(colour[1]) << "," << int(colour[2]);
        // The ramp's ends: yellow and dark red, which the band would have darkened.
        auto ramp = [&](auto near) {
            long n = 0;
            for (int y = 0; y < difference.height; ++y)
                for (int x = 0; x < difference.width; ++x) n += inCaptionRows(difference, y) && near(difference.pixel(x, y));
            return n;
        };
        EXPECT_GE(ramp([](const std::uint8_t* p) { return p[0] > 240 && p[1] > 180 && p[2] < 30; }), 5) << "yellow";
        EXPECT_GE(ramp([](const std::uint8_t* p) { return p[0] > 150 && p[0] < 190 && p[1] < 40 && p[2] < 30; }), 5)
            << "dark red";

        run.typeKey(XK_g);
        run.changedFrom(difference);
        run.typeKey(XK_g);
        const RgbImage8 software = run.drawnOut();
        run.typeKey(XK_v);
        run.typeKey(XK_v);
        const RgbImage8 lod = keep("lod-" + size, run.changedFrom(software));
        const std::string prefix = (dir / ("lod-" + size)).string();
        if (!rastershotServer) rastershotServer = std::make_unique<Xvfb>();
        const ToolRun shot = runTool(RV_RASTERSHOT, {"--size", size, "--show", "lod", "--out", prefix},
                                     rastershotServer->display());
        ASSERT_EQ(shot.status, 0) << shot.err;
        expectCaptioned(lod, load(prefix + "-software-lod.png"));
    }
}

// Each of the keys d, g, a and c pressed in each of the four states of
// renderer and difference view, at a view through the near plane where the
// software path's clipping shows: after each key the window shows the picture
// of the renderer or the difference that the keys so far select, with the
// mip-mapping and clipping they leave.
TEST_F(DifferenceView, KeysInAnyOrderLeaveTheWindowOnThePictureTheyChose) {
    ViewerRun run(RV_VIEWER);
    const RgbImage8 start = run.settled();
    for (int i = 0; i < 5; ++i) run.wheel(wheelUp);
    run.changedFrom(start);
    run.drawnOut();

    // [mip-mapping][clipping]
    Pictures expected[2][2];
    for (const bool mipmapping : {false, true})
        for (const bool clipping : {false, true}) {
            std::vector<std::string> flags{"--zoom", "10.25"};
            if (!mipmapping) flags.push_back("--no-mipmap");
            if (!clipping) flags.push_back("--no-clip");
            expected[mipmapping][clipping] =
                rastershot(std::string("mip") + "01"[mipmapping] + "-clip" + "01"[clipping], flags);
        }
    ASSERT_NE(expected[1][1].software, expected[1][0].software) << "clipping must show at this view";
    ASSERT_NE(expected[1][1].opengl, expected[0][1].opengl) << "mip-mapping must show at this view";

    bool difference = false, openGL = true, mipmapping = true, clipping = true;
    // The shortest sequence that presses every key in every one of those states.
    const std::string keys = "dddacggdddacgacgac";
    for (size_t i = 0; i < keys.size(); ++i) {
        const std::string typed = keys.substr(0, i + 1);
        SCOPED_TRACE("after " + typed);
        switch (keys[i]) {
        case 'd': difference = !difference; break;
        case 'g':
            if (difference)
                difference = false;
            else
                openGL = !openGL;
            break;
        case 'a': mipmapping = !mipmapping; break;
        case 'c': clipping = !clipping; break;
        }
        run.typeKey(keys[i] == 'd' ? XK_d : keys[i] == 'g' ? XK_g : keys[i] == 'a' ? XK_a : XK_c);
        RgbImage8 window = keep(typed, run.drawnOut());
        const Pictures& want = expected[mipmapping][clipping];
        // The notices of 'a' and 'c' along the top are another test's; here the picture under them counts.
        const RgbImage8& under = difference ? want.difference : openGL ? want.opengl : want.software;
        for (int y = 0; y < noticeRows && y < window.height; ++y)
            std::copy_n(under.pixel(0, y), 3 * window.width, window.pixel(0, y));
        if (difference) {
            expectDifferenceView(window, want.difference);
        } else if (openGL) {
            EXPECT_EQ(comparePictures(window, want.opengl).differing, 0) << "not the OpenGL picture";
        } else {
            // As in rastershot's own comparison with the window: a GL may round a point's colour one step apart.
            EXPECT_LE(comparePictures(window, want.software).largest, 1) << "not the software picture";
        }
    }
    // A GL error left by a difference frame would be printed by the next OpenGL frame.
    EXPECT_EQ(run.output(), "");
}

TEST_F(DifferenceView, SavingWritesThePicturesThePrintedCommandDraws) {
    const fs::path shots = dir / "shots";
    ViewerRun run(RV_VIEWER, {{"--shots", shots.string()}, 1024, 768, true});
    const RgbImage8 start = run.settled();
    // A view that every flag of the command has to reproduce.
    run.drag(leftButton, -20, 15);
    run.wheel(wheelUp);
    run.typeKey(XK_a);
    run.typeKey(XK_c);
    run.typeKey(XK_d);
    run.changedFrom(start);
    const RgbImage8 shown = keep("before-s", run.afterNotices());

    run.typeKey(XK_s);
    // The window says so, the long paths over several lines, then shows what it showed before.
    EXPECT_EQ(expectNoticeComesAndGoes(run, shown, 200), shown);
    const std::string errors = waitForErrorLines(run, 1);
    ASSERT_EQ(lineCount(errors), 1u) << errors;

    const std::string prefix = (shots / "view-1").string();
    const std::string again = "; to draw them again: ";
    const size_t commandAt = errors.find(again);
    ASSERT_NE(commandAt, std::string::npos) << errors;
    EXPECT_EQ(errors.substr(0, commandAt), "rasterview: saved " + prefix + "-software.png, " + prefix +
                                               "-opengl.png and " + prefix + "-diff.png");
    std::vector<std::string> command = words(errors.substr(commandAt + again.size()));
    ASSERT_GE(command.size(), 3u);
    ASSERT_EQ(command.front(), "rastershot");
    ASSERT_EQ(command[command.size() - 2], "--out");
    ASSERT_EQ(command.back(), prefix);
    for (const char* flag : {"--no-mipmap", "--no-clip"})
        EXPECT_NE(std::find(command.begin(), command.end(), flag), command.end()) << flag;

    const std::string redrawn = (dir / "redrawn").string();
    command.back() = redrawn;
    const Pictures fromCommand = rastershotWith({command.begin() + 1, command.end()}, redrawn);
    const Pictures saved = {load(prefix + "-software.png"), load(prefix + "-opengl.png"), load(prefix + "-diff.png")};
    EXPECT_EQ(saved.software, fromCommand.software);
    EXPECT_EQ(saved.opengl, fromCommand.opengl);
    EXPECT_EQ(saved.difference, fromCommand.difference);
    expectDifferenceView(shown, saved.difference);

    // A second save takes the next number and leaves the first alone.
    run.typeKey(XK_s);
    const std::string both = waitForErrorLines(run, 2);
    ASSERT_EQ(lineCount(both), 2u) << both;
    EXPECT_NE(both.find((shots / "view-2-diff.png").string(), errors.size()), std::string::npos) << both;
    EXPECT_EQ(load(prefix + "-diff.png"), saved.difference);
    run.typeKey(XK_g);
    run.changedFrom(shown);
    run.drawnOut();
    EXPECT_EQ(run.output(), "") << "GL errors left by saving, printed by the next OpenGL frame";
}

TEST_F(DifferenceView, SavingIntoADirectoryThatCannotBeMadePrintsOneErrorAndTheViewerGoesOn) {
    std::ofstream(dir / "file") << "a regular file";
    const fs::path shots = dir / "file" / "shots";
    ViewerRun run(RV_VIEWER, {{"--shots", shots.string()}, 1024, 768, true});
    const RgbImage8 start = run.settled();

    run.typeKey(XK_s);
    EXPECT_EQ(expectNoticeComesAndGoes(run, start, 200), start);
    const std::string errors = waitForErrorLines(run, 1);
    EXPECT_EQ(lineCount(errors), 1u) << errors;
    EXPECT_EQ(errors.rfind("rasterview: cannot save the view: ", 0), 0u) << errors;
    EXPECT_NE(errors.find(shots.string()), std::string::npos) << errors;
    ASSERT_TRUE(run.running());

    run.typeKey(XK_g);
    EXPECT_NE(run.changedFrom(start), start) << "the viewer stopped answering";
    EXPECT_EQ(lineCount(errorsAfterHint(run)), 1u);
    EXPECT_EQ(run.output(), "");
}

const std::string assimpModels = "/usr/share/assimp/models";

// With a model the window shows, on both paths, what rastershot draws of it.
TEST_F(DifferenceView, AModelLooksAsRastershotDrawsItOnBothPaths) {
    const std::string duck = assimpModels + "/Collada/duck.dae";
    const Pictures shot = rastershot("duck", {"--model", duck});
    ViewerRun run(RV_VIEWER, {{"--model", duck}, 1024, 768, true});
    const RgbImage8 opengl = keep("duck-opengl", run.settled());
    EXPECT_EQ(opengl, shot.opengl);
    run.typeKey(XK_g);
    EXPECT_EQ(keep("duck-software", run.changedFrom(opengl)), shot.software);
    EXPECT_EQ(errorsAfterHint(run), "");
}

// 'l', 'v', 'd' and 's' with a model: lighting off leaves the untextured model
// black on the OpenGL path only, the views and the difference are rastershot's,
// and the saved command names the model and the lighting and draws the same.
TEST_F(DifferenceView, ModelKeysGiveRastershotsPicturesAndTheSavedCommandRedrawsThem) {
    const std::string model = assimpModels + "/OFF/Wuson.off";
    const fs::path shots = dir / "shots";
    ViewerRun run(RV_VIEWER, {{"--model", model, "--shots", shots.string()}, 1024, 768, true});
    const RgbImage8 lit = keep("lit", run.settled());

    run.typeKey(XK_g);
    const RgbImage8 software = run.changedFrom(lit);
    run.typeKey(XK_v);
    const RgbImage8 depth = keep("depth", run.changedFrom(software));
    const ToolRun views = runTool(RV_RASTERSHOT, {"--model", model, "--show", "depth", "--out", (dir / "views").string()});
    ASSERT_EQ(views.status, 0) << views.err;
    EXPECT_EQ(software, load((dir / "views-software.png").string()));
    EXPECT_EQ(compareBesideCaption(depth, load((dir / "views-software-depth.png").string())).differing, 0);
    for (int k = 0; k < 5; ++k) run.typeKey(XK_v);
    EXPECT_EQ(run.changedFrom(depth), software);

    // The software path always lights: 'l' there changes nothing it shows but its notice.
    run.typeKey(XK_l);
    EXPECT_EQ(run.afterNotices(), software);
    run.typeKey(XK_g);
    const RgbImage8 unlit = keep("unlit", run.changedFrom(software));
    EXPECT_NE(unlit, lit);
    EXPECT_GT(census(unlit, isDark).count, 5000) << "unlit and untextured, OpenGL draws the current colour, black";
    const Pictures off = rastershot("off", {"--model", model, "--gl-lighting", "off"});
    EXPECT_EQ(unlit, off.opengl);

    run.typeKey(XK_d);
    const RgbImage8 shown = keep("difference", run.changedFrom(unlit));
    expectDifferenceView(shown, off.difference);
    run.typeKey(XK_s);
    const std::string errors = waitForErrorLines(run, 1);
    ASSERT_EQ(lineCount(errors), 1u) << errors;
    const std::string again = "; to draw them again: ";
    ASSERT_NE(errors.find(again), std::string::npos) << errors;
    std::vector<std::string> command = words(errors.substr(errors.find(again) + again.size()));
    for (const std::vector<std::string>& pair : {std::vector<std::string>{"--model", model},
                                                 std::vector<std::string>{"--gl-lighting", "off"}})
        EXPECT_NE(std::search(command.begin(), command.end(), pair.begin(), pair.end()), command.end()) << pair[0];
    const std::string redrawn = (dir / "redrawn").string();
    command.back() = redrawn;
    const Pictures fromCommand = rastershotWith({command.begin() + 1, command.end()}, redrawn);
    const std::string prefix = (shots / "view-1").string();
    EXPECT_EQ(load(prefix + "-opengl.png"), fromCommand.opengl);
    EXPECT_EQ(load(prefix + "-diff.png"), fromCommand.difference);
    EXPECT_EQ(fromCommand.opengl, off.opengl);
}

// Refused before the window opens: one line naming the file, status 2.
TEST(ModelArguments, AFileThatCannotBeShownEndsTheViewerBeforeItsWindow) {
    const std::string model = assimpModels + "/invalid/OutOfMemory.off";
    const ToolRun run = runTool(RV_VIEWER, {"--model", model});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "rasterview: " + model + ": out of memory (the import may use 2048 MiB)\n");
}

// 'v' on the software path: each false-colour view is the one rastershot
// --show writes for the same view, the caption aside; the sixth press brings
// back the exact picture, and 'g' in a view goes to OpenGL and back to it.
TEST_F(DifferenceView, InspectKeyShowsRastershotsViewsAndReturnsToTheExactPicture) {
    ViewerRun run(RV_VIEWER);
    const RgbImage8 opengl = run.settled();
    run.typeKey(XK_g);
    const RgbImage8 picture = run.changedFrom(opengl);
    const std::string prefix = (dir / "views").string();
    const ToolRun shot = runTool(RV_RASTERSHOT, {"--show", "all", "--out", prefix});
    ASSERT_EQ(shot.status, 0) << shot.err;
    EXPECT_EQ(picture, load(prefix + "-software.png"));
    RgbImage8 last = picture;
    for (const char* view : {"depth", "lod", "normal", "texcoord", "spans"}) {
        SCOPED_TRACE(view);
        run.typeKey(XK_v);
        const RgbImage8 before = last;
        last = keep(std::string("view-") + view, run.changedFrom(before));
        expectCaptioned(last, load(prefix + "-software-" + view + ".png"));
        if (std::string(view) == "lod") {
            run.typeKey(XK_g);
            EXPECT_EQ(run.changedFrom(last), opengl) << "'g' in a view shows the OpenGL picture";
            run.typeKey(XK_g);
            EXPECT_EQ(run.changedFrom(opengl), last) << "and back to the view";
        }
    }
    run.typeKey(XK_v);
    EXPECT_EQ(run.changedFrom(last), picture) << "the sixth press gives back the exact picture";
}

} // namespace

} // namespace rv
