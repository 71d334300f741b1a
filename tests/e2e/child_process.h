#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace rv {

// A program started for a test. It dies with the test process (no strays after
// a crash) and is killed and reaped when this object goes.
class ChildProcess {
public:
    struct Options {
        // Added to, or replacing, the test's own environment.
        std::vector<std::pair<std::string, std::string>> environment;
        // Standard output goes here; empty means /dev/null.
        std::string stdoutPath;
        // Standard error goes to the test's own unless this is set.
        bool quietStderr = false;
        // Or, when not empty, to this file.
        std::string stderrPath;
        // A descriptor of ours that the child receives as descriptor 3.
        int passAsFd3 = -1;
    };

    // Throws std::runtime_error when the program cannot be started.
    ChildProcess(const std::vector<std::string>& argv, const Options& options);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool running();
    pid_t processId() const { return pid; }
    // The raw wait status once the process has ended, or nothing after `timeout`.
    std::optional<int> waitForExit(std::chrono::milliseconds timeout);
    void terminate();

private:
    pid_t pid = -1;
    std::optional<int> status;
};

// "exited with status 0", "killed by signal 9", ...: for failure messages.
std::string describeWaitStatus(int status);

} // namespace rv
