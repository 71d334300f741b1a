#include "tools/rastershot/software_shot.h"

#include "app/camera.h"
#include "app/software_path.h"

namespace rv {

SoftwareShot shootSoftware(Scene& scene, FrameBuffer& frame, const ShotOptions& o) {
    BandRenderer renderer(o.threads);
    frame.keepColors();
    frame.output = nullptr;
    SoftwareShot shot;
    shot.times = timeFrames(o.frames, [&] {
        setupCamera(scene, o.view, o.width, o.height);
        renderSoftware(scene, frame, renderer, o.width, o.height);
    });
    shot.counts = frame.stats;
    shot.snapshot = softwareSnapshot(frame);
    return shot;
}

} // namespace rv
