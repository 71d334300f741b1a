// A long, seeded session with the real viewer on its own Xvfb: keys, drags with
// every button, wheel runs far past the eye both ways and window resizes down to
// 1 x 1, sent in short bursts, each drawn before the next goes out (watched through
// the viewer's CPU use, not its pictures, which is quick). Afterwards the viewer must
// still run and answer, have printed nothing but GL error lines, come back to
// exactly its first pictures once the input is undone, and end on `q` with status 0.
// Every 's' saves three pictures into a directory of the session's own and says so
// in one line on standard error.
//   RV_SOAK_SEED=<n>    replays one session (every failure prints its seed)
//   RV_SOAK_EVENTS=<n>  a longer or shorter session than the default 2000 events
//   RV_SOAK_MODEL=<file> the session with a model instead of the square
#include <X11/keysym.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>

#include "picture/png_file.h"
#include "tests/e2e/picture.h"
#include "tests/e2e/viewer_run.h"
#include "tests/e2e/process_cpu.h"
#include "tests/soak/soak_script.h"

namespace rv {

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr std::uint64_t defaultSeed = 20261210;
constexpr long defaultEvents = 2000;
constexpr long eventsBetweenChecks = 200;
// Xvfb's screen (tests/e2e/xvfb.cpp).
constexpr ScreenPoint screenSize{1024, 768};

std::uint64_t seedFromEnvironment() {
    const char* text = std::getenv("RV_SOAK_SEED");
    return text && *text ? std::strtoull(text, nullptr, 0) : defaultSeed;
}

long eventsFromEnvironment() {
    const char* text = std::getenv("RV_SOAK_EVENTS");
    return text && *text ? std::strtol(text, nullptr, 0) : defaultEvents;
}

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// The caption of the OpenGL path, which the software path does not draw.
bool showsCaption(const RgbImage8& picture) {
    long dark = 0;
    for (int y = picture.height - 31; y < picture.height - 2; ++y)
        for (int x = 8; x < 320 && x < picture.width; ++x) dark += y >= 0 && isDark(picture.pixel(x, y));
    return dark > 500;
}

const char* rendererName(bool openGL) { return openGL ? "OpenGL" : "software"; }

class Soak {
public:
    Soak(ViewerRun& run, std::uint64_t seed)
        : run(run), x(run.session()), window(run.windowId()),
          script(seed, {run.windowLeft(), run.windowTop()}, screenSize), pacing(seed) {}

    // Sends `events` random events in bursts, each drawn before the next is sent,
    // and checks every so often that the viewer lives.
    void randomPhase(long events) {
        long burstStart = 0;
        std::string burst;
        int burstLeft = 1;
        for (long sent = 0; sent < events; ++sent) {
            if (sent % eventsBetweenChecks == 0) checkAlive("random event " + std::to_string(sent));
            const Gesture g = script.next();
            send(g);
            ++counts[g.label];
            burst += (burst.empty() ? "" : ", ") + g.label;
            if (--burstLeft > 0 && sent + 1 < events) continue;
            // Without a wait the viewer would fold the whole session into a few frames.
            x.sync();
            waitUntilDrawn("random events " + std::to_string(burstStart) + " to " + std::to_string(sent) + " (" +
                          burst + ")");
            ++bursts;
            differenceBursts += script.view().difference;
            softwareBursts += !script.view().difference && !script.view().useOpenGL;
            burstStart = sent + 1;
            burst.clear();
            burstLeft = 1 + static_cast<int>(pacing() % 4);
        }
        checkAlive("the last random event");
    }

    void undoAll() {
        for (const Gesture& g : script.backToStart()) {
            send(g);
            ++returnCounts[g.label];
        }
        x.sync();
        waitUntilDrawn("the input was undone");
        checkAlive("the input was undone");
    }

    // Polls until the window shows `expected`; returns the last picture seen.
    RgbImage8 waitFor(const RgbImage8& expected, std::chrono::milliseconds timeout) {
        const auto deadline = Clock::now() + timeout;
        RgbImage8 last;
        for (;;) {
            checkAlive("waiting for a picture");
            if (std::optional<RgbImage8> p = x.grab(window)) last = *std::move(p);
            if (last == expected || Clock::now() > deadline) return last;
            std::this_thread::sleep_for(20ms);
        }
    }

    const SoakScript& model() const { return script; }

