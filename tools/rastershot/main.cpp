// rastershot: the viewer's scene, camera and renderers without the window's
// input: pictures to keep and compare, and frame timings. See --help.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "picture/difference.h"
#include "picture/png_file.h"
#include "tools/rastershot/command_line.h"
#include "tools/rastershot/gl_shot.h"
#include "tools/rastershot/output_files.h"
#include "tools/rastershot/software_shot.h"
#include "view/software_path.h"

namespace rv {
namespace {

int fail(int status, const std::string& message) {
    std::fprintf(stderr, "rastershot: %s\n", message.c_str());
    return status;
}

bool write(const std::string& path, const RgbImage8& picture) {
    std::string error;
    if (writePng(path, picture, &error)) return true;
    fail(1, "cannot write a picture: " + error);
    return false;
}

std::string noDisplayMessage(const ShotOptions& o, const std::string& why) {
    const std::string size = std::to_string(o.width) + "x" + std::to_string(o.height);
    const std::string screen = std::to_string(std::max(o.width, 1280)) + "x" + std::to_string(std::max(o.height, 1024));
    return "the OpenGL renderer needs an X display with a 24-bit screen of at least " + size + ", but " + why +
           ". Run it under xvfb-run, for example:\n  xvfb-run -a -s \"-screen 0 " + screen +
           "x24\" rastershot --renderer " + (o.renderer == Renderer::both ? "both" : "opengl") + " ...";
}

// The software picture is meant to be what the window shows; on a GL other
// than the one it was measured on the rounding may differ, and the user should know.
void checkAgainstWindow(const RgbImage8& software, const RgbImage8& window, const char* how) {
    const PictureComparison c = comparePictures(software, window);
    if (c.differing)
        std::fprintf(stderr,
                     "rastershot: this display shows the software frame %s with %ld pixels different "
                     "from the software picture (largest channel difference %d/255)\n",
                     how, c.differing, c.largest);
}

int run(const ShotOptions& o) {
    const OutputFiles files = outputFiles(o);
    if (std::optional<std::string> why = prepareOutputs(files)) return fail(2, *why);

    const bool software = drawsSoftware(o.renderer), opengl = drawsOpenGL(o.renderer);
    std::optional<DisplayCheck> display;
    if (opengl || (software && o.stats)) display.emplace(o.width, o.height);
    const std::string noDisplay = display ? display->problem() : "";
    if (opengl && !noDisplay.empty()) return fail(2, noDisplayMessage(o, noDisplay));
    const bool glPoints = software && o.stats && noDisplay.empty();
    if (software && o.stats && !glPoints)
        std::fprintf(stderr, "rastershot: no timing in the window: %s (xvfb-run gives a display)\n",
                     noDisplay.c_str());
    if (opengl || glPoints) {
        try {
            openWindow(o.width, o.height);
        } catch (const std::exception& e) {
            return fail(2, e.what());
        }
    }

    Scene scene;
    initScene(scene);
    scene.mipmapping = o.mipmapping;
    scene.clipping = o.clipping;
    scene.simd = o.common.simd;
    FrameBuffer frame;
    prepareRendering(scene, frame);

    std::vector<RendererReport> reports;
    std::optional<Snapshot> softwareSnapshot;
    if (software) {
        const SoftwareShot shot = shootSoftware(scene, frame, o);
        if (!write(files.software, shot.snapshot.picture)) return 1;
        for (size_t k = 0; k < shot.views.size(); ++k)
            if (!write(files.views[k], shot.views[k])) return 1;
        softwareSnapshot = shot.snapshot;
        RendererReport report{"software", o.width,  o.height,     o.frames,    o.common.threads,
                              shot.counts, shot.times, std::nullopt, std::nullopt};
        if (glPoints) {
            const WindowShot points = shootInWindow(scene, frame, o, WindowPath::softwarePoints);
            checkAgainstWindow(shot.snapshot.picture, points.snapshot.picture, "through GL points");
            report.glPoints = points.times;
            const WindowShot image = shootInWindow(scene, frame, o, WindowPath::softwareImage);
            checkAgainstWindow(shot.snapshot.picture, image.snapshot.picture, "as one image");
            report.glImage = image.times;
        }
        reports.push_back(report);
    }
    if (opengl) {
        const WindowShot shot = shootInWindow(scene, frame, o, WindowPath::opengl);
        if (!write(files.opengl, shot.snapshot.picture)) return 1;
        reports.push_back(
            {"opengl", o.width, o.height, o.frames, std::nullopt, std::nullopt, shot.times, std::nullopt, std::nullopt});
        if (softwareSnapshot) {
            DifferenceCounts counts;
            if (!write(files.difference, differenceImage(*softwareSnapshot, shot.snapshot, counts))) return 1;
            std::fprintf(stderr, "%s\n", describe(counts).c_str());
            if (o.stats) {
                const WindowShot view = shootInWindow(scene, frame, o, WindowPath::difference);
                reports.push_back({"difference", o.width, o.height, o.frames, o.common.threads, std::nullopt, view.times,
                                   std::nullopt, std::nullopt});
            }
        }
    }
    if (o.stats)
        for (const RendererReport& report : reports) std::printf("%s\n", toJson(report).c_str());
    return 0;
}

} // namespace

int rastershotMain(int argc, char** argv) {
    const CommandLine commandLine = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (commandLine.action) {
    case CommandLine::Action::help: std::fwrite(usageText().data(), 1, usageText().size(), stdout); return 0;
    case CommandLine::Action::reject:
        return fail(exitStatusOf(commandLine), commandLine.error + "\nTry 'rastershot --help' for the options.");
    case CommandLine::Action::run: break;
    }
    return run(commandLine.options);
}

} // namespace rv

int main(int argc, char** argv) { return rv::rastershotMain(argc, argv); }
