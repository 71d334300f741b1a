#include "app/input_callbacks.h"

#include <GL/glut.h>

#include <cstdlib>
#include <string>

#include "app/frame_loop.h"
#include "app/view_controls.h"
#include "app/viewer.h"

namespace rv {

static_assert(mouse::leftButton == GLUT_LEFT_BUTTON && mouse::middleButton == GLUT_MIDDLE_BUTTON &&
              mouse::rightButton == GLUT_RIGHT_BUTTON && mouse::down == GLUT_DOWN);

namespace {

// The one timer of a notice: gone once its time is up, unless a later notice replaced it.
void noticeExpired(int number) {
    if (viewer.notice.expire(number)) glutIdleFunc(idleRedraw);
}

void showNotice(std::string text) {
    if (text.empty()) return;
    glutTimerFunc(Notice::durationMs, noticeExpired, viewer.notice.show(std::move(text)));
}

void follow(InputEffect effect, std::string notice = {}) {
    switch (effect) {
    // exit(), not a return from the main loop: static teardown destroys the scene.
    case InputEffect::quit: std::exit(0);
    case InputEffect::save:
        showNotice(saveShownView());
        // The save drew into the back buffer; a fresh frame puts the window's own picture there again.
        glutIdleFunc(idleRedraw);
        break;
    case InputEffect::redraw:
        showNotice(std::move(notice));
        glutIdleFunc(idleRedraw);
        break;
    case InputEffect::none: break;
    }
}

} // namespace

void keyPressed(unsigned char key, int, int) {
    KeyOutcome outcome = applyKey(viewer.scene, viewer.view, key);
    follow(outcome.effect, std::move(outcome.notice));
}

void specialKeyPressed(int key, int x, int y) {
    if (key == GLUT_KEY_F1) keyPressed('h', x, y);
}

void mouseButton(int button, int state, int x, int y) {
    follow(applyMouseButton(viewer.view.pose, viewer.drag, button, state, x, y));
}

void mouseMotion(int x, int y) { follow(applyMouseMotion(viewer.view.pose, viewer.drag, x, y)); }

} // namespace rv
