#include "raster/band_renderer.h"

#include <algorithm>
#include <stdexcept>
#include <vector>


namespace rv {

BandRenderer::BandRenderer(int threads, int rowsPerBand) : threadCount(threads), bandHeight(rowsPerBand) {
    if (threads < 1 || threads > maxThreads) throw std::invalid_argument("BandRenderer: thread count out of range");
    if (rowsPerBand < 1) throw std::invalid_argument("BandRenderer: a band needs at least one row");
    if (threads > 1) workers = std::make_unique<BandWorkers>(threads);
}

BandRenderer::~BandRenderer() = default;

void BandRenderer::draw(const Scene& scene, FrameBuffer& frame, const std::function<void(RowRange)>& afterBand) {
    const int width = frame.width(), height = frame.height();
    if (frame.output && !workers) {
        frame.clear();
        vertexStage.run(scene, width, height);
        scratch.resize(1);
        rasterizeRows(scene, vertexStage, FrameView(frame), {0, height}, scratch[0]);
        if (afterBand) afterBand({0, height});
        return;
    }
    // A sink's calls from several threads would interleave, and the window's GL context belongs to one thread.
    if (frame.output) throw std::invalid_argument("BandRenderer: bands drawn on several threads call no sink");
    vertexStage.run(scene, width, height, workers.get());
    starts.run(vertexStage, height, bandHeight, workers.get());

    const size_t bands = static_cast<size_t>((height + bandHeight - 1) / bandHeight);
    bandPolygons.resize(bands);
    for (std::vector<int>& list : bandPolygons) list.clear();
    const std::span<const ScreenPolygon> polygons = vertexStage.polygons();
    for (size_t p = 0; p < polygons.size(); ++p) {
        const RowRange rows = polygons[p].rows;
        const int last = std::min(rows.end, height) - 1;
        if (rows.begin > last) continue;
        for (int band = rows.begin / bandHeight; band <= last / bandHeight; ++band)
            bandPolygons[static_cast<size_t>(band)].push_back(static_cast<int>(p));
    }
    if (scratch.size() < bands) scratch.resize(bands);
    counts.assign(bands, RenderStats{});
    frame.stats = {};
    auto drawBand = [&](int band) {
        const size_t b = static_cast<size_t>(band);
        const RowRange rows{band * bandHeight, std::min(height, (band + 1) * bandHeight)};
        frame.clearRows(rows);
        rasterizeRows(scene, vertexStage, bandPolygons[b], FrameView(frame, counts[b]), rows, scratch[b], &starts);
        if (afterBand) afterBand(rows);
    };
    if (workers)
        workers->run(static_cast<int>(bands), drawBand);
    else
        for (int band = 0; band < static_cast<int>(bands); ++band) drawBand(band);
    for (const RenderStats& c : counts) frame.stats += c;
}

} // namespace rv
