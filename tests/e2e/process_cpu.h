#pragma once

#include <chrono>
#include <optional>
#include <sys/types.h>

namespace rv {

// CPU time used so far by all threads of a process, in nanoseconds (Linux's
// /proc/<pid>/task/*/schedstat); nothing once the process has gone. The GL
// library may draw on threads of its own, so the main thread alone would look
// idle while a frame is still being drawn.
std::optional<long long> cpuNanoseconds(pid_t pid);

// Whether any thread of the process is running or waiting for a core: a thread
// starved by a busy machine uses no CPU time, yet its work is not done.
bool anyThreadRunnable(pid_t pid);

struct IdleWait {
    // False if the process was still busy at the time limit.
    bool idle;
    // From the call to the process's last use of CPU.
    std::chrono::duration<double, std::milli> busy;
};

// Waits until the process, woken by input just sent, has used no CPU and had
// no runnable thread for a few milliseconds. One that handled everything before the first look never wakes;
// one that has gone counts as idle (its exit is for the caller to report).
IdleWait waitUntilIdle(pid_t pid, std::chrono::milliseconds limit);

} // namespace rv
