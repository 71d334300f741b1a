#pragma once

namespace rv {

// GLUT display callback: one frame at the current viewport's size.
void displayFrame();
// GLUT reshape callback; a zero size (a minimised window) keeps the old viewport.
void reshapeWindow(int width, int height);
// One-shot idle callback: draws a frame and disarms itself until input re-arms it.
void idleRedraw();

} // namespace rv
