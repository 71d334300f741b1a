#include "app/software_path.h"

#include "raster/draw_objects.h"
#include "raster/mip_pyramid.h"

namespace rv {

void prepareRendering(Scene& scene, FrameBuffer& frame) {
    frame.reset();
    buildPyramids(scene);
}

void renderSoftware(const Scene& scene, FrameBuffer& frame, int width, int height) {
    if (width != frame.width || height != frame.height) {
        frame.width = width;
        frame.height = height;
        frame.resize();
    }
    frame.clear();
    drawObjects(scene, frame, width, height);
}

} // namespace rv
