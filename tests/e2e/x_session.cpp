#include "tests/e2e/x_session.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <stdexcept>

namespace rv {

namespace {

// Xlib reports protocol errors to one process-wide handler, and its default one
// ends the process. A window that vanishes between two requests is an ordinary
// event in these tests, so errors are counted and the failing call answers "nothing".
int errorCount = 0;

int countError(Display*, XErrorEvent*) {
    ++errorCount;
    return 0;
}

int channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    const unsigned long max = mask >> shift;
    return static_cast<int>(((pixel & mask) >> shift) * 255 / max);
}

} // namespace

XSession::XSession(const std::string& name) {
    XSetErrorHandler(countError);
    display = XOpenDisplay(name.c_str());
    if (!display) throw std::runtime_error("cannot open display " + name);
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display, &event, &error, &major, &minor)) {
        XCloseDisplay(display);
        throw std::runtime_error("display " + name + " has no XTest extension");
    }
}

XSession::~XSession() { XCloseDisplay(display); }

Window XSession::findWindow(const std::string& title) {
    auto search = [&](auto&& self, Window window) -> Window {
        char* name = nullptr;
        const bool match = XFetchName(display, window, &name) && name && title == name;
        if (name) XFree(name);
        if (match) return window;
        Window root = 0, parent = 0, *children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display, window, &root, &parent, &children, &count)) return 0;
        Window found = 0;
        for (unsigned int i = 0; i < count && !found; ++i) found = self(self, children[i]);
        if (children) XFree(children);
        return found;
    };
    return search(search, DefaultRootWindow(display));
}

std::optional<XSession::Placement> XSession::placement(Window window) {
    const int errorsBefore = errorCount;
    XWindowAttributes a{};
    if (!XGetWindowAttributes(display, window, &a) || errorCount != errorsBefore) return std::nullopt;
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
    XSync(display, False);
    if (errorCount != errorsBefore) return std::nullopt;
    return Placement{x, y, a.width, a.height, a.map_state == IsViewable};
}

void XSession::moveWindow(Window window, int x, int y) {
    XMoveWindow(display, window, x, y);
    XSync(display, False);
}

void XSession::resizeWindow(Window window, int width, int height) {
    XResizeWindow(display, window, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XSync(display, False);
}

void XSession::focus(Window window) {
    XSetInputFocus(display, window, RevertToPointerRoot, CurrentTime);
    XSync(display, False);
}

std::optional<RgbImage8> XSession::grab(Window window) {
    const std::optional<Placement> p = placement(window);
    const int screenWidth = DisplayWidth(display, DefaultScreen(display));
    const int screenHeight = DisplayHeight(display, DefaultScreen(display));
    if (!p || !p->viewable || p->x < 0 || p->y < 0 || p->x + p->width > screenWidth || p->y + p->height > screenHeight)
        return std::nullopt;
    const int errorsBefore = errorCount;
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(p->width), static_cast<unsigned>(p->height),
                              AllPlanes, ZPixmap);
    XSync(display, False);
    if (!image || errorCount != errorsBefore) {
        if (image) XDestroyImage(image);
        return std::nullopt;
    }
    RgbImage8 picture(p->width, p->height);
    for (int y = 0; y < p->height; ++y)
        for (int x = 0; x < p->width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            std::uint8_t* out = picture.pixel(x, y);
            out[0] = static_cast<std::uint8_t>(channel(pixel, image->red_mask));
            out[1] = static_cast<std::uint8_t>(channel(pixel, image->green_mask));
            out[2] = static_cast<std::uint8_t>(channel(pixel, image->blue_mask));
        }
    XDestroyImage(image);
    return picture;
}

void XSession::typeKey(unsigned long keysym, bool shifted) {
    const KeyCode shift = XKeysymToKeycode(display, XK_Shift_L);
    const KeyCode key = XKeysymToKeycode(display, keysym);
    if (key == 0) throw std::runtime_error("no key for keysym " + std::to_string(keysym));
    if (shifted) XTestFakeKeyEvent(display, shift, True, CurrentTime);
    XTestFakeKeyEvent(display, key, True, CurrentTime);
    XTestFakeKeyEvent(display, key, False, CurrentTime);
    if (shifted) XTestFakeKeyEvent(display, shift, False, CurrentTime);
}

void XSession::movePointer(int screenX, int screenY) {
    XTestFakeMotionEvent(display, DefaultScreen(display), screenX, screenY, CurrentTime);
}

void XSession::pressButton(int button) {
    XTestFakeButtonEvent(display, static_cast<unsigned>(button), True, CurrentTime);
}

void XSession::releaseButton(int button) {
    XTestFakeButtonEvent(display, static_cast<unsigned>(button), False, CurrentTime);
}

void XSession::sync() { XSync(display, False); }

} // namespace rv
