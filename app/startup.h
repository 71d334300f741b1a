#pragma once

#include <string>

#include "app/viewer_options.h"

namespace rv {

// Opens the window, registers the callbacks and prepares the software path for
// the scene already built in `viewer`: everything before the GLUT main loop. The first frame is drawn
// by the idle callback once the loop runs. GLUT takes its own options out of
// argv; an argument it leaves is returned as an error before any window opens
// (empty when there is none).
std::string startViewer(int& argc, char** argv, const ViewerOptions& options = {});

// The viewer's whole run, command line included: what main returns.
int viewerMain(int argc, char** argv);

} // namespace rv
