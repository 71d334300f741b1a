#include "raster/draw_objects.h"

#include "raster/raster_stage.h"
#include "raster/vertex_stage.h"

namespace rv {

void drawObjects(const Scene& scene, FrameBuffer& frame) {
    VertexStage stage;
    stage.run(scene, frame.width(), frame.height());
    RasterScratch scratch;
    rasterizeRows(scene, stage, FrameView(frame), {0, frame.height()}, scratch);
}

} // namespace rv
