#include "app/frame_loop.h"

#include <GL/glut.h>

#include "app/camera.h"
#include "app/software_path.h"
#include "app/viewer.h"
#include "glref/render_opengl.h"

void displayFrame() {
    // The viewport, not the last reshape, is the frame size: a zero-size reshape leaves it alone.
    GLint v[4];
    glGetIntegerv(GL_VIEWPORT, v);
    const int width = v[2], height = v[3];

    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // One unit per pixel from the lower-left corner: a software point at (x, y) lands on pixel (x, y).
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, 0, height, 0, -1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    setupCamera(viewer.scene, viewer.view, width, height);
    renderScene(viewer.scene, width, height);
    glutSwapBuffers();
}

void reshapeWindow(int width, int height) {
    if (width != 0 && height != 0) glViewport(0, 0, width, height);
}

void idleRedraw() {
    displayFrame();
    glutIdleFunc(nullptr);
}

void renderScene(const Scene& scene, int width, int height) {
    if (scene.useOpenGL) {
        renderOpenGL(scene, width, height);
        return;
    }
    viewer.frame.output = &viewer.points;
    renderSoftware(scene, viewer.frame, width, height);
}
