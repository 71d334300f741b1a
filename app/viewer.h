#pragma once

#include <optional>
#include <string>

#include "app/software_window.h"
#include "app/view_controls.h"
#include "app/view_state.h"
#include "raster/frame_buffer.h"
#include "scene/scene.h"

namespace rv {

// Everything the running viewer keeps for the whole run. GLUT callbacks carry
// no user pointer, so they reach it through the one instance below.
struct Viewer {
    Scene scene;
    FrameBuffer frame;
    ViewState view;
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
