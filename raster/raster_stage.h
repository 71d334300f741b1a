#pragma once

#include <span>
#include <vector>

#include "raster/edge.h"
#include "raster/frame_view.h"
#include "raster/scanline.h"
#include "raster/vertex_stage.h"

namespace rv {

class BandStarts;
class Scene;

// What one band scans in, kept from frame to frame.
struct RasterScratch {
    // The polygon's edges, stepped here so that the vertex stage's stay as set up.
    std::vector<Edge> edges;
    ScanScratch scan;
};

// The raster stage over `rows` of the frame: the polygons `which` (indices into
// stage.polygons(), ascending) scanned in turn, skipping any whose rows miss
// `rows`. Given every polygon that reaches `rows`, it fills exactly what drawing
// the whole frame fills there, bit for bit, and counts accordingly. With
// `starts` (run over the same stage), a polygon's scan picks up at rows.begin
// where they have kept its edges there.
void rasterizeRows(const Scene& scene, const VertexStage& stage, std::span<const int> which, const FrameView& frame,
                   RowRange rows, RasterScratch& scratch, const BandStarts* starts = nullptr);
// The same over every polygon of the stage.
void rasterizeRows(const Scene& scene, const VertexStage& stage, const FrameView& frame, RowRange rows,
                   RasterScratch& scratch);

} // namespace rv
