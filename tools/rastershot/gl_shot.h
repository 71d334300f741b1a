#pragma once

#include <string>

#include "picture/difference.h"
#include "raster/frame_buffer.h"
#include "scene/scene.h"
#include "tools/rastershot/command_line.h"
#include "tools/rastershot/frame_times.h"

struct _XDisplay;

namespace rv {

// A connection to $DISPLAY, held for the whole run: an X server resets when its
// last client leaves and refuses connections while it does, so closing this
// before GLUT connects would make glutInit fail now and then, and end the
// process. Asked before GLUT starts for the same reason.
class DisplayCheck {
public:
    DisplayCheck(int width, int height);
    ~DisplayCheck();
    DisplayCheck(const DisplayCheck&) = delete;
    DisplayCheck& operator=(const DisplayCheck&) = delete;

    // Empty when the display has a 24-bit screen that can hold a width x height
    // window, else the reason.
    const std::string& problem() const { return why; }

private:
    _XDisplay* display = nullptr;
    std::string why;
};

// Opens the one GLUT window, exactly width x height, on the screen's top-left
// corner. Throws std::runtime_error if it ends up another size.
void openWindow(int width, int height);

struct WindowShot {
    // The back buffer after the last frame, before any swap.
    Snapshot snapshot;
    // Counts of one frame; only the software path has them.
    RenderStats counts;
    FrameTimes times;
};

// What draws into the window: a renderer, or the viewer's difference view.
enum class WindowPath { opengl, softwarePoints, softwareImage, difference };

// Draws options.frames frames with the viewer's own frame set-up and the given
// path, the software path with options.threads threads, each timed up to glFinish.
WindowShot shootInWindow(Scene& scene, FrameBuffer& frame, const ShotOptions& options, WindowPath path);

} // namespace rv
