#include "tests/e2e/process_cpu.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <thread>

namespace rv {

std::optional<long long> cpuNanoseconds(pid_t pid) {
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    std::error_code error;
    long long total = 0;
    bool any = false;
    for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
        std::ifstream in(task.path() / "schedstat");
        long long ns = 0;
        // A thread that ends between listing and reading simply no longer counts.
        if (in >> ns) {
            total += ns;
            any = true;
        }
    }
    if (error || !any) return std::nullopt;
    return total;
}

bool anyThreadRunnable(pid_t pid) {
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
        std::ifstream in(task.path() / "stat");
        std::string line;
        std::getline(in, line);
        // "pid (name) S ...": the name may hold spaces and parentheses, the state follows the last ')'.
        const size_t close = line.rfind(')');
        if (close != std::string::npos && close + 2 < line.size() && line[close + 2] == 'R') return true;
    }
    return false;
}

IdleWait waitUntilIdle(pid_t pid, std::chrono::milliseconds limit) {
    using Clock = std::chrono::steady_clock;
    // Long enough to span the gap between two GL calls, short enough to keep a session quick.
    constexpr std::chrono::milliseconds poll(2), quiet(6), noWake(25);
    const auto start = Clock::now();
    std::optional<long long> last = cpuNanoseconds(pid);
    bool woke = false;
    auto lastBusy = start;
    for (;;) {
        std::this_thread::sleep_for(poll);
        const std::optional<long long> now = cpuNanoseconds(pid);
        const auto t = Clock::now();
        if (!now) return {true, lastBusy - start};
        if (now != last || anyThreadRunnable(pid)) {
            woke = true;
            last = now;
            lastBusy = t;
        } else if ((woke && t - lastBusy >= quiet) || (!woke && t - start >= noWake)) {
            return {true, lastBusy - start};
        }
        if (t - start > limit) return {false, t - start};
    }
}

} // namespace rv
