#include "tests/rastershot/tool_run.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace rv {

namespace {

// A file of our own in /tmp, removed with the object.
struct TempFile {
    std::string path;
    TempFile() {
        char name[] = "/tmp/rastershot-test-XXXXXX";
        const int fd = ::mkstemp(name);
        if (fd < 0) throw std::runtime_error("cannot create a temporary file");
        ::close(fd);
        path = name;
    }
    ~TempFile() { ::unlink(path.c_str()); }
    std::string text() const {
        std::ifstream in(path);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

} // namespace

ToolRun runTool(const std::string& program, const std::vector<std::string>& args, const std::string& display) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "DISPLAY=", 8) != 0) env.emplace_back(*e);
    if (!display.empty()) env.push_back("DISPLAY=" + display);
    std::vector<char*> envp, argv{const_cast<char*>(program.c_str())};
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    TempFile out, err;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.path.c_str(), O_WRONLY | O_TRUNC, 0);
    posix_spawn_file_actions_addopen(&actions, 2, err.path.c_str(), O_WRONLY | O_TRUNC, 0);
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (failed) throw std::runtime_error("cannot start " + program + ": " + std::strerror(failed));
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) throw std::runtime_error("waitpid failed");

    ToolRun run;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.out = out.text();
    run.err = err.text();
    return run;
}

} // namespace rv
