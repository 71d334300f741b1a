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

InputEffect applyMouseButton(ViewState& view, int button, int state, int x, int y) {
    switch (button) {
    case mouse::leftButton: view.leftButtonDown = state == mouse::down; break;
    case mouse::rightButton: view.rightButtonDown = state == mouse::down; break;
    case mouse::wheelUp: view.viewZoom += 1; break;
    case mouse::wheelDown: view.viewZoom -= 1; break;
    default: break;
    }
    view.lastMouseX = x;
    view.lastMouseY = y;
    return InputEffect::redraw;
}

InputEffect applyMouseMotion(ViewState& view, int x, int y) {
    const float dx = static_cast<float>(x - view.lastMouseX);
    const float dy = static_cast<float>(y - view.lastMouseY);
    if (view.leftButtonDown) {
        view.viewSpin += dx;
        view.viewTilt += dy;
    }
    if (view.rightButtonDown) {
        view.viewPanX += dx;
        view.viewPanY += dy;
    }
    view.lastMouseX = x;
    view.lastMouseY = y;
    return InputEffect::redraw;
}

} // namespace rv
