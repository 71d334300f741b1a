// What `make run` does on a machine without a display: starts the viewer on a
// private Xvfb, uses it a little as a person would and keeps screenshots.
//   viewer_tour probe                 exit 0 when $DISPLAY can be opened
//   viewer_tour tour VIEWER OUT_DIR   screenshots into OUT_DIR
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>

#include "picture/png_file.h"
#include "tests/e2e/viewer_run.h"

namespace rv {
namespace {

int probe() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 1;
    XCloseDisplay(display);
    return 0;
}

int tour(const std::string& viewerPath, const std::filesystem::path& outDir) {
    std::filesystem::create_directories(outDir);
    std::printf("No display here: the viewer runs on a private Xvfb. Screenshots:\n");
    auto keep = [&](const char* name, const RgbImage8& picture) {
        const std::string path = std::filesystem::absolute(outDir / name).string();
        std::string error;
        if (!writePng(path, picture, &error)) throw std::runtime_error(error);
        std::printf("  %s\n", path.c_str());
        std::fflush(stdout);
    };

    // 's' saves into the same directory, and says so on standard error.
    ViewerRun run(viewerPath, {{"--shots", outDir.string()}});
    const RgbImage8 start = run.settled();
    keep("1-startup-opengl.png", start);
    run.typeKey(XK_a);
    keep("2-nearest-filtering.png", run.changedFrom(start));
    run.typeKey(XK_a);
    // Once its notice is gone, so that the later screenshots show the pictures alone.
    const RgbImage8 mipmapped = run.changedFrom(run.changedFrom(start));
    run.drag(1, 40, 0);
    const RgbImage8 turned = run.changedFrom(mipmapped);
    keep("3-turned-by-left-drag.png", turned);
    run.wheel(4);
    const RgbImage8 zoomed = run.changedFrom(turned);
    keep("4-zoomed-in.png", zoomed);
    run.typeKey(XK_g);
    const RgbImage8 software = run.changedFrom(zoomed);
    keep("5-software-path.png", software);
    run.typeKey(XK_d);
    const RgbImage8 difference = run.changedFrom(software);
    keep("6-difference-view.png", difference);
    run.typeKey(XK_d);
    const RgbImage8 back = run.changedFrom(difference);
    run.typeKey(XK_h);
    const RgbImage8 overlay = run.changedFrom(back);
    keep("7-keys-overlay.png", overlay);
    run.typeKey(XK_h);
    run.typeKey(XK_r);
    keep("8-back-to-the-start-up-view.png", run.changedFrom(overlay));
    run.typeKey(XK_s);
    run.drawnOut();
    run.typeKey(XK_q);
    const std::optional<int> status = run.waitForExit(std::chrono::seconds(5));

    if (!status) {
        std::fprintf(stderr, "viewer_tour: the viewer did not end on 'q'\n");
        return 1;
    }
    std::printf("The viewer %s on 'q'.\n", describeWaitStatus(*status).c_str());
    return 0;
}

} // namespace
} // namespace rv

int main(int argc, char** argv) {
    try {
        if (argc == 2 && std::strcmp(argv[1], "probe") == 0) return rv::probe();
        if (argc == 4 && std::strcmp(argv[1], "tour") == 0) return rv::tour(argv[2], argv[3]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "viewer_tour: %s\n", e.what());
        return 1;
    }
    std::fprintf(stderr, "usage: viewer_tour probe | viewer_tour tour VIEWER OUT_DIR\n");
    return 2;
}
