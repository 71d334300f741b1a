#pragma once

#include <span>
#include <vector>

#include "raster/edge.h"
#include "raster/frame_view.h"
#include "raster/material.h"

namespace rv {

class Scene;

// One bucket per row of [firstRow, endRow): bucket r holds the edges whose first
// row is r, in the polygon's edge order. Stored as one array sliced by row and
// rebuilt in place, so that it stops allocating once it has grown to the tallest
// polygon.
class EdgeTable {
public:
    // Every edge given must start on a row in [firstRow, endRow).
    void build(std::span<Edge* const> edges, int firstRow, int endRow);

    std::span<Edge* const> bucket(int row) const {
        const size_t r = static_cast<size_t>(row - base);
        return {entries.data() + first[r], entries.data() + first[r + 1]};
    }

private:
    int base = 0;
    // Bucket r is entries[first[r - base], first[r - base + 1]).
    std::vector<int> first;
    std::vector<Edge*> entries;
};

// The edges crossing the current row, kept in ascending order of x.
class ActiveEdgeList {
public:
    std::vector<Edge*> active;
    // One below the first row walked, before it.
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

// What scanning a polygon works in, kept from polygon to polygon by whoever
// scans many of them, so that scanning allocates nothing per polygon.
struct ScanScratch {
    ActiveEdgeList list;
    std::vector<Edge*> waiting;
    EdgeTable table;
    // The active edges a resumed scan starts from, stepped here.
    std::vector<Edge> resumed;
};

// Where a scan of a polygon can pick up at row `row` without walking the rows
// below: its active edges, in order, as the walk from its first row left them
// on row - 1.
struct ScanResume {
    int row = 0;
    std::span<const Edge> active;
};

// Fills one polygon from its edges over `rows` (begin >= 0), pairing the active
// edges from the left (even-odd rule): what scanning every row from the bottom
// fills there, bit for bit. Steps the edges in place. `polygon`, the polygon's
// place in the frame, goes into the span tags of the frame's records. With
// `resume` (whose row must be rows.begin), the scan starts from a copy of its
// edges instead of walking the rows below.
void scanPolygon(std::span<Edge> edges, const Scene& scene, const FrameView& frame, const Material& material,
                 RowRange rows, int polygon, ScanScratch& scratch, const ScanResume* resume = nullptr);

// Walks a polygon's edges over the rows of a frame `height` rows tall as
// scanPolygon does, filling nothing, and before each row r of `resumeRows`
// (ascending, all above the polygon's first row) appends copies of the active
// edges to `out` and their end in `out` to `ends`. Steps the edges in place.
void walkPolygon(std::span<Edge> edges, int height, std::span<const int> resumeRows, ScanScratch& scratch,
                 std::vector<Edge>& out, std::vector<int>& ends);

} // namespace rv