    void printFigures(std::FILE* out, double seconds) const {
        long total = 0, returned = 0;
        for (const auto& [label, n] : counts) total += n;
        for (const auto& [label, n] : returnCounts) returned += n;
        std::fprintf(out, "soak figures: %ld random events, %ld to undo them, %ld X input events, %.1f s\n", total,
                     returned, xEvents, seconds);
        for (const auto& [label, n] : counts) std::fprintf(out, "  %-26s %6ld\n", label.c_str(), n);
        for (const auto& [label, n] : returnCounts) std::fprintf(out, "  %-26s %6ld\n", label.c_str(), n);
        std::fprintf(out,
                     "  %ld bursts, %ld of them drawn by the software path and %ld as the difference view; the "
                     "longest took %.0f ms: %s\n",
                     bursts, softwareBursts, differenceBursts, slowestBurstMs, slowestBurst.c_str());
        std::fprintf(out, "  wheel reached %+ld and %+ld wheel events from the start (the eye is at +12)\n",
                     script.lowestZoom(), script.highestZoom());
    }

private:
    ViewerRun& run;
    XSession& x;
    Window window;
    SoakScript script;
    // Burst lengths; the gestures come from the script's own generator.
    std::mt19937_64 pacing;
    std::map<std::string, long> counts, returnCounts;
    long xEvents = 0;
    long bursts = 0, softwareBursts = 0, differenceBursts = 0;
    double slowestBurstMs = 0;
    std::string slowestBurst;

    // Also says exactly which burst a crash followed.
    void waitUntilDrawn(const std::string& after) {
        const IdleWait wait = waitUntilIdle(run.processId(), 30s);
        if (!run.running()) checkAlive("the end of " + after);
        if (!wait.idle) throw std::runtime_error("the viewer was still busy 30 s after " + after);
        if (wait.busy.count() > slowestBurstMs) {
            slowestBurstMs = wait.busy.count();
            slowestBurst = after;
        }
    }

    // Queued, not synced: the viewer gets the gesture with the rest of its burst.
    void send(const Gesture& g) {
        switch (g.kind) {
        case Gesture::Kind::key:
            x.typeKey(g.keysym, g.shifted);
            xEvents += g.shifted ? 4 : 2;
            break;
        case Gesture::Kind::drag:
            x.movePointer(g.path[0].x, g.path[0].y);
            for (int button : g.buttons) x.pressButton(button);
            for (size_t i = 1; i < g.path.size(); ++i) x.movePointer(g.path[i].x, g.path[i].y);
            for (auto b = g.buttons.rbegin(); b != g.buttons.rend(); ++b) x.releaseButton(*b);
            xEvents += static_cast<long>(g.path.size() + 2 * g.buttons.size());
            break;
        case Gesture::Kind::wheel:
            x.movePointer(g.path[0].x, g.path[0].y);
            x.pressButton(g.buttons[0]);
            x.releaseButton(g.buttons[0]);
            xEvents += 3;
            break;
        case Gesture::Kind::pointerMove:
            x.movePointer(g.path[0].x, g.path[0].y);
            xEvents += 1;
            break;
        case Gesture::Kind::resize:
            run.resize(g.width, g.height);
            xEvents += 1;
            break;
        }
    }

    void checkAlive(const std::string& when) {
        if (!run.running()) {
            const std::optional<int> status = run.waitForExit(0ms);
            throw std::runtime_error("the viewer " + describeWaitStatus(status.value_or(0)) + " before " + when);
        }
        const std::optional<XSession::Placement> p = x.placement(window);
        if (!p) throw std::runtime_error("the viewer's window was gone before " + when);
        if (p->width != script.windowWidth() || p->height != script.windowHeight())
            throw std::runtime_error("the window is " + std::to_string(p->width) + " x " + std::to_string(p->height) +
                                     " instead of " + std::to_string(script.windowWidth()) + " x " +
                                     std::to_string(script.windowHeight()) + " before " + when);
    }
};

// Everything on standard output must be an "ERROR: 0x..." line; returns the number of such lines.
long checkOutput(const std::string& text) {
    static const std::regex errorLine("ERROR: 0x[0-9a-f]+");
    EXPECT_TRUE(text.empty() || text.back() == '\n') << "standard output ends in a partial line";
    std::istringstream lines(text);
    std::map<std::string, long> errors;
    long n = 0;
    for (std::string line; std::getline(lines, line);) {
        EXPECT_TRUE(std::regex_match(line, errorLine)) << "standard output holds \"" << line << "\"";
        ++errors[line];
        ++n;
    }
    for (const auto& [line, count] : errors) std::printf("the viewer printed \"%s\" %ld times\n", line.c_str(), count);
    return n;
}

// One "saved" line on standard error and three pictures in `dir` per save, nothing else.
void checkSaves(const std::string& errors, const std::filesystem::path& dir, long saves) {
    std::istringstream lines(errors);
    long saved = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line == "rasterview: press h for the keys") continue;
        if (line.rfind("rasterview: saved ", 0) == 0)
            ++saved;
        else if (line.rfind("rasterview: ", 0) == 0)
            ADD_FAILURE() << "standard error holds \"" << line << "\"";
    }
    EXPECT_EQ(saved, saves) << "lines saying a view was saved";
    long files = 0;
    if (std::filesystem::exists(dir))
        for (const auto& entry : std::filesystem::directory_iterator(dir)) files += entry.file_size() > 0;
    EXPECT_EQ(files, 3 * saves) << "non-empty pictures in " << dir.string();
    std::printf("%ld views saved\n", saved);
}

