#include "tests/e2e/child_process.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace rv {

namespace {

std::vector<std::string> mergedEnvironment(const std::vector<std::pair<std::string, std::string>>& overrides) {
    std::vector<std::string> merged;
    for (char** e = environ; *e; ++e) {
        bool replaced = false;
        for (const auto& [name, value] : overrides)
            replaced = replaced || std::strncmp(*e, (name + "=").c_str(), name.size() + 1) == 0;
        if (!replaced) merged.emplace_back(*e);
    }
    for (const auto& [name, value] : overrides) merged.push_back(name + "=" + value);
    return merged;
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
    std::vector<char*> p;
    for (std::string& s : strings) p.push_back(s.data());
    p.push_back(nullptr);
    return p;
}

// execve does not search PATH; a bare name is looked up here, before fork.
std::string resolve(const std::string& program) {
    if (program.find('/') != std::string::npos) return program;
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    for (size_t start = 0; start <= dirs.size();) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        const std::string candidate = dirs.substr(start, end - start) + "/" + program;
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
        start = end + 1;
    }
    throw std::runtime_error(program + " not found on PATH");
}

} // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const Options& options) {
    // Everything the child needs is prepared here: after fork only async-signal-safe calls are allowed.
    std::vector<std::string> args = argv;
    args.at(0) = resolve(args[0]);
    std::vector<std::string> env = mergedEnvironment(options.environment);
    std::vector<char*> argp = pointers(args), envp = pointers(env);
    const std::string out = options.stdoutPath.empty() ? "/dev/null" : options.stdoutPath;
    const int outFd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const int nullFd = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (outFd < 0 || nullFd < 0) throw std::runtime_error("cannot open " + out + " for the child's output");
    const int errFd = options.stderrPath.empty()
                          ? -1
                          : ::open(options.stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (!options.stderrPath.empty() && errFd < 0)
        throw std::runtime_error("cannot open " + options.stderrPath + " for the child's errors");
    const pid_t parent = ::getpid();

    pid = ::fork();
    if (pid == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent) ::_exit(127);
        ::dup2(outFd, 1);
        if (errFd >= 0)
            ::dup2(errFd, 2);
        else if (options.quietStderr)
            ::dup2(nullFd, 2);
        if (options.passAsFd3 == 3)
            ::fcntl(3, F_SETFD, 0);
        else if (options.passAsFd3 >= 0)
            ::dup2(options.passAsFd3, 3);
        ::execve(argp[0], argp.data(), envp.data());
        ::_exit(127);
    }
    ::close(outFd);
    ::close(nullFd);
    if (errFd >= 0) ::close(errFd);
    if (pid < 0) throw std::runtime_error("fork failed: " + std::string(std::strerror(errno)));
}

ChildProcess::~ChildProcess() { terminate(); }

bool ChildProcess::running() {
    if (status) return false;
    int s = 0;
    if (::waitpid(pid, &s, WNOHANG) == pid) status = s;
    return !status;
}

std::optional<int> ChildProcess::waitForExit(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (running() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return status;
}

void ChildProcess::terminate() {
    if (!running()) return;
    ::kill(pid, SIGTERM);
    if (waitForExit(std::chrono::milliseconds(2000))) return;
    ::kill(pid, SIGKILL);
    int s = 0;
    ::waitpid(pid, &s, 0);
    status = s;
}

std::string describeWaitStatus(int status) {
    if (WIFEXITED(status)) return "exited with status " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status)) return "killed by signal " + std::to_string(WTERMSIG(status));
    return "ended with wait status " + std::to_string(status);
}

} // namespace rv
