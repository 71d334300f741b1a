#include "app/frame_loop.h"

#include <GL/glut.h>

#include <cstdio>
#include <string>

#include "app/view_shots.h"
#include "app/viewer.h"
#include "view/difference_view.h"
#include "view/draw_frame.h"

namespace rv {

namespace {

struct FrameSize {
    int width, height;
};

// The viewport, not the last reshape, is the frame size: a zero-size reshape leaves it alone.
FrameSize frameSize() {
    GLint v[4];
    glGetIntegerv(GL_VIEWPORT, v);
    return {v[2], v[3]};
}

} // namespace

void displayFrame() {
    const FrameSize size = frameSize();
    const bool inspecting = !viewer.scene.useOpenGL && viewer.display == Display::renderer &&
                            viewer.inspect != InspectView::picture;
    // Records cost a little per fragment; other frames do without them. Dropped once on leaving the
    // views rather than after every view frame, which would allocate and free a record per pixel each time.
    if (!inspecting && viewer.frame.keepsRecords()) viewer.frame.dropRecords();
    if (viewer.display == Display::difference)
        drawDifferenceFrame(viewer.scene, viewer.frame, viewer.pose, *viewer.software, size.width, size.height);
    else if (inspecting)
        drawInspectFrame(viewer.scene, viewer.frame, viewer.pose, *viewer.software, viewer.inspect, size.width,
                         size.height);
    else
        drawFrame(viewer.scene, viewer.frame, viewer.pose, *viewer.software, size.width, size.height);
    glutSwapBuffers();
}

void saveShownView() {
    const FrameSize size = frameSize();
    const ShotView shot{viewer.pose, size.width, size.height, viewer.scene.mipmapping, viewer.scene.clipping};
    const std::string line = saveView(viewer.shotsDirectory, shot, [&] {
        return drawViewPictures(viewer.scene, viewer.frame, viewer.pose, *viewer.software, size.width, size.height);
    });
    std::fprintf(stderr, "%s\n", line.c_str());
}

void reshapeWindow(int width, int height) {
    if (width != 0 && height != 0) glViewport(0, 0, width, height);
}

void idleRedraw() {
    displayFrame();
    glutIdleFunc(nullptr);
}

} // namespace rv
