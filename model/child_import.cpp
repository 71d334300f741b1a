#include "model/child_import.h"

#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <new>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace rv {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int exitOutOfMemory = 3;
constexpr int exitException = 4;

class FdSink : public ByteSink {
public:
    explicit FdSink(int fd) : fd_(fd) {}
    bool write(const void* data, std::size_t size) override {
        const auto* p = static_cast<const char*>(data);
        if (used_ + size > sizeof buffer_) {
            if (!flush()) return false;
            if (size > sizeof buffer_) return writeAll(p, size);
        }
        std::memcpy(buffer_ + used_, p, size);
        used_ += size;
        return true;
    }
    bool flush() {
        const bool ok = writeAll(buffer_, used_);
        used_ = 0;
        return ok;
    }

private:
    bool writeAll(const char* p, std::size_t size) {
        while (size) {
            const ssize_t n = ::write(fd_, p, size);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            p += n;
            size -= static_cast<std::size_t>(n);
        }
        return true;
    }
    int fd_;
    std::size_t used_ = 0;
    char buffer_[1 << 16];
};

// Reads the pipe until the deadline; after it, reports the end of the stream.
class PipeSource : public ByteSource {
public:
    PipeSource(int fd, Clock::time_point deadline) : fd_(fd), deadline_(deadline) {}
    bool timedOut = false;

    bool read(void* data, std::size_t size) override {
        auto* p = static_cast<char*>(data);
        while (size) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now()).count();
            if (left <= 0) {
                timedOut = true;
                return false;
            }
            pollfd pfd{fd_, POLLIN, 0};
            const int ready = ::poll(&pfd, 1, static_cast<int>(std::min<long long>(left, 1000)));
            if (ready < 0 && errno != EINTR) return false;
            if (ready <= 0) continue;
            const ssize_t n = ::read(fd_, p, size);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            p += n;
            size -= static_cast<std::size_t>(n);
        }
        return true;
    }

private:
    int fd_;
    Clock::time_point deadline_;
};

[[noreturn]] void childMain(int fd, const std::function<void(ByteSink&)>& work, const ImportLimits& limits) {
    // Keep the caller's terminal to the caller: the importer's own chatter, or
    // the C library's on a crash, would add lines to the one message.
    const int devNull = ::open("/dev/null", O_WRONLY);
    if (devNull >= 0) {
        ::dup2(devNull, 1);
        ::dup2(devNull, 2);
    }
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
    // The sanitizers reserve terabytes of address space up front; the cap would stop everything.
    const rlimit memory{limits.memoryBytes, limits.memoryBytes};
    ::setrlimit(RLIMIT_AS, &memory);
#endif
    const rlim_t cpu = static_cast<rlim_t>(std::ceil(limits.seconds)) + 1;
    const rlimit cpuTime{cpu, cpu + 1};
    ::setrlimit(RLIMIT_CPU, &cpuTime);
    int status = 0;
    try {
        FdSink sink(fd);
        work(sink);
        sink.flush();
    } catch (const std::bad_alloc&) {
        status = exitOutOfMemory;
    } catch (...) {
        status = exitException;
    }
    ::_exit(status);
}

std::string signalName(int sig) {
    const char* name = ::strsignal(sig);
    return "signal " + std::to_string(sig) + (name ? std::string(", ") + name : "");
}

std::string seconds(double s) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", s);
    return text;
}

// Waits for the child until the deadline, then kills it; returns its wait status.
int reap(pid_t pid, Clock::time_point deadline, bool& killed) {
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) return status;
        if (done < 0 && errno != EINTR) return 0;
        if (Clock::now() >= deadline) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ::kill(pid, SIGKILL);
    killed = true;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

} // namespace

ChildResult runInChild(const std::function<void(ByteSink&)>& work, const ImportLimits& limits) {
    ChildResult result;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        result.reason = std::string("cannot start the importer: ") + std::strerror(errno);
        return result;
    }
    // A larger pipe lets the child hand over a large model with fewer turns between the two processes.
    ::fcntl(fds[0], F_SETPIPE_SZ, 1 << 20);
    const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double>(limits.seconds));
    const pid_t pid = ::fork();
    if (pid < 0) {
        result.reason = std::string("cannot start the importer: ") + std::strerror(errno);
        ::close(fds[0]);
        ::close(fds[1]);
        return result;
    }
    if (pid == 0) {
        ::close(fds[0]);
        childMain(fds[1], work, limits);
    }
    ::close(fds[1]);
    PipeSource source(fds[0], deadline);
    StreamResult stream = readImportStream(source, limits.stream);
    ::close(fds[0]);
    bool killed = false;
    // A complete stream means the child is on its way out. Otherwise it has died (the pipe closes a moment before
    // it can be reaped) or misbehaves: a short grace to learn which, then it goes.
    const auto grace = std::min(deadline, Clock::now() + std::chrono::milliseconds(200));
    const int status = reap(pid, stream.kind == StreamResult::Kind::malformed ? grace : deadline, killed);

    const std::string limit = seconds(limits.seconds);
    const bool clean = !killed && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    // A child that dies writing to a parent that stopped reading died of the parent's refusal, not a crash.
    const bool crashed = !killed && WIFSIGNALED(status) && WTERMSIG(status) != SIGPIPE;
    if (source.timedOut || (WIFSIGNALED(status) && WTERMSIG(status) == SIGXCPU)) {
        result.reason = "the import took longer than " + limit + " s";
    } else if (stream.kind == StreamResult::Kind::model && clean) {
        result.ok = true;
        result.model = std::move(stream.model);
    } else if (stream.kind == StreamResult::Kind::importFailed) {
        result.reason = stream.message;
    } else if (WIFEXITED(status) && WEXITSTATUS(status) == exitOutOfMemory) {
        result.reason = "out of memory (the import may use " + std::to_string(limits.memoryBytes >> 20) + " MiB)";
    } else if (crashed) {
        result.reason = "the importer crashed (" + signalName(WTERMSIG(status)) + ")";
    } else if (!killed && WIFEXITED(status) && WEXITSTATUS(status) != 0) {
        result.reason = "the importer failed (exit status " + std::to_string(WEXITSTATUS(status)) + ")";
    } else {
        result.reason = "the importer sent a malformed result: " + stream.message;
    }
    return result;
}

} // namespace rv
