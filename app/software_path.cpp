#include "app/software_path.h"

#include "raster/draw_objects.h"
#include "raster/mip_pyramid.h"

namespace rv {

void prepareRendering(Scene& scene, FrameBuffer& frame) {
    frame.reset();
    buildPyramids(scene);
}

void renderSoftware(const Scene& scene, FrameBuffer& frame, int width, int height) {
    frame.resize(width, height);
    frame.clear();
    drawObjects(scene, frame);
}

} // namespace rv
