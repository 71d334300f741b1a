#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace rv {

// A seeded stream of input gestures for a long session with the viewer, and a
// model of what they do to the window and the view. The model lets the session
// end by undoing everything, so the last pictures can be compared with the first.
// The stream depends only on the seed, never on timing, so a failing seed replays.

struct ScreenPoint {
    int x, y;
};

struct Gesture {
    enum class Kind { key, drag, wheel, pointerMove, resize };
    Kind kind;
    // What it counts as in the session's figures: "key a", "drag left", "wheel up", ...
    std::string label;
    unsigned long keysym = 0;
    // Shift held around the key, for upper case.
    bool shifted = false;
    // X buttons of a drag, pressed in this order and released in reverse; the one wheel button.
    std::vector<int> buttons;
    // Drag: pressed at the first point, moved through the rest, released at the last.
    // Wheel notch and pointer move: the one point.
    std::vector<ScreenPoint> path;
    // Resize: the new window size.
    int width = 0, height = 0;
};

// The part of the viewer's state that input changes, kept as the viewer keeps it.
struct ViewModel {
    // Pixels dragged with the left button: degrees of spin and tilt.
    long spin = 0, tilt = 0;
    // Pixels dragged with the right button.
    long panX = 0, panY = 0;
    // Wheel events, each a press or a release; a notch is two.
    long zoomSteps = 0;
    bool mipmapping = true;
    bool clipping = true;
    // The OpenGL path's lighting ('l'), against what it started as.
    bool lightingToggled = false;
    bool useOpenGL = true;
    // The window shows the difference of both renderers.
    bool difference = false;
    // Presses of 'v' on the software path: the false-colour view shown there, 0 for the picture.
    int inspect = 0;
    // Views saved with 's'.
    long saves = 0;
    // The keys overlay ('h', F1) is open.
    bool overlay = false;
    // 'p' presses: the software frame as one image; the same pixels as GL points.
    bool imagePresentation = false;
};

class SoakScript {
public:
    // `corner` is the window's top-left corner on a screen of `screen` pixels; the window starts 480 x 480.
    SoakScript(std::uint64_t seed, ScreenPoint corner, ScreenPoint screen);

    // The next random gesture; a run of wheel notches comes one notch per call. Never `q` or ESC.
    Gesture next();
    // Gestures that bring the window back to 480 x 480 and the view, mip-mapping,
    // clipping and lighting back to their start, and close the overlay, the difference
    // view and any false-colour view; the renderer and the presentation are left as they are.
    std::vector<Gesture> backToStart();

    const ViewModel& view() const { return model; }
    int windowWidth() const { return width; }
    int windowHeight() const { return height; }
    // The farthest the wheel went, in wheel events from the start.
    long lowestZoom() const { return zoomLow; }
    long highestZoom() const { return zoomHigh; }

private:
    std::mt19937_64 random;
    ScreenPoint corner, screen;
    int width = 480, height = 480;
    ViewModel model;
    long zoomLow = 0, zoomHigh = 0;
    // Wheel events still to go in the current run, signed; 0 outside a run.
    long wheelRunLeft = 0;
    // The next far wheel run goes up if set: runs alternate, so both extremes are reached.
    bool nextFarRunUp = true;

    // Uniform in [lo, hi]. Taken from the raw generator, as the library's distributions may differ between versions.
    int between(int lo, int hi);
    bool chance(int percent) { return between(1, 100) <= percent; }
    ScreenPoint insideWindow();

    Gesture key();
    Gesture drag();
    Gesture wheelNotch();
    Gesture pointerMove();
    Gesture resize();
    void apply(const Gesture& gesture);
    // Drags that move the pointer by (dx, dy) in total with `button`, in pieces that stay on the screen.
    void appendDrags(std::vector<Gesture>& out, int button, long dx, long dy);
};

} // namespace rv
