#pragma once

#include <string>

namespace rv {

// The short notice the window shows after a key changed something that needs
// saying. Each notice is shown for `duration` ms; the window arms a timer with
// the number show() returns and calls expire() with it when the timer fires, so
// that the timer of an earlier notice cannot cut a later one short.
class Notice {
public:
    static constexpr int durationMs = 2000;

    // Replaces any notice shown; returns the number for this notice's timer.
    int show(std::string text);
    // Ends the notice if `number` is still the one shown; true if the window must redraw.
    bool expire(int number);

    const std::string& text() const { return shown; }
    bool visible() const { return !shown.empty(); }

private:
    std::string shown;
    int number = 0;
};

} // namespace rv
