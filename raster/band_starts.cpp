#include "raster/band_starts.h"

#include <algorithm>

#include "raster/band_workers.h"

namespace rv {

namespace {

// Polygons per chunk, as in the vertex stage.
constexpr size_t chunkSize = 1024;

} // namespace

void BandStarts::run(const VertexStage& stage, int height, int rowsPerBand, BandWorkers* workers) {
    bandHeight = rowsPerBand;
    const std::span<const ScreenPolygon> polygons = stage.polygons();
    first.assign(polygons.size() + 1, 0);
    firstBand.assign(polygons.size(), 0);
    for (size_t p = 0; p < polygons.size(); ++p) {
        const RowRange rows = polygons[p].rows;
        const int last = std::min(rows.end, height) - 1;
        int bands = 0;
        if (rows.begin <= last) {
            firstBand[p] = rows.begin / bandHeight;
            bands = last / bandHeight - firstBand[p];
        }
        first[p + 1] = first[p] + bands;
    }
    points.assign(static_cast<size_t>(first.back()), ScanResume{});
    const size_t chunkCount = (polygons.size() + chunkSize - 1) / chunkSize;
    if (chunks.size() < chunkCount) chunks.resize(chunkCount);
    if (workers && chunkCount > 1)
        workers->run(static_cast<int>(chunkCount), [&](int chunk) { runChunk(stage, height, chunk); });
    else
        for (size_t chunk = 0; chunk < chunkCount; ++chunk) runChunk(stage, height, static_cast<int>(chunk));
}

void BandStarts::runChunk(const VertexStage& stage, int height, int chunkIndex) {
    Chunk& c = chunks[static_cast<size_t>(chunkIndex)];
    const std::span<const ScreenPolygon> polygons = stage.polygons();
    const size_t begin = static_cast<size_t>(chunkIndex) * chunkSize;
    const size_t end = std::min(polygons.size(), begin + chunkSize);
    c.active.clear();
    c.ends.clear();
    for (size_t p = begin; p < end; ++p) {
        const int count = first[p + 1] - first[p];
        if (count == 0) continue;
        c.rows.clear();
        for (int k = 1; k <= count; ++k) c.rows.push_back((firstBand[p] + k) * bandHeight);
        // Walked on a copy: the stage's edges stay as set up for the bands that start at the bottom.
        c.walked.assign(polygons[p].edges.begin(), polygons[p].edges.end());
        walkPolygon(c.walked, height, c.rows, c.scan, c.active, c.ends);
    }
    // Spans into c.active only now, when it has stopped growing.
    size_t next = 0;
    int from = 0;
    for (size_t p = begin; p < end; ++p)
        for (int k = first[p]; k < first[p + 1]; ++k) {
            const int to = c.ends[next++];
            points[static_cast<size_t>(k)] = {(firstBand[p] + 1 + (k - first[p])) * bandHeight,
                                              std::span<const Edge>(c.active).subspan(static_cast<size_t>(from),
                                                                                     static_cast<size_t>(to - from))};
            from = to;
        }
}

const ScanResume* BandStarts::at(int polygon, int row) const {
    const size_t p = static_cast<size_t>(polygon);
    if (p >= firstBand.size() || row % bandHeight != 0) return nullptr;
    const int k = row / bandHeight - firstBand[p] - 1;
    if (k < 0 || k >= first[p + 1] - first[p]) return nullptr;
    return &points[static_cast<size_t>(first[p] + k)];
}

} // namespace rv
