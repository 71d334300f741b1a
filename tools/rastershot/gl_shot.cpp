#include "tools/rastershot/gl_shot.h"

#include <GL/freeglut.h>
#include <X11/Xlib.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>

#include "picture/gl_readback.h"
#include "view/difference_view.h"
#include "view/draw_frame.h"

namespace rv {

namespace {

// GLUT callbacks carry no user pointer.
bool windowShown = false;

void noteShown() { windowShown = true; }

std::string sizeText(int width, int height) { return std::to_string(width) + "x" + std::to_string(height); }

} // namespace

DisplayCheck::DisplayCheck(int width, int height) {
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) {
        why = "DISPLAY is not set";
        return;
    }
    display = XOpenDisplay(nullptr);
    if (!display) {
        why = std::string("cannot open the display '") + name + "'";
        return;
    }
    const int screenWidth = DisplayWidth(display, DefaultScreen(display));
    const int screenHeight = DisplayHeight(display, DefaultScreen(display));
    const int depth = DefaultDepth(display, DefaultScreen(display));
    // A shallower screen has no window with 8 bits per channel: its pictures would not be the viewer's.
    if (depth < 24)
        why = std::string("the screen of display '") + name + "' has " + std::to_string(depth) +
              "-bit colour, not the 24 bits the pictures need";
    // Pixels off the screen belong to nobody: GL may leave them undefined.
    else if (width > screenWidth || height > screenHeight)
        why = std::string("the screen of display '") + name + "' is " + sizeText(screenWidth, screenHeight) +
              ", too small for a " + sizeText(width, height) + " window";
}

DisplayCheck::~DisplayCheck() {
    if (display) XCloseDisplay(display);
}

void openWindow(int width, int height) {
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(width, height);
    // Without a window manager GLUT's default position puts the window at (-1, -1), its top row off screen.
    glutInitWindowPosition(0, 0);
    // Our own arguments are not GLUT's: it would take --size for one of its own flags' values.
    int argc = 1;
    char program[] = "rastershot";
    char* argv[] = {program, nullptr};
    glutInit(&argc, argv);
    glutCreateWindow("rastershot");
    glutDisplayFunc(noteShown);

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!windowShown) {
        if (std::chrono::steady_clock::now() > deadline) throw std::runtime_error("the window was never shown");
        glutMainLoopEvent();
    }
    const int shownWidth = glutGet(GLUT_WINDOW_WIDTH), shownHeight = glutGet(GLUT_WINDOW_HEIGHT);
    if (shownWidth != width || shownHeight != height)
        throw std::runtime_error("asked for a " + sizeText(width, height) + " window, got " +
                                 sizeText(shownWidth, shownHeight) +
                                 " (a window manager or the screen size limits it)");
    glViewport(0, 0, width, height);
}

WindowShot shootInWindow(Scene& scene, FrameBuffer& frame, const ShotOptions& o, WindowPath path) {
    const bool useOpenGL = path == WindowPath::opengl;
    SoftwareWindow software(o.common.threads,
                            path == WindowPath::softwareImage ? Presentation::image : Presentation::points);
    scene.useOpenGL = useOpenGL;
    WindowShot shot;
    shot.times = timeFrames(o.frames, [&] {
        if (path == WindowPath::difference)
            drawDifferenceFrame(scene, frame, o.pose, software, o.width, o.height);
        else
            drawFrame(scene, frame, o.pose, software, o.width, o.height);
        // The GL queues its work: without this the clock stops before the pixels exist.
        glFinish();
    });
    frame.output = nullptr;
    if (!useOpenGL) shot.counts = frame.stats;
    shot.snapshot = readBackBuffer(o.width, o.height);
    return shot;
}

} // namespace rv
