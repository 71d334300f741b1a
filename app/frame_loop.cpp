#include "app/frame_loop.h"

#include <GL/glut.h>

#include "app/draw_frame.h"
#include "app/viewer.h"

namespace rv {

void displayFrame() {
    // The viewport, not the last reshape, is the frame size: a zero-size reshape leaves it alone.
    GLint v[4];
    glGetIntegerv(GL_VIEWPORT, v);
    drawFrame(viewer.scene, viewer.frame, viewer.view, *viewer.software, v[2], v[3]);
    glutSwapBuffers();
}

void reshapeWindow(int width, int height) {
    if (width != 0 && height != 0) glViewport(0, 0, width, height);
}

void idleRedraw() {
    displayFrame();
    glutIdleFunc(nullptr);
}

} // namespace rv
