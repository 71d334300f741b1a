#include "app/frame_loop.h"

#include <GL/glut.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "app/key_table.h"
#include "app/view_shots.h"
#include "app/viewer.h"
#include "app/window_text.h"
#include "view/difference_view.h"
#include "view/draw_frame.h"
#include "view/simd_target.h"
#include "view/text_panel_gl.h"

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

void drawPicture(FrameSize size) {
    const bool inspecting = !viewer.scene.useOpenGL && viewer.view.display == Display::renderer &&
                            viewer.view.inspect != InspectView::picture;
    // Records cost a little per fragment; other frames do without them. Dropped once on leaving the
    // views rather than after every view frame, which would allocate and free a record per pixel each time.
    if (!inspecting && viewer.frame.keepsRecords()) viewer.frame.dropRecords();
    viewer.software->setPresentation(viewer.view.present);
    if (viewer.view.display == Display::difference)
        drawDifferenceFrame(viewer.scene, viewer.frame, viewer.view.pose, *viewer.software, size.width, size.height);
    else if (inspecting)
        drawInspectFrame(viewer.scene, viewer.frame, viewer.view.pose, *viewer.software, viewer.view.inspect,
                         size.width, size.height);
    else
        drawFrame(viewer.scene, viewer.frame, viewer.view.pose, *viewer.software, size.width, size.height);
}

// The notice and the keys overlay over the picture; nothing at all while both are off.
void drawWindowText(FrameSize size) {
    if (!viewer.notice.visible() && !viewer.view.overlay) return;
    std::vector<PanelLine> lines;
    if (viewer.view.overlay) {
        static const std::string simd = simdTargetName(viewer.scene.simd);
        const WindowFacts facts{viewer.software->threads(), simd, size.width, size.height, viewer.lastFrameMs};
        lines = overlayLines(viewer.scene, viewer.view, facts);
    }
    const WindowText text = layoutWindowText(viewer.notice.text(), lines, size.width, size.height, glutTextWidth);
    drawTextPanel(text.notice, size.width, size.height);
    drawTextPanel(text.overlay, size.width, size.height);
}

} // namespace

void displayFrame() {
    static bool first = true;
    if (first) {
        std::fprintf(stderr, "rasterview: press h for the keys\n");
        first = false;
    }
    const FrameSize size = frameSize();
    const auto start = std::chrono::steady_clock::now();
    drawPicture(size);
    // The GL queues its work: without this the time would end before the pixels exist.
    glFinish();
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    drawWindowText(size);
    viewer.lastFrameMs = ms;
    glutSwapBuffers();
}

std::string saveShownView() {
    const FrameSize size = frameSize();
    const ShotView shot{viewer.view.pose,      size.width,         size.height,         viewer.scene.mipmapping,
                        viewer.scene.clipping, viewer.scene.lightingEnabled, viewer.modelPath, viewer.importLimits};
    const SaveReport report = saveView(viewer.shotsDirectory, shot, [&] {
        return drawViewPictures(viewer.scene, viewer.frame, viewer.view.pose, *viewer.software, size.width,
                                size.height);
    });
    std::fprintf(stderr, "%s\n", report.line.c_str());
    return report.notice;
}

void reshapeWindow(int width, int height) {
    if (width != 0 && height != 0) glViewport(0, 0, width, height);
}

void idleRedraw() {
    displayFrame();
    glutIdleFunc(nullptr);
}

} // namespace rv
