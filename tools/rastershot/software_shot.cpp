#include "tools/rastershot/software_shot.h"

#include "view/camera.h"
#include "view/software_path.h"
#include "view/false_colour_picture.h"

namespace rv {

SoftwareShot shootSoftware(Scene& scene, FrameBuffer& frame, const ShotOptions& o) {
    BandRenderer renderer(o.common.threads);
    frame.keepColors();
    if (!o.show.empty()) frame.keepRecords();
    frame.output = nullptr;
    SoftwareShot shot;
    shot.times = timeFrames(o.frames, [&] {
        setupCamera(scene, o.pose, o.width, o.height);
        renderSoftware(scene, frame, renderer, o.width, o.height);
    });
    shot.counts = frame.stats;
    shot.snapshot = softwareSnapshot(frame);
    for (const InspectView view : o.show) shot.views.push_back(falseColourPicture(frame, view));
    return shot;
}

} // namespace rv
