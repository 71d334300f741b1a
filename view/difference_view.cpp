#include "view/difference_view.h"

#include "view/draw_frame.h"
#include "view/false_colour_picture.h"
#include "glref/render_opengl.h"
#include "picture/gl_readback.h"

namespace rv {

ViewPictures drawViewPictures(Scene& scene, FrameBuffer& frame, const ViewPose& pose, SoftwareWindow& software,
                              int width, int height) {
    beginFrame(scene, pose, width, height);
    renderOpenGL(scene, width, height);
    ViewPictures pictures;
    // Before the read-back, which waits for the GL: its threads draw while ours do.
    pictures.software = software.drawInMemory(scene, frame, width, height);
    pictures.opengl = readBackBuffer(width, height);
    pictures.difference = differenceImage(pictures.software, pictures.opengl, pictures.counts);
    return pictures;
}

void drawDifferenceFrame(Scene& scene, FrameBuffer& frame, const ViewPose& pose, SoftwareWindow& software,
                         int width, int height) {
    const ViewPictures pictures = drawViewPictures(scene, frame, pose, software, width, height);
    // The reference left the scene's matrices loaded: the picture would land wherever they put (0, 0).
    loadPixelProjection(width, height);
    software.present(pictures.difference);
    drawCaption(differenceCaption(pictures.counts).c_str(), width, height);
}

void drawInspectFrame(Scene& scene, FrameBuffer& frame, const ViewPose& pose, SoftwareWindow& software,
                      InspectView inspect, int width, int height) {
    beginFrame(scene, pose, width, height, false);
    frame.keepRecords();
    software.drawInMemory(scene, frame, width, height);
    software.present(falseColourPicture(frame, inspect));
    drawCaption(viewCaption(inspect).c_str(), width, height);
}

} // namespace rv
