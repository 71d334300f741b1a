// The software frame drawn by several threads and shown as GL points or as one
// image, read back from the real viewer's window: pixel for pixel what one
// thread through GL points shows, through the same input, resizes and all.
#include <X11/keysym.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/e2e/viewer_run.h"
#include "picture/difference.h"
#include "picture/png_file.h"

namespace rv {

namespace {

using namespace std::chrono_literals;

constexpr int leftButton = 1, wheelUp = 4, wheelDown = 5;

struct Mode {
    int threads;
    const char* present;
};

void PrintTo(const Mode& m, std::ostream* out) { *out << m.threads << " threads, " << m.present; }

std::string nameOf(const Mode& m) { return std::to_string(m.threads) + "threads_" + m.present; }

constexpr Mode reference{1, "points"};

// Room for a 1000 x 700 window at (100, 100).
ViewerRun::Options optionsFor(const Mode& m) {
    return {{"--threads", std::to_string(m.threads), "--present", m.present}, 1280, 1024};
}

using Shots = std::vector<std::pair<std::string, RgbImage8>>;

// What a person sees after each step of the same session: the software path at
// the start-up view, turned face on, zoomed until the square fills the window,
// the window enlarged to 1000 x 700, tilted to grazing, mip-mapping off, and
// the OpenGL path again, which prints any GL error the software path left.
Shots tour(const Mode& mode) {
    ViewerRun run(RV_VIEWER, optionsFor(mode));
    RgbImage8 last = run.settled();
    Shots shots;
    auto step = [&](const char* label, auto&& input) {
        input();
        run.changedFrom(last);
        last = run.drawnOut();
        shots.emplace_back(label, last);
    };
    step("startup", [&] { run.typeKey(XK_g); });
    step("face-on", [&] { run.drag(leftButton, 135, 60); });
    step("filling", [&] {
        for (int i = 0; i < 4; ++i) run.wheel(wheelUp);
    });
    step("resized", [&] { run.resize(1000, 700); });
    step("grazing", [&] { run.drag(leftButton, 0, -84); });
    step("nearest-texels", [&] { run.typeKey(XK_a); });
    step("opengl", [&] { run.typeKey(XK_g); });
    EXPECT_EQ(run.output(), "") << "GL errors";
    return shots;
}

void saveShots(const std::string& prefix, const Shots& shots) {
    const std::filesystem::path dir = RV_FAILED_SHOTS_DIR;
    std::filesystem::create_directories(dir);
    for (const auto& [label, picture] : shots) {
        const std::string path = (dir / (prefix + "-" + label + ".png")).string();
        if (writePng(path, picture)) std::cerr << "screenshot: " << path << "\n";
    }
}

class SoftwareModes : public ::testing::TestWithParam<Mode> {};

TEST_P(SoftwareModes, ShowThePixelsOfOneThreadThroughPointsAtEveryStep) {
    const Shots expected = tour(reference);
    const Shots shown = tour(GetParam());
    ASSERT_EQ(shown.size(), expected.size());
    for (size_t i = 0; i < shown.size(); ++i) {
        SCOPED_TRACE(shown[i].first);
        const RgbImage8 &want = expected[i].second, &got = shown[i].second;
        ASSERT_EQ(got.width, want.width);
        ASSERT_EQ(got.height, want.height);
        const PictureComparison c = comparePictures(want, got);
        EXPECT_EQ(c.differing, 0) << "largest channel difference " << c.largest;
    }
    EXPECT_EQ(shown[3].second.width, 1000);
    if (HasFailure()) {
        saveShots("SoftwareModes-" + nameOf(GetParam()), shown);
        saveShots("SoftwareModes-reference", expected);
    }
}

INSTANTIATE_TEST_SUITE_P(ThreadsAndPresentations, SoftwareModes,
                         ::testing::Values(Mode{1, "image"}, Mode{2, "points"}, Mode{2, "image"}, Mode{3, "image"},
                                           Mode{7, "points"}),
                         [](const ::testing::TestParamInfo<Mode>& info) { return nameOf(info.param); });

class BusyViewer : public ::testing::TestWithParam<Mode> {};

// Resizes and wheel turns sent while frames are still being drawn, without
// waiting for any: the window ends on the picture of the last size and view.
TEST_P(BusyViewer, ResizedWhileDrawingEndsOnTheLastSizesPicture) {
    ViewerRun run(RV_VIEWER, optionsFor(GetParam()));
    run.typeKey(XK_g);
    struct Size {
        int width, height;
    };
    for (const Size s : {Size{1000, 700}, Size{300, 200}, Size{1, 1}, Size{777, 555}, Size{1, 700}, Size{1000, 700}}) {
        run.resize(s.width, s.height);
        run.wheel(wheelUp);
        std::this_thread::sleep_for(15ms);
    }
    run.wheel(wheelDown);
    run.wheel(wheelDown);
    const RgbImage8 busy = run.drawnOut();

    ViewerRun calm(RV_VIEWER, optionsFor(reference));
    calm.typeKey(XK_g);
    calm.resize(1000, 700);
    for (int i = 0; i < 4; ++i) calm.wheel(wheelUp);
    const RgbImage8 expected = calm.drawnOut();
    ASSERT_EQ(busy.width, 1000);
    ASSERT_EQ(busy.height, 700);
    const PictureComparison c = comparePictures(expected, busy);
    EXPECT_EQ(c.differing, 0) << "largest channel difference " << c.largest;
    EXPECT_TRUE(run.running());
    EXPECT_EQ(run.output(), "");
    if (HasFailure()) saveShots("BusyViewer-" + nameOf(GetParam()), {{"busy", busy}, {"calm", expected}});
}

// 'q' arriving while a large frame is being drawn ends the program once the
// frame is done, with status 0: the threads hold nothing that stops the exit.
TEST_P(BusyViewer, QDuringAFrameEndsWithStatusZero) {
    ViewerRun run(RV_VIEWER, optionsFor(GetParam()));
    run.typeKey(XK_g);
    run.resize(1000, 700);
    run.drag(leftButton, 135, 60);
    for (int i = 0; i < 4; ++i) run.wheel(wheelUp);
    run.drawnOut();
    run.wheel(wheelDown);
    // Long enough for the frame to start, short of its end.
    std::this_thread::sleep_for(20ms);
    run.typeKey(XK_q);
    const std::optional<int> status = run.waitForExit(10s);
    ASSERT_TRUE(status) << "the viewer is still running";
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << "the viewer " << describeWaitStatus(*status);
    EXPECT_EQ(run.output(), "");
}

INSTANTIATE_TEST_SUITE_P(ThreadsAndPresentations, BusyViewer,
                         ::testing::Values(Mode{1, "points"}, Mode{2, "image"}, Mode{3, "points"}),
                         [](const ::testing::TestParamInfo<Mode>& info) { return nameOf(info.param); });

} // namespace

} // namespace rv
