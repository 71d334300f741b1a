#include "app/view_controls.h"

namespace rv {

InputEffect applyKey(Scene& scene, Display& display, InspectView& inspect, unsigned char key) {
    switch (key) {
    case 27:
    case 'q': return InputEffect::quit;
    case 'a': scene.mipmapping = !scene.mipmapping; return InputEffect::redraw;
    case 'c': scene.clipping = !scene.clipping; return InputEffect::redraw;
    case 'd':
        display = display == Display::difference ? Display::renderer : Display::difference;
        return InputEffect::redraw;
    case 'g':
        // Leaving the difference view must not also swap the renderer, or 'd' 'g'
        // would land on the other renderer than the one the person had chosen.
        if (display == Display::difference)
            display = Display::renderer;
        else
            scene.useOpenGL = !scene.useOpenGL;
        return InputEffect::redraw;
    case 's': return InputEffect::save;
    case 'v':
        // The views show the software frame's own values; the OpenGL path and the difference have none.
        if (scene.useOpenGL || display == Display::difference) return InputEffect::none;
        inspect = nextView(inspect);
        return InputEffect::redraw;
    default: return InputEffect::none;
    }
}

InputEffect applyMouseButton(ViewPose& pose, MouseDrag& drag, int button, int state, int x, int y) {
    switch (button) {
    case mouse::leftButton: drag.leftDown = state == mouse::down; break;
    case mouse::rightButton: drag.rightDown = state == mouse::down; break;
    case mouse::wheelUp: pose.zoom += 1; break;
    case mouse::wheelDown: pose.zoom -= 1; break;
    default: break;
    }
    drag.lastX = x;
    drag.lastY = y;
    return InputEffect::redraw;
}

InputEffect applyMouseMotion(ViewPose& pose, MouseDrag& drag, int x, int y) {
    const float dx = static_cast<float>(x - drag.lastX);
    const float dy = static_cast<float>(y - drag.lastY);
    if (drag.leftDown) {
        pose.spin += dx;
        pose.tilt += dy;
    }
    if (drag.rightDown) {
        pose.panX += dx;
        pose.panY += dy;
    }
    drag.lastX = x;
    drag.lastY = y;
    return InputEffect::redraw;
}

} // namespace rv
