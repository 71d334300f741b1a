#pragma once

#include <span>
#include <vector>

#include "raster/clipping.h"
#include "raster/edge.h"
#include "raster/frame_buffer.h"
#include "raster/material.h"

namespace rv {

class BandWorkers;
class Scene;

// One polygon ready for scan conversion: its edges set up in window coordinates
// (clipped to the near and far planes unless the scene says otherwise) and the
// rows its spans can fall on.
struct ScreenPolygon {
    // In the order drawObjects has always built them; they point into screen
    // vertices the stage keeps until its next run. Scanning steps copies of them.
    std::span<const Edge> edges;
    // Rows from the lowest first row to the highest last row of its edges; empty
    // when no edge covers a row (clipped away, degenerate or NaN).
    RowRange rows;
    // Index of its object in the scene, for the material.
    int object = 0;
};

// The work of a frame done once per frame rather than once per band: every
// vertex through the modelview and projection, every polygon clipped, divided
// by w and mapped to the window, every edge set up. Its storage is kept from
// frame to frame, so that once it has grown a frame allocates nothing.
class VertexStage {
public:
    // Runs over every polygon of every object for a width x height frame, in
    // chunks on `workers` when given and the scene is large enough to pay for the
    // hand-off; the results do not depend on how the work was split.
    void run(const Scene& scene, int width, int height, BandWorkers* workers = nullptr);

    // In the scene's order: objects in turn, each object's polygons in turn.
    std::span<const ScreenPolygon> polygons() const { return screenPolygons; }
    const Material& material(int object) const { return materials[static_cast<size_t>(object)]; }

private:
    // A run of consecutive polygons processed on one thread, with storage of its own.
    struct Chunk {
        PolygonClipper clipper;
        std::vector<Vector4> clipSpace;
        std::vector<ScreenVertex> vertices;
        // Per vertex: the index of the vertex before it, within its polygon.
        std::vector<int> links;
        // Per polygon of the chunk: where its vertices start, then where its edges do.
        std::vector<int> vertexStart;
        std::vector<Edge> edges;
    };
    struct Source {
        const Polygon* polygon;
        int object;
    };

    void runChunk(const Scene& scene, int width, int height, int chunk);

    std::vector<Source> sources;
    std::vector<Chunk> chunks;
    std::vector<ScreenPolygon> screenPolygons;
    std::vector<Material> materials;
};

} // namespace rv
