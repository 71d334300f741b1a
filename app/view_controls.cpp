#include "app/view_controls.h"

#include "app/key_table.h"

namespace rv {

KeyOutcome applyKey(Scene& scene, ViewState& view, unsigned char key) {
    for (const KeyBinding& binding : keyBindings())
        if (binding.codes.find(static_cast<char>(key)) != std::string_view::npos) return binding.apply(scene, view);
    return {};
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
