#pragma once

namespace rv {

// Opens the window, registers the callbacks, builds the scene and prepares the
// software path: everything before the GLUT main loop. The first frame is drawn
// by the idle callback once the loop runs. --no-simd (removed from argv) makes the
// software path shade with its scalar code.
void startViewer(int& argc, char** argv);

} // namespace rv
