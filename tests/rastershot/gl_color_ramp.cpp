// A window of GL points in the colours of rampValues(), drawn with the viewer's
// frame set-up and its GL point output, so that a test can read back what the
// window makes of each float channel. Titled like the viewer for the harness.
#include <GL/glut.h>

#include "tests/rastershot/ramp_values.h"
#include "view/draw_frame.h"
#include "view/gl_point_sink.h"

namespace rv {
namespace {

constexpr int side = 480;

void display() {
    // An empty scene: the frame set-up alone, white and one unit per pixel.
    Scene scene;
    scene.useOpenGL = false;
    FrameBuffer frame;
    SoftwareWindow software({1, Presentation::points});
    drawFrame(scene, frame, ViewPose{}, software, side, side);
    const std::vector<float> values = rampValues();
    GlPointSink points;
    points.beginSpan();
    for (size_t i = 0; i < values.size(); ++i) {
        const float v = values[i];
        // Each channel its own value, so that a swapped channel shows.
        points.plot(static_cast<int>(i % side), static_cast<int>(i / side), {v, 1 - v, v / 2, 1});
    }
    points.endSpan();
    glutSwapBuffers();
}

void quit(unsigned char key, int, int) {
    if (key == 'q') std::exit(0);
}

} // namespace
} // namespace rv

int main(int argc, char** argv) {
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(rv::side, rv::side);
    glutInit(&argc, argv);
    glutCreateWindow("Class Framework");
    glutDisplayFunc(rv::display);
    glutKeyboardFunc(rv::quit);
    glutMainLoop();
    return 0;
}
