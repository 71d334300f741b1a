#include "app/difference_view.h"

#include "app/draw_frame.h"
#include "glref/render_opengl.h"
#include "picture/gl_readback.h"
#include "picture/window_bytes.h"

namespace rv {

ViewPictures drawViewPictures(Scene& scene, FrameBuffer& frame, const ViewState& view, SoftwareWindow& software,
                              int width, int height) {
    beginFrame(scene, view, width, height);
    renderOpenGL(scene, width, height);
    ViewPictures pictures;
    // Before the read-back, which waits for the GL: its threads draw while ours do.
    pictures.software = software.drawInMemory(scene, frame, width, height);
    pictures.opengl = readBackBuffer(width, height);
    pictures.difference = differenceImage(pictures.software, pictures.opengl, pictures.counts);
    return pictures;
}

void drawDifferenceFrame(Scene& scene, FrameBuffer& frame, const ViewState& view, SoftwareWindow& software,
                         int width, int height) {
    const ViewPictures pictures = drawViewPictures(scene, frame, view, software, width, height);
    // The reference left the scene's matrices loaded: the picture would land wherever they put (0, 0).
    loadPixelProjection(width, height);
    software.present(pictures.difference);
    drawCaption(differenceCaption(pictures.counts).c_str(), width, height);
}

void drawInspectFrame(Scene& scene, FrameBuffer& frame, const ViewState& view, SoftwareWindow& software,
                      InspectView inspect, int width, int height) {
    beginFrame(scene, view, width, height, false);
    frame.keepRecords();
    software.drawInMemory(scene, frame, width, height);
    constexpr float white[3] = {1, 1, 1};
    const std::vector<float> colours =
        falseColours(inspect, {frame.width(), frame.height(), frame.depth(), frame.records()}, white);
    software.present(windowPicture(colours.data(), width, height));
    drawCaption(viewCaption(inspect).c_str(), width, height);
}

} // namespace rv
