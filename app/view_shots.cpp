#include "app/view_shots.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <system_error>

#include "picture/png_file.h"

namespace rv {

namespace {

// Shortest text that parses back to the same float: a saved view must not drift by one ulp.
std::string exact(float v) {
    char text[32];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, v);
    return ec == std::errc() ? std::string(text, end) : "0";
}

std::string suffixed(const std::string& prefix, const char* what) { return prefix + "-" + what + ".png"; }

// Pasted into a shell, a path with a space or a '$' would name another file.
std::string shellWord(const std::string& word) {
    const bool plain = !word.empty() && word.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                                               "0123456789_-./+,:=@%") == std::string::npos;
    if (plain) return word;
    std::string quoted = "'";
    for (const char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

} // namespace

std::string rastershotCommand(const ShotView& s, const std::string& outPrefix) {
    std::string command = "rastershot --renderer both --size " + std::to_string(s.width) + "x" +
                          std::to_string(s.height) + " --spin " + exact(s.pose.spin) + " --tilt " +
                          exact(s.pose.tilt) + " --zoom " + exact(s.pose.zoom) + " --pan " +
                          exact(s.pose.panX) + "," + exact(s.pose.panY);
    if (!s.mipmapping) command += " --no-mipmap";
    if (!s.clipping) command += " --no-clip";
    return command + " --out " + shellWord(outPrefix);
}

std::optional<std::string> claimShotPrefix(const std::filesystem::path& dir, std::string& error) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) {
        error = "cannot create the directory '" + dir.string() + "': " + ec.message();
        return std::nullopt;
    }
    for (int n = 1; n < 1000000; ++n) {
        const std::string prefix = (dir / ("view-" + std::to_string(n))).string();
        if (std::filesystem::exists(suffixed(prefix, "opengl"), ec) ||
            std::filesystem::exists(suffixed(prefix, "diff"), ec))
            continue;
        // O_EXCL makes the claim atomic: an existing file (ours or anybody's) moves us on.
        const int fd = ::open(suffixed(prefix, "software").c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return prefix;
        }
        if (errno != EEXIST) {
            error = "cannot write into '" + dir.string() + "': " + std::strerror(errno);
            return std::nullopt;
        }
    }
    error = "no free file name left in '" + dir.string() + "'";
    return std::nullopt;
}

std::string saveView(const std::filesystem::path& dir, const ShotView& shot,
                     const std::function<ViewPictures()>& draw) {
    const std::string failed = "rasterview: cannot save the view: ";
    std::string error;
    const std::optional<std::string> prefix = claimShotPrefix(dir, error);
    if (!prefix) return failed + error;
    const ViewPictures pictures = draw();
    const std::string files[] = {suffixed(*prefix, "software"), suffixed(*prefix, "opengl"), suffixed(*prefix, "diff")};
    const RgbImage8* images[] = {&pictures.software.picture, &pictures.opengl.picture, &pictures.difference};
    for (int i = 0; i < 3; ++i)
        if (!writePng(files[i], *images[i], &error)) {
            // A half-written set would pass for a saved view, and its number is ours to give back.
            std::error_code ignored;
            for (const std::string& file : files) std::filesystem::remove(file, ignored);
            return failed + error;
        }
    return "rasterview: saved " + files[0] + ", " + files[1] + " and " + files[2] +
           "; to draw them again: " + rastershotCommand(shot, *prefix);
}

} // namespace rv
