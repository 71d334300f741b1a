#pragma once

#include <optional>
#include <string>

#include "app/view_controls.h"
#include "raster/frame_buffer.h"
#include "scene/scene.h"
#include "view/software_window.h"

namespace rv {

// Everything the running viewer keeps for the whole run. GLUT callbacks carry
// no user pointer, so they reach it through the one instance below.
struct Viewer {
    Scene scene;
    FrameBuffer frame;
    ViewPose pose;
    MouseDrag drag;
    Display display = Display::renderer;
    // What the software path shows: its picture or a false-colour view of its frame.
    InspectView inspect = InspectView::picture;
    // Where 's' saves the view.
    std::string shotsDirectory = "out";
    // Made once the command line is read.
    std::optional<SoftwareWindow> software;
};

extern Viewer viewer;

} // namespace rv
