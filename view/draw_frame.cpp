#include "view/draw_frame.h"

#include <GL/gl.h>

#include "glref/render_opengl.h"
#include "view/camera.h"

namespace rv {

void drawFrame(Scene& scene, FrameBuffer& frame, const ViewPose& pose, SoftwareWindow& software, int width,
               int height) {
    // The software frame as one image sets every pixel: a clear first would cost a large window a few ms.
    beginFrame(scene, pose, width, height, scene.useOpenGL || !software.setsEveryPixel());
    renderScene(scene, frame, software, width, height);
}

void beginFrame(Scene& scene, const ViewPose& pose, int width, int height, bool clear) {
    if (clear) {
        glClearColor(1, 1, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    loadPixelProjection(width, height);
    setupCamera(scene, pose, width, height);
}

void loadPixelProjection(int width, int height) {
    // One unit per pixel from the lower-left corner: a software point at (x, y) lands on pixel (x, y).
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, 0, height, 0, -1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void renderScene(const Scene& scene, FrameBuffer& frame, SoftwareWindow& software, int width, int height) {
    if (scene.useOpenGL)
        renderOpenGL(scene, width, height);
    else
        software.draw(scene, frame, width, height);
}

} // namespace rv
