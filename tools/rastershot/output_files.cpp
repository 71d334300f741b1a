#include "tools/rastershot/output_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace rv {

namespace fs = std::filesystem;

std::string filePrefix(const std::string& outPrefix) {
    // Without this, "--out shots/" writes "shots/-software.png", hidden from ls.
    std::error_code ec;
    if (outPrefix.ends_with('/')) return outPrefix + "frame";
    if (fs::is_directory(outPrefix, ec)) return outPrefix + "/frame";
    return outPrefix;
}

OutputFiles outputFiles(const ShotOptions& o) {
    OutputFiles files;
    const std::string prefix = filePrefix(o.outPrefix);
    if (drawsSoftware(o.renderer)) files.software = prefix + "-software.png";
    if (drawsOpenGL(o.renderer)) files.opengl = prefix + "-opengl.png";
    if (o.renderer == Renderer::both) files.difference = prefix + "-diff.png";
    if (drawsSoftware(o.renderer))
        for (const InspectView view : o.show)
            files.views.push_back(prefix + "-software-" + std::string(viewName(view)) + ".png");
    return files;
}

namespace {

std::optional<std::string> checkWritable(const std::string& path) {
    const fs::path parent = fs::path(path).parent_path();
    std::error_code ec;
    if (!parent.empty() && !fs::is_directory(parent, ec)) {
        fs::create_directories(parent, ec);
        if (ec) return "--out: cannot create the directory '" + parent.string() + "': " + ec.message();
    }
    if (fs::is_directory(path, ec)) return "--out: '" + path + "' is a directory";
    const bool existed = fs::exists(path, ec);
    // Opening is the only honest test: permissions, read-only file systems and ACLs all count.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return "--out: cannot write '" + path + "': " + std::strerror(errno);
    ::close(fd);
    if (!existed) ::unlink(path.c_str());
    return std::nullopt;
}

} // namespace

std::optional<std::string> prepareOutputs(const OutputFiles& files) {
    for (const std::string* path : {&files.software, &files.opengl, &files.difference})
        if (!path->empty())
            if (std::optional<std::string> why = checkWritable(*path)) return why;
    for (const std::string& path : files.views)
        if (std::optional<std::string> why = checkWritable(path)) return why;
    return std::nullopt;
}

} // namespace rv
