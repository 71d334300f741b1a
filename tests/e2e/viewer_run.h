#pragma once

#include <X11/Xlib.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "picture/rgb_image.h"
#include "tests/e2e/child_process.h"
#include "tests/e2e/x_session.h"
#include "tests/e2e/xvfb.h"

namespace rv {

// One run of a viewer program on its own Xvfb: started, its window "Class
// Framework" found, moved fully onto the screen and drawn. The window redraws
// only on demand, so every wait below watches the picture instead of sleeping.
// Everything is torn down with the object: program, connection, server.
class ViewerRun {
public:
    struct Options {
        // After the program name.
        std::vector<std::string> arguments;
        // Xvfb's screen; the window sits at (100, 100) on it.
        int screenWidth = 1024;
        int screenHeight = 768;
        // Standard error into a file for errorOutput(), not the test's own.
        bool keepErrors = false;
    };

    // Throws std::runtime_error when the program does not show and draw its window.
    explicit ViewerRun(const std::string& program) : ViewerRun(program, Options{}) {}
    ViewerRun(const std::string& program, const Options& options);

    // The picture once four grabs in a row, 20 ms apart, agree; throws if it never settles.
    RgbImage8 settled();
    // Waits for the picture to differ from `before`, then for it to settle. After
    // the timeout the unchanged picture is returned for the caller's check to fail on.
    RgbImage8 changedFrom(const RgbImage8& before, std::chrono::milliseconds timeout = std::chrono::seconds(5));
    // The picture once the program has drawn everything asked of it so far: it
    // has used no CPU for a while, then the picture settles. A slow frame can
    // look settled while the next one is still being drawn; this cannot.
    RgbImage8 drawnOut();
    // The picture once every notice shown so far has had its time and gone.
    RgbImage8 afterNotices();

    // X keysyms (XK_a, XK_Escape, ...); `shifted` holds Shift for upper case.
    void typeKey(unsigned long keysym, bool shifted = false);
    // Presses an X button at the window centre, moves by (dx, dy) in small steps and releases.
    void drag(int button, int dx, int dy);
    // One wheel notch at the window centre: button 4 up, 5 down.
    void wheel(int button);
    // Keeps the top-left corner; drag() and wheel() then work at the new centre.
    void resize(int width, int height);

    // For tests that script their own input: the connection, the window and its
    // top-left corner on the screen, which stays put for the whole run.
    XSession& session() { return x; }
    Window windowId() const { return window; }
    pid_t processId() const { return viewer.processId(); }
    int windowLeft() const;
    int windowTop() const;

    bool running() { return viewer.running(); }
    // Raw wait status once the program has ended.
    std::optional<int> waitForExit(std::chrono::milliseconds timeout) { return viewer.waitForExit(timeout); }
    // Everything the program has written to standard output so far.
    std::string output() const;
    // The same of standard error, with Options::keepErrors.
    std::string errorOutput() const;
    // The X display the program runs on, ":<n>".
    const std::string& display() const { return server.display(); }

private:
    // A file of our own in /tmp, removed however the run ends.
    struct OutputFile {
        std::string path;
        OutputFile();
        ~OutputFile();
    };

    Xvfb server;
    XSession x;
    OutputFile stdoutFile;
    OutputFile stderrFile;
    ChildProcess viewer;
    Window window = 0;
    int centreX = 0, centreY = 0;

    RgbImage8 grab();
    void checkAlive(const char* while_);
};

} // namespace rv
