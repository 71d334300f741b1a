#pragma once

#include "picture/difference.h"
#include "raster/frame_buffer.h"
#include "scene/scene.h"
#include "tools/rastershot/command_line.h"
#include "tools/rastershot/frame_times.h"

namespace rv {

struct SoftwareShot {
    // The last frame as the viewer's window would show it.
    Snapshot snapshot;
    // The false-colour views asked for, in the order of options.show.
    std::vector<RgbImage8> views;
    // Counts of one frame.
    RenderStats counts;
    FrameTimes times;
};

// Draws options.frames software frames into memory with options.threads
// threads, no display involved, on a scene built and prepared for rendering;
// the camera rewrites its matrix stacks. The frame keeps its colours after, and
// its fragment records when views were asked for.
SoftwareShot shootSoftware(Scene& scene, FrameBuffer& frame, const ShotOptions& options);

} // namespace rv
