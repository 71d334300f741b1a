#pragma once

#include <string>

namespace rv {

// GLUT display callback: one frame at the current viewport's size, then the
// notice and the keys overlay over it when shown. The first frame prints the
// hint for the keys on standard error.
void displayFrame();
// GLUT reshape callback; a zero size (a minimised window) keeps the old viewport.
void reshapeWindow(int width, int height);
// Saves the software, OpenGL and difference pictures of the window's current
// size and view, as 's' asks, and reports them on standard error; returns the
// window's notice of it. Draws into the back buffer without swapping: the
// window keeps showing its picture.
std::string saveShownView();
// One-shot idle callback: draws a frame and disarms itself until input re-arms it.
void idleRedraw();

} // namespace rv
