#pragma once

namespace rv {

// GLUT input callbacks: apply the event to the view or the scene, then quit
// or arm the one-shot idle redraw as the event requires.
void keyPressed(unsigned char key, int x, int y);
// F1 opens the keys overlay as 'h' does; other special keys do nothing.
void specialKeyPressed(int key, int x, int y);
void mouseButton(int button, int state, int x, int y);
void mouseMotion(int x, int y);

} // namespace rv
