#include "app/startup.h"

#include <GL/glut.h>

#include "app/frame_loop.h"
#include "app/input_callbacks.h"
#include "app/software_path.h"
#include "app/take_flag.h"
#include "app/viewer.h"

namespace rv {

void startViewer(int& argc, char** argv) {
    // Ours, not GLUT's: taken out before glutInit sees the arguments.
    const bool simd = !takeFlag(argc, argv, "--no-simd");
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(480, 480);
    glutInit(&argc, argv);
    glutCreateWindow("Class Framework");
    glutDisplayFunc(displayFrame);
    glutReshapeFunc(reshapeWindow);
    glutKeyboardFunc(keyPressed);
    glutMouseFunc(mouseButton);
    glutMotionFunc(mouseMotion);
    glutIdleFunc(idleRedraw);
    initScene(viewer.scene);
    viewer.scene.simd = simd;
    prepareRendering(viewer.scene, viewer.frame);
}

} // namespace rv
