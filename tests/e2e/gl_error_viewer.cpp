// The viewer with one GL error queued before its first frame, so that a test
// can watch the OpenGL path report it. Not an option of the real program.
#include <GL/glut.h>

#include "app/startup.h"
#include "app/viewer.h"

int main(int argc, char** argv) {
    rv::initScene(rv::viewer.scene);
    rv::startViewer(argc, argv);
    // No capability has the number 0: GL_INVALID_ENUM, 0x500.
    glEnable(0);
    glutMainLoop();
    return 0;
}
