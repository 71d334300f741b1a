#pragma once

#include <memory>
#include <string>

#include "tests/e2e/child_process.h"

namespace rv {

// A private virtual X server on a display number nobody else uses; the server
// picks the number itself (-displayfd), so parallel tests cannot collide.
class Xvfb {
public:
    // A 24-bit screen of the given size. Waits until the server accepts
    // connections; throws std::runtime_error if it does not start.
    explicit Xvfb(int screenWidth = 1024, int screenHeight = 768);
    // ":<n>", for DISPLAY and XOpenDisplay.
    const std::string& display() const { return name; }

private:
    std::unique_ptr<ChildProcess> server;
    std::string name;
};

} // namespace rv
