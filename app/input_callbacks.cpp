#include "app/input_callbacks.h"

#include <GL/glut.h>

#include <cstdlib>

#include "app/frame_loop.h"
#include "app/view_controls.h"
#include "app/viewer.h"

namespace rv {

static_assert(mouse::leftButton == GLUT_LEFT_BUTTON && mouse::middleButton == GLUT_MIDDLE_BUTTON &&
              mouse::rightButton == GLUT_RIGHT_BUTTON && mouse::down == GLUT_DOWN);

namespace {

void follow(InputEffect effect) {
    switch (effect) {
    // exit(), not a return from the main loop: static teardown destroys the scene.
    case InputEffect::quit: std::exit(0);
    case InputEffect::save:
        saveShownView();
        // The save drew into the back buffer; a fresh frame puts the window's own picture there again.
        glutIdleFunc(idleRedraw);
        break;
    case InputEffect::redraw: glutIdleFunc(idleRedraw); break;
    case InputEffect::none: break;
    }
}

} // namespace

void keyPressed(unsigned char key, int, int) { follow(applyKey(viewer.scene, viewer.display, viewer.inspect, key)); }

void mouseButton(int button, int state, int x, int y) {
    follow(applyMouseButton(viewer.pose, viewer.drag, button, state, x, y));
}

void mouseMotion(int x, int y) { follow(applyMouseMotion(viewer.pose, viewer.drag, x, y)); }

} // namespace rv
