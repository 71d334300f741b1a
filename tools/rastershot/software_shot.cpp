#include "tools/rastershot/software_shot.h"

#include "app/camera.h"
#include "app/software_path.h"
#include "picture/window_bytes.h"

namespace rv {

SoftwareShot shootSoftware(Scene& scene, FrameBuffer& frame, const ShotOptions& o) {
    BandRenderer renderer(o.threads);
    frame.keepColors();
    if (!o.show.empty()) frame.keepRecords();
    frame.output = nullptr;
    SoftwareShot shot;
    shot.times = timeFrames(o.frames, [&] {
        setupCamera(scene, o.view, o.width, o.height);
        renderSoftware(scene, frame, renderer, o.width, o.height);
    });
    shot.counts = frame.stats;
    shot.snapshot = softwareSnapshot(frame);
    constexpr float white[3] = {1, 1, 1};
    for (const InspectView view : o.show) {
        const std::vector<float> colours =
            falseColours(view, {frame.width(), frame.height(), frame.depth(), frame.records()}, white);
        shot.views.push_back(windowPicture(colours.data(), frame.width(), frame.height()));
    }
    return shot;
}

} // namespace rv
