#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "raster/band_starts.h"
#include "raster/band_workers.h"
#include "raster/frame_buffer.h"
#include "raster/raster_stage.h"
#include "raster/vertex_stage.h"
#include "scene/scene.h"

namespace rv {

// The most threads a frame is drawn with.
constexpr int maxThreads = 256;

// Draws frames as horizontal bands of rows on a fixed number of threads. The
// vertex stage runs once per frame, its chunks spread over the threads; then
// each band scans the polygons that reach it, in order, over its own rows of the
// shared depth and colour storage, with counters of its own that are summed
// afterwards; so the pixels, depths and counts are drawObjects' for any thread
// count and band height. The stages' storage is kept from frame to frame.
class BandRenderer {
public:
    // Rows per band, chosen with raster_bench's BM_BandHeight: smaller bands
    // balance the threads better but cost more hand-offs and edge snapshots.
    static constexpr int defaultBandHeight = 8;

    // 1 <= threads <= maxThreads, 1 <= bandHeight.
    explicit BandRenderer(int threads, int bandHeight = defaultBandHeight);
    ~BandRenderer();

    int threads() const { return threadCount; }

    // Clears `frame`, which the caller has sized, and draws the scene into it
    // as drawObjects does. Into a frame with an output (one thread only: with
    // more, std::invalid_argument) that is clear() and drawObjects on the
    // calling thread. Otherwise each band clears its own rows and draws them
    // straight after, on the threads in turn, or one after the other on one
    // thread: the rows are still in the cache when drawn (a whole frame cleared
    // first is not, at 1920 x 1080). Keep the colours to see the frame.
    // `afterBand`, when given, runs on the band's thread once the band's rows
    // are drawn (once, for all rows, with an output).
    void draw(const Scene& scene, FrameBuffer& frame, const std::function<void(RowRange)>& afterBand = {});

private:
    int threadCount;
    int bandHeight;
    // Null with one thread.
    std::unique_ptr<BandWorkers> workers;
    VertexStage vertexStage;
    BandStarts starts;
    // Per band: the polygons that reach it in order, its scratch and its counters.
    std::vector<std::vector<int>> bandPolygons;
    std::vector<RasterScratch> scratch;
    std::vector<RenderStats> counts;
};

} // namespace rv
