#pragma once

#include <span>
#include <vector>

#include "raster/edge.h"
#include "raster/frame_buffer.h"

namespace rv {

class Scene;
class Texture;

// One bucket per frame row: bucket r holds the edges whose first row is r, in
// the polygon's edge order. Stored as one array sliced by row, so building it
// costs two allocations per polygon however tall the frame is.
class EdgeTable {
public:
    // Every edge given must start on a row in [0, height).
    EdgeTable(std::span<Edge* const> edges, int height);

    std::span<Edge* const> bucket(int row) const {
        return {entries.data() + first[row], entries.data() + first[row + 1]};
    }

private:
    // Bucket r is entries[first[r], first[r + 1]).
    std::vector<int> first;
    std::vector<Edge*> entries;
};

// The edges crossing the current row, kept in ascending order of x.
class ActiveEdgeList {
public:
    std::vector<Edge*> active;
    // -1 before the first row.
    int row = -1;

    void add(Edge& edge);
    // Moves to the next row: steps every edge, retires the finished ones, takes in
    // the bucket's edges on their first row, re-sorts and applies the shared-vertex rule.
    void advance(std::span<Edge* const> bucket);
    // Stable: on equal x an edge keeps its place, so an already active edge stays
    // before one that joins on this row.
    void sortByX();
    // Where one side ends on this row and its neighbour in x order starts here,
    // the ending side is dropped so that the shared vertex is counted once.
    // Two sides ending together (a local top) or starting together stay.
    void dropJoinedEnds();
};

// Fills one polygon from its edges, the frame's rows from the bottom, pairing the active edges
// from the left (even-odd rule). Steps the edges in place.
void scanPolygon(std::vector<Edge>& edges, const Scene& scene, FrameBuffer& frame, const Texture* colorTexture,
                 const Texture* bumpMap);
// The same restricted to `rows` (begin >= 0): what scanning every row fills there, bit for bit.
// `polygon`, the polygon's place in the frame, goes into the span tags of the frame's records.
void scanPolygon(std::vector<Edge>& edges, const Scene& scene, FrameBuffer& frame, const Texture* colorTexture,
                 const Texture* bumpMap, RowRange rows, int polygon = 0);

} // namespace rv
