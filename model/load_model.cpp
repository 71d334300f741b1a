#include "model/load_model.h"

#include <cerrno>
#include <cstring>
#include <new>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "model/assimp_import.h"
#include "model/model_scene.h"

namespace rv {

namespace {

// Reasons may come from the file or the child: keep them to one printable line.
std::string printable(std::string text) {
    constexpr std::size_t longest = 300;
    if (text.size() > longest) text = text.substr(0, longest) + "...";
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = ' ';
    return text;
}

// What can be said without starting the importer. The type is asked first:
// opening a FIFO for reading would wait for a writer.
std::string checkFile(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::string("cannot open: ") + std::strerror(errno);
    if (S_ISDIR(st.st_mode)) return "is a directory";
    if (!S_ISREG(st.st_mode)) return "not a regular file";
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::string("cannot open: ") + std::strerror(errno);
    ::close(fd);
    if (st.st_size == 0) return "the file is empty";
    return "";
}

void importer(const std::string& path, const StreamLimits& limits, ByteSink& sink) {
    try {
        writeImportedModel(sink, importWithAssimp(path, limits));
    } catch (const ImportFailure& failure) {
        writeImportFailure(sink, failure.what());
    }
}

} // namespace

ModelLoad loadModel(Scene& scene, const std::string& path, const ImportLimits& limits) {
    ModelLoad load;
    const std::string name = printable(path);
    if (std::string why = checkFile(path); !why.empty()) {
        load.error = name + ": " + why;
        return load;
    }
    ChildResult child = runInChild([&](ByteSink& sink) { importer(path, limits.stream, sink); }, limits);
    if (!child.ok) {
        load.error = name + ": " + printable(child.reason);
        return load;
    }
    try {
        ModelLoad built = buildModelScene(scene, child.model);
        if (!built.error.empty()) {
            load.error = name + ": " + built.error;
            return load;
        }
        for (const std::string& w : built.warnings) load.warnings.push_back(name + ": " + printable(w));
        load.triangles = built.triangles;
    } catch (const std::bad_alloc&) {
        scene.reset();
        load.error = name + ": out of memory while building the scene";
    }
    return load;
}

} // namespace rv
