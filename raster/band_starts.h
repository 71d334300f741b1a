#pragma once

#include <vector>

#include "raster/edge.h"
#include "raster/scanline.h"
#include "raster/vertex_stage.h"

namespace rv {

class BandWorkers;

// Each polygon's edges walked once per frame, keeping the active edge list at
// the first row of every band it reaches above its own first band: a band
// then scans the polygon from there instead of walking all the rows below it
// again (the same additions in the same order, so the same bits), which cost
// bands of a tall polygon as much as filling it.
class BandStarts {
public:
    // Walks the polygons of `stage` for a frame `height` rows tall in bands of
    // `bandHeight` rows, in chunks on `workers` when given.
    void run(const VertexStage& stage, int height, int bandHeight, BandWorkers* workers = nullptr);

    // Where polygon `polygon`'s scan of the band starting at row `row` picks up,
    // or null where it starts from the polygon's own first row.
    const ScanResume* at(int polygon, int row) const;

private:
    struct Chunk {
        ScanScratch scan;
        std::vector<Edge> walked;
        std::vector<int> rows;
        std::vector<Edge> active;
        std::vector<int> ends;
    };

    void runChunk(const VertexStage& stage, int height, int chunk);

    int bandHeight = 1;
    // Polygon p's resume points are points[first[p], first[p + 1]), for the bands
    // from its first band + 1 on.
    std::vector<int> first;
    std::vector<int> firstBand;
    std::vector<ScanResume> points;
    std::vector<Chunk> chunks;
};

} // namespace rv
