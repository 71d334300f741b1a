#include "raster/band_renderer.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "raster/draw_objects.h"

namespace rv {

BandRenderer::BandRenderer(int threads, int rowsPerBand) : threadCount(threads), bandHeight(rowsPerBand) {
    if (threads < 1 || threads > maxThreads) throw std::invalid_argument("BandRenderer: thread count out of range");
    if (rowsPerBand < 1) throw std::invalid_argument("BandRenderer: a band needs at least one row");
    if (threads > 1) workers = std::make_unique<BandWorkers>(threads);
}

BandRenderer::~BandRenderer() = default;

void BandRenderer::draw(const Scene& scene, FrameBuffer& frame, const std::function<void(RowRange)>& afterBand) {
    const int height = frame.height();
    if (!workers) {
        frame.clear();
        drawObjects(scene, frame);
        if (afterBand) afterBand({0, height});
        return;
    }
    // A sink's calls from several threads would interleave, and the window's GL context belongs to one thread.
    if (frame.output) throw std::invalid_argument("BandRenderer: bands drawn on several threads call no sink");
    const int bands = (height + bandHeight - 1) / bandHeight;
    std::vector<RenderStats> counts(static_cast<size_t>(bands));
    frame.stats = {};
    workers->run(bands, [&](int band) {
        const RowRange rows{band * bandHeight, std::min(height, (band + 1) * bandHeight)};
        FrameBuffer view = frame.sharedView();
        view.clearRows(rows);
        drawObjectRows(scene, view, rows);
        counts[static_cast<size_t>(band)] = view.stats;
        if (afterBand) afterBand(rows);
    });
    for (const RenderStats& c : counts) frame.stats += c;
}

} // namespace rv
