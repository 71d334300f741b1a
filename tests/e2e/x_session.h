#pragma once

#include <X11/Xlib.h>

#include <optional>
#include <string>

#include "picture/rgb_image.h"

namespace rv {

// A test's own connection to an X server: finds windows by title, grabs their
// pictures and sends keyboard and mouse input through the XTest extension, as
// a person at that display would.
class XSession {
public:
    // Throws std::runtime_error if the display cannot be opened or lacks XTest.
    explicit XSession(const std::string& display);
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    // The first window, depth first from the root, whose WM_NAME is `title`; 0 if none.
    Window findWindow(const std::string& title);

    struct Placement {
        int x, y;  // top-left corner on the screen
        int width, height;
        bool viewable;
    };
    std::optional<Placement> placement(Window window);
    // With no window manager the program's own position stands; this moves the
    // window fully onto the screen, where its picture can be read.
    void moveWindow(Window window, int x, int y);
    // Keeps the top-left corner; with no window manager the program is told at once.
    void resizeWindow(Window window, int width, int height);
    void focus(Window window);

    // The window's current picture, or nothing while it is not fully viewable on screen.
    std::optional<RgbImage8> grab(Window window);

    // Input is queued until sync(), so that one gesture reaches the program as
    // one burst of events and is drawn as one frame, not as a trail of partial ones.
    // Press and release; `shifted` holds Shift around it, for upper-case letters.
    void typeKey(unsigned long keysym, bool shifted = false);
    void movePointer(int screenX, int screenY);
    // X button numbers: 1 left, 2 middle, 3 right, 4 wheel up, 5 wheel down.
    void pressButton(int button);
    void releaseButton(int button);
    // Waits until the server has handled everything sent so far.
    void sync();

private:
    Display* display = nullptr;
};

} // namespace rv
