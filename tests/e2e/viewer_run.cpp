#include "tests/e2e/viewer_run.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <unistd.h>

#include "tests/e2e/process_cpu.h"

namespace rv {

namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

constexpr int windowX = 100, windowY = 100;
constexpr milliseconds pollInterval(20);

ChildProcess::Options viewerOptions(const std::string& display, const std::string& stdoutPath,
                                   const std::string& stderrPath) {
    ChildProcess::Options options;
    options.environment = {{"DISPLAY", display}};
    options.stdoutPath = stdoutPath;
    options.stderrPath = stderrPath;
    return options;
}

std::string contents(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> commandLine(const std::string& program, const std::vector<std::string>& arguments) {
    std::vector<std::string> line{program};
    line.insert(line.end(), arguments.begin(), arguments.end());
    return line;
}

} // namespace

ViewerRun::OutputFile::OutputFile() {
    char name[] = "/tmp/rasterview-output-XXXXXX";
    const int fd = ::mkstemp(name);
    if (fd < 0) throw std::runtime_error("cannot create a file for the viewer's output");
    ::close(fd);
    path = name;
}

ViewerRun::OutputFile::~OutputFile() { ::unlink(path.c_str()); }

ViewerRun::ViewerRun(const std::string& program, const Options& options)
    : server(options.screenWidth, options.screenHeight), x(server.display()),
      viewer(commandLine(program, options.arguments), viewerOptions(server.display(), stdoutFile.path, options.keepErrors ? stderrFile.path : "")) {
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (!(window = x.findWindow("Class Framework"))) {
        checkAlive("waiting for its window");
        if (Clock::now() > deadline) throw std::runtime_error(program + " showed no window \"Class Framework\"");
        std::this_thread::sleep_for(milliseconds(10));
    }
    // Without a window manager the window sits where the program asked, partly off screen.
    for (;;) {
        checkAlive("waiting for its window to be placed");
        const std::optional<XSession::Placement> p = x.placement(window);
        if (p && p->viewable && p->x == windowX && p->y == windowY) {
            centreX = p->x + p->width / 2;
            centreY = p->y + p->height / 2;
            break;
        }
        if (Clock::now() > deadline) throw std::runtime_error("the window could not be placed on the screen");
        if (p && p->viewable) x.moveWindow(window, windowX, windowY);
        std::this_thread::sleep_for(milliseconds(10));
    }
    x.focus(window);
    x.movePointer(centreX, centreY);
    x.sync();
    // Drawn means cleared to white: before its first frame the window shows no background of its own.
    for (;;) {
        const RgbImage8 picture = settled();
        const std::uint8_t* corner = picture.pixel(picture.width - 1, 0);
        if (corner[0] == 255 && corner[1] == 255 && corner[2] == 255) break;
        if (Clock::now() > deadline) throw std::runtime_error("the window was never drawn");
    }
}

void ViewerRun::checkAlive(const char* while_) {
    if (viewer.running()) return;
    const std::optional<int> status = viewer.waitForExit(milliseconds(0));
    throw std::runtime_error("the viewer " + describeWaitStatus(*status) + " while " + while_);
}

RgbImage8 ViewerRun::grab() {
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    for (;;) {
        checkAlive("its picture was read");
        if (std::optional<RgbImage8> picture = x.grab(window)) return *std::move(picture);
        if (Clock::now() > deadline) throw std::runtime_error("the window's picture could not be read");
        std::this_thread::sleep_for(pollInterval);
    }
}

RgbImage8 ViewerRun::settled() {
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    RgbImage8 last = grab();
    int agreeing = 1;
    while (agreeing < 4) {
        if (Clock::now() > deadline) throw std::runtime_error("the picture kept changing");
        std::this_thread::sleep_for(pollInterval);
        RgbImage8 now = grab();
        agreeing = now == last ? agreeing + 1 : 1;
        last = std::move(now);
    }
    return last;
}

RgbImage8 ViewerRun::changedFrom(const RgbImage8& before, milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (grab() == before && Clock::now() < deadline) std::this_thread::sleep_for(pollInterval);
    return settled();
}

RgbImage8 ViewerRun::drawnOut() {
    if (!waitUntilIdle(viewer.processId(), std::chrono::seconds(30)).idle)
        throw std::runtime_error("the viewer was still busy after 30 s");
    return settled();
}

RgbImage8 ViewerRun::afterNotices() {
    // A notice lasts two seconds from its key.
    std::this_thread::sleep_for(std::chrono::milliseconds(2300));
    return drawnOut();
}

void ViewerRun::typeKey(unsigned long keysym, bool shifted) {
    x.typeKey(keysym, shifted);
    x.sync();
}

void ViewerRun::drag(int button, int dx, int dy) {
    x.movePointer(centreX, centreY);
    x.pressButton(button);
    const int steps = (std::max(std::abs(dx), std::abs(dy)) + 4) / 5;
    for (int i = 1; i <= steps; ++i) x.movePointer(centreX + dx * i / steps, centreY + dy * i / steps);
    x.releaseButton(button);
    x.sync();
}

void ViewerRun::wheel(int button) {
    x.movePointer(centreX, centreY);
    x.pressButton(button);
    x.releaseButton(button);
    x.sync();
}

void ViewerRun::resize(int width, int height) {
    x.resizeWindow(window, width, height);
    centreX = windowX + width / 2;
    centreY = windowY + height / 2;
}

int ViewerRun::windowLeft() const { return windowX; }
int ViewerRun::windowTop() const { return windowY; }

std::string ViewerRun::output() const { return contents(stdoutFile.path); }

std::string ViewerRun::errorOutput() const { return contents(stderrFile.path); }

} // namespace rv
