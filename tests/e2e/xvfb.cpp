#include "tests/e2e/xvfb.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>

namespace rv {

namespace {

struct Pipe {
    int fds[2] = {-1, -1};
    Pipe() {
        if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    }
    ~Pipe() {
        for (int fd : fds)
            if (fd >= 0) ::close(fd);
    }
};

// The server writes its display number and a newline once it is ready.
std::string readDisplayNumber(int fd, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::string text;
    while (text.empty() || text.back() != '\n') {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) throw std::runtime_error("Xvfb did not report a display within the timeout");
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) continue;
        char buffer[32];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) throw std::runtime_error("Xvfb ended before reporting a display (is it installed?)");
        text.append(buffer, static_cast<size_t>(n));
    }
    text.pop_back();
    return text;
}

} // namespace

Xvfb::Xvfb(int screenWidth, int screenHeight) {
    Pipe ready;
    ChildProcess::Options options;
    options.quietStderr = true;
    options.passAsFd3 = ready.fds[1];
    server = std::make_unique<ChildProcess>(
        std::vector<std::string>{"Xvfb", "-displayfd", "3", "-screen", "0",
                                 std::to_string(screenWidth) + "x" + std::to_string(screenHeight) + "x24", "-nolisten",
                                 "tcp"},
        options);
    ::close(ready.fds[1]);
    ready.fds[1] = -1;
    name = ":" + readDisplayNumber(ready.fds[0], std::chrono::milliseconds(10000));
}

} // namespace rv
