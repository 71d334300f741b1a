#pragma once

#include <optional>
#include <string>

#include "app/notice.h"
#include "app/view_controls.h"
#include "model/child_import.h"
#include "raster/frame_buffer.h"
#include "scene/scene.h"
#include "view/software_window.h"

namespace rv {

// Everything the running viewer keeps for the whole run. GLUT callbacks carry
// no user pointer, so they reach it through the one instance below.
struct Viewer {
    Scene scene;
    FrameBuffer frame;
    ViewState view;
    MouseDrag drag;
    Notice notice;
    // Where 's' saves the view.
    std::string shotsDirectory = "out";
    // What 's' names in its rastershot command: the model file, absolute, and its import caps.
    std::string modelPath;
    ImportLimits importLimits;
    // Made once the command line is read.
    std::optional<SoftwareWindow> software;
    // The last frame's picture, to glFinish, for the overlay; negative before the first frame.
    double lastFrameMs = -1;
};

extern Viewer viewer;

} // namespace rv
