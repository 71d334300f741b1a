#include "tests/soak/soak_script.h"

#include <X11/keysym.h>

#include <algorithm>
#include <cstdlib>

namespace rv {

namespace {

constexpr int leftButton = 1, middleButton = 2, rightButton = 3, wheelUp = 4, wheelDown = 5;
// The scene passes the eye 12 wheel events up from the start; this is five times as far, both ways.
constexpr int farZoom = 60;
constexpr int startSize = 480;

// Keys that do nothing in the viewer, but reach its keyboard callback as characters.
constexpr unsigned long punctuation[] = {XK_space, XK_comma, XK_period, XK_minus,  XK_slash,
                                         XK_Return, XK_Tab,  XK_BackSpace, XK_Delete, XK_bracketleft};
// Keys GLUT reports only to the special-key callback, where F1 opens the keys overlay.
constexpr unsigned long specialKeys[] = {XK_Left, XK_Up, XK_F1, XK_Home, XK_Page_Down};

} // namespace

SoakScript::SoakScript(std::uint64_t seed, ScreenPoint corner_, ScreenPoint screen_)
    : random(seed), corner(corner_), screen(screen_) {}

int SoakScript::between(int lo, int hi) {
    return lo + static_cast<int>(random() % static_cast<std::uint64_t>(hi - lo + 1));
}

// Button events go to the window under the pointer, so they must start where the window is visible.
ScreenPoint SoakScript::insideWindow() {
    const int right = std::min(corner.x + width, screen.x) - 1;
    const int bottom = std::min(corner.y + height, screen.y) - 1;
    return {between(corner.x, right), between(corner.y, bottom)};
}

Gesture SoakScript::next() {
    Gesture g = [&] {
        if (wheelRunLeft != 0) return wheelNotch();
        const int roll = between(1, 100);
        if (roll <= 3) {
            // Far runs reach the extremes in turn; the others end anywhere between them.
            const long target = chance(40) ? (nextFarRunUp ? farZoom : -farZoom) : 2L * between(-farZoom / 2, farZoom / 2);
            if (target == farZoom || target == -farZoom) nextFarRunUp = target < 0;
            wheelRunLeft = target - model.zoomSteps;
            if (wheelRunLeft == 0) wheelRunLeft = 2;
            return wheelNotch();
        }
        if (roll <= 45) return key();
        if (roll <= 85) return drag();
        if (roll <= 90) return pointerMove();
        return resize();
    }();
    apply(g);
    return g;
}

Gesture SoakScript::key() {
    Gesture g{Gesture::Kind::key, "", 0, false, {}, {}, 0, 0};
    const int roll = between(1, 100);
    if (roll <= 15) {
        g.keysym = XK_a;
        g.label = "key a";
    } else if (roll <= 30) {
        g.keysym = XK_g;
        g.label = "key g";
    } else if (roll <= 38) {
        g.keysym = XK_d;
        g.label = "key d";
    } else if (roll <= 41) {
        g.keysym = XK_s;
        g.label = "key s";
    } else if (roll <= 55) {
        // Any other lower-case letter; `q` would end the session.
        static constexpr char others[] = "bcefhijklmnoprtuvwxyz";
        g.keysym = XK_a + static_cast<unsigned long>(others[between(0, static_cast<int>(sizeof others) - 2)] - 'a');
        switch (g.keysym) {
        case XK_c: g.label = "key c"; break;
        case XK_v: g.label = "key v"; break;
        case XK_h: g.label = "key h"; break;
        case XK_l: g.label = "key l"; break;
        case XK_p: g.label = "key p"; break;
        case XK_r: g.label = "key r"; break;
        default: g.label = "key other lower-case"; break;
        }
    } else if (roll <= 70) {
        g.keysym = XK_0 + static_cast<unsigned long>(between(0, 9));
        g.label = "key digit";
    } else if (roll <= 88) {
        // Upper case, Q included: letters are case-sensitive, so none of them may act.
        g.keysym = XK_A + static_cast<unsigned long>(between(0, 25));
        g.shifted = true;
        g.label = "key upper-case";
    } else if (roll <= 96) {
        g.keysym = punctuation[between(0, static_cast<int>(std::size(punctuation)) - 1)];
        g.label = "key punctuation";
    } else {
        g.keysym = specialKeys[between(0, static_cast<int>(std::size(specialKeys)) - 1)];
        g.label = "key special";
    }
    return g;
}

Gesture SoakScript::drag() {
    Gesture g{Gesture::Kind::drag, "", 0, false, {}, {}, 0, 0};
    const int roll = between(1, 100);
    if (roll <= 40) {
        g.buttons = {leftButton};
        g.label = "drag left";
    } else if (roll <= 70) {
        g.buttons = {rightButton};
        g.label = "drag right";
    } else if (roll <= 88) {
        g.buttons = {middleButton};
        g.label = "drag middle";
    } else {
        g.buttons = {leftButton, rightButton};
        g.label = "drag left+right";
    }
    // Once pressed, the window keeps getting motion wherever the pointer goes, also off it.
    ScreenPoint p = insideWindow();
    g.path.push_back(p);
    const int steps = between(1, 12);
    for (int i = 0; i < steps; ++i) {
        p.x = std::clamp(p.x + between(-40, 40), 0, screen.x - 1);
        p.y = std::clamp(p.y + between(-40, 40), 0, screen.y - 1);
        g.path.push_back(p);
    }
    return g;
}

Gesture SoakScript::wheelNotch() {
    const bool up = wheelRunLeft > 0;
    wheelRunLeft += up ? -2 : 2;
    return {Gesture::Kind::wheel, up ? "wheel up" : "wheel down", 0, false, {up ? wheelUp : wheelDown},
            {insideWindow()}, 0, 0};
}

Gesture SoakScript::pointerMove() {
    // No button held: GLUT reports this only to a passive-motion callback, which the viewer does not register.
    return {Gesture::Kind::pointerMove, "pointer move", 0, false, {},
            {{between(0, screen.x - 1), between(0, screen.y - 1)}}, 0, 0};
}

Gesture SoakScript::resize() {
    Gesture g{Gesture::Kind::resize, "", 0, false, {}, {}, 0, 0};
    const int roll = between(1, 100);
    const int fitsX = screen.x - corner.x, fitsY = screen.y - corner.y;
    if (roll <= 20) {
        g.width = g.height = 1;
        g.label = "resize 1 x 1";
    } else if (roll <= 30) {
        g.width = 1;
        g.height = between(2, fitsY);
        g.label = "resize 1 x N";
    } else if (roll <= 40) {
        g.width = between(2, fitsX);
        g.height = 1;
        g.label = "resize N x 1";
    } else if (roll <= 65) {
        g.width = g.height = startSize;
        g.label = "resize back to 480 x 480";
    } else if (roll <= 90) {
        g.width = between(2, fitsX);
        g.height = between(2, fitsY);
        g.label = "resize on screen";
    } else {
        // Partly off the screen: the viewer still draws the whole window.
        g.width = between(fitsX, 1400);
        g.height = between(fitsY, 1000);
        g.label = "resize past the screen";
    }
    return g;
}

void SoakScript::apply(const Gesture& g) {
    switch (g.kind) {
    case Gesture::Kind::key:
        if (g.shifted) break;
        if (g.keysym == XK_a) model.mipmapping = !model.mipmapping;
        if (g.keysym == XK_c) model.clipping = !model.clipping;
        if (g.keysym == XK_l) model.lightingToggled = !model.lightingToggled;
        if (g.keysym == XK_d) model.difference = !model.difference;
        if (g.keysym == XK_s) ++model.saves;
        if (g.keysym == XK_h || g.keysym == XK_F1) model.overlay = !model.overlay;
        if (g.keysym == XK_p) model.imagePresentation = !model.imagePresentation;
        if (g.keysym == XK_r) model.spin = model.tilt = model.panX = model.panY = model.zoomSteps = 0;
        // Six views in the cycle, the picture among them; only the software path's own picture steps.
        if (g.keysym == XK_v && !model.useOpenGL && !model.difference) model.inspect = (model.inspect + 1) % 6;
        // From the difference view 'g' returns to the renderer without switching it.
        if (g.keysym == XK_g) {
            if (model.difference)
                model.difference = false;
            else
                model.useOpenGL = !model.useOpenGL;
        }
        break;
    case Gesture::Kind::drag: {
        const long dx = g.path.back().x - g.path.front().x, dy = g.path.back().y - g.path.front().y;
        for (int button : g.buttons) {
            if (button == leftButton) {
                model.spin += dx;
                model.tilt += dy;
            }
            if (button == rightButton) {
                model.panX += dx;
                model.panY += dy;
            }
        }
        break;
    }
    case Gesture::Kind::wheel:
        // GLUT reports a notch as a press and a release, and each moves the zoom.
        model.zoomSteps += g.buttons[0] == wheelUp ? 2 : -2;
        zoomLow = std::min(zoomLow, model.zoomSteps);
        zoomHigh = std::max(zoomHigh, model.zoomSteps);
        break;
    case Gesture::Kind::pointerMove: break;
    case Gesture::Kind::resize:
        width = g.width;
        height = g.height;
        break;
    }
}

void SoakScript::appendDrags(std::vector<Gesture>& out, int button, long dx, long dy) {
    // Pieces of at most 200 pixels from the centre of a 480 x 480 window stay on the screen.
    constexpr long piece = 200;
    const ScreenPoint centre{corner.x + startSize / 2, corner.y + startSize / 2};
    while (dx != 0 || dy != 0) {
        const long stepX = std::clamp(dx, -piece, piece), stepY = std::clamp(dy, -piece, piece);
        Gesture g{Gesture::Kind::drag, "return drag", 0, false, {button}, {centre}, 0, 0};
        g.path.push_back({centre.x + static_cast<int>(stepX / 2), centre.y + static_cast<int>(stepY / 2)});
        g.path.push_back({centre.x + static_cast<int>(stepX), centre.y + static_cast<int>(stepY)});
        apply(g);
        out.push_back(std::move(g));
        dx -= stepX;
        dy -= stepY;
    }
}

std::vector<Gesture> SoakScript::backToStart() {
    std::vector<Gesture> out;
    wheelRunLeft = 0;
    if (width != startSize || height != startSize) {
        out.push_back({Gesture::Kind::resize, "return resize", 0, false, {}, {}, startSize, startSize});
        apply(out.back());
    }
    const ScreenPoint centre{corner.x + startSize / 2, corner.y + startSize / 2};
    while (model.zoomSteps != 0) {
        const int button = model.zoomSteps < 0 ? wheelUp : wheelDown;
        out.push_back({Gesture::Kind::wheel, "return wheel", 0, false, {button}, {centre}, 0, 0});
        apply(out.back());
    }
    // Exactly back, not by whole turns: the angle conversion's pi is rounded, so a turn is not the identity.
    appendDrags(out, leftButton, -model.spin, -model.tilt);
    appendDrags(out, rightButton, -model.panX, -model.panY);
    if (!model.mipmapping) {
        out.push_back({Gesture::Kind::key, "return key a", XK_a, false, {}, {}, 0, 0});
        apply(out.back());
    }
    if (!model.clipping) {
        out.push_back({Gesture::Kind::key, "return key c", XK_c, false, {}, {}, 0, 0});
        apply(out.back());
    }
    if (model.overlay) {
        out.push_back({Gesture::Kind::key, "return key h", XK_h, false, {}, {}, 0, 0});
        apply(out.back());
    }
    if (model.lightingToggled) {
        out.push_back({Gesture::Kind::key, "return key l", XK_l, false, {}, {}, 0, 0});
        apply(out.back());
    }
    if (model.difference) {
        out.push_back({Gesture::Kind::key, "return key d", XK_d, false, {}, {}, 0, 0});
        apply(out.back());
    }
    if (model.inspect != 0) {
        const bool fromOpenGL = model.useOpenGL;
        auto press = [&](unsigned long keysym, const char* label) {
            out.push_back({Gesture::Kind::key, label, keysym, false, {}, {}, 0, 0});
            apply(out.back());
        };
        if (fromOpenGL) press(XK_g, "return key g");
        while (model.inspect != 0) press(XK_v, "return key v");
        if (fromOpenGL) press(XK_g, "return key g");
    }
    return out;
}

} // namespace rv
