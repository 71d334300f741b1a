#include "raster/raster_stage.h"

#include "raster/band_starts.h"

namespace rv {

namespace {

bool meets(RowRange a, RowRange b) { return a.begin < b.end && b.begin < a.end; }

void rasterizePolygon(const Scene& scene, const VertexStage& stage, int index, const FrameView& frame, RowRange rows,
                      RasterScratch& scratch, const BandStarts* starts) {
    const ScreenPolygon& polygon = stage.polygons()[static_cast<size_t>(index)];
    if (!meets(polygon.rows, rows)) return;
    scratch.edges.assign(polygon.edges.begin(), polygon.edges.end());
    scanPolygon(scratch.edges, scene, frame, stage.material(polygon.object), rows, index, scratch.scan,
                starts ? starts->at(index, rows.begin) : nullptr);
}

} // namespace

void rasterizeRows(const Scene& scene, const VertexStage& stage, std::span<const int> which, const FrameView& frame,
                   RowRange rows, RasterScratch& scratch, const BandStarts* starts) {
    for (const int index : which) rasterizePolygon(scene, stage, index, frame, rows, scratch, starts);
}

void rasterizeRows(const Scene& scene, const VertexStage& stage, const FrameView& frame, RowRange rows,
                   RasterScratch& scratch) {
    const int count = static_cast<int>(stage.polygons().size());
    for (int index = 0; index < count; ++index) rasterizePolygon(scene, stage, index, frame, rows, scratch, nullptr);
}

} // namespace rv