class ViewerSoak : public ::testing::Test {
protected:
    void keep(const std::string& name, const RgbImage8& picture) {
        const std::filesystem::path dir = RV_SOAK_SHOTS_DIR;
        std::filesystem::create_directories(dir);
        const std::string path = (dir / (name + ".png")).string();
        std::string error;
        if (writePng(path, picture, &error))
            std::printf("screenshot: %s\n", path.c_str());
        else
            std::printf("could not save a screenshot: %s\n", error.c_str());
    }
};

TEST_F(ViewerSoak, SurvivesALongSeededSessionAndComesBackToItsFirstPictures) {
    const std::uint64_t seed = seedFromEnvironment();
    const long events = eventsFromEnvironment();
    const std::string replay = "seed " + std::to_string(seed) + " (replay: RV_SOAK_SEED=" + std::to_string(seed) +
                               " RV_SOAK_EVENTS=" + std::to_string(events) + " " + RV_SOAK_TEST_PROGRAM + ")";
    SCOPED_TRACE(replay);
    std::printf("soak %s\n", replay.c_str());
    const auto start = Clock::now();
    std::unique_ptr<Soak> soak;
    const std::filesystem::path savedViews =
        std::filesystem::temp_directory_path() / ("rasterview-soak-" + std::to_string(::getpid()));
    std::filesystem::remove_all(savedViews);
    try {
        std::vector<std::string> arguments = {"--shots", savedViews.string()};
        if (const char* model = std::getenv("RV_SOAK_MODEL"); model && *model)
            arguments.insert(arguments.end(), {"--model", model});
        ViewerRun run(RV_VIEWER, {arguments, screenSize.x, screenSize.y, true});
        // The start pictures of both renderers, to compare the end with.
        const RgbImage8 firstGL = run.settled();
        run.typeKey(XK_g);
        const RgbImage8 firstSoftware = run.changedFrom(firstGL);
        run.typeKey(XK_g);
        ASSERT_EQ(run.changedFrom(firstSoftware), firstGL) << "g twice does not bring the OpenGL picture back";
        ASSERT_TRUE(showsCaption(firstGL) && !showsCaption(firstSoftware));

        soak = std::make_unique<Soak>(run, seed);
        soak->randomPhase(events);
        const double randomSeconds = secondsSince(start);
        soak->undoAll();

        // One frame of the renderer the keys left on, then one of the other: both at the start view again.
        bool openGL = soak->model().view().useOpenGL;
        RgbImage8 seen;
        for (int frame = 0; frame < 2; ++frame) {
            if (frame == 1) {
                run.typeKey(XK_g);
                openGL = !openGL;
            }
            const RgbImage8& expected = openGL ? firstGL : firstSoftware;
            // A backlog of frames may still be on its way; the first wait allows for it.
            seen = soak->waitFor(expected, frame == 0 ? 60s : 10s);
            keep(std::string("final-") + rendererName(openGL), seen);
            if (seen != expected) {
                keep(std::string("start-") + rendererName(openGL), expected);
                ADD_FAILURE() << "after the input was undone the " << rendererName(openGL)
                              << " picture differs from the start; the window shows "
                              << (seen.width ? (showsCaption(seen) ? "the OpenGL caption" : "no caption") : "nothing");
            }
        }

        // Responsive: one key still makes a new frame. At the start view mip-mapping visibly changes the tiles.
        run.typeKey(XK_a);
        EXPECT_NE(run.changedFrom(seen, 10s), seen) << "the window did not redraw after 'a'";

        run.typeKey(XK_q);
        const std::optional<int> status = run.waitForExit(5s);
        ASSERT_TRUE(status) << "the viewer is still running after 'q'";
        EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << "the viewer " << describeWaitStatus(*status);
        const long errorLines = checkOutput(run.output());
        checkSaves(run.errorOutput(), savedViews, soak->model().view().saves);
        std::printf("start-up and random events %.1f s; %ld GL error lines\n", randomSeconds, errorLines);
    } catch (const std::exception& e) {
        ADD_FAILURE() << e.what();
    }
    if (soak) soak->printFigures(stdout, secondsSince(start));
    std::filesystem::remove_all(savedViews);
}

} // namespace

} // namespace rv
