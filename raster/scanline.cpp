#include "raster/scanline.h"

#include <algorithm>
#include <utility>

#include "raster/span.h"

namespace rv {

void EdgeTable::build(std::span<Edge* const> edges, int firstRow, int endRow) {
    base = firstRow;
    const size_t rows = static_cast<size_t>(endRow - firstRow);
    first.assign(rows + 1, 0);
    for (const Edge* e : edges) ++first[static_cast<size_t>(e->yStart - base) + 1];
    for (size_t r = 0; r < rows; ++r) first[r + 1] += first[r];
    entries.resize(edges.size());
    // Placing moves each bucket's start to the next bucket's start; shift them back after.
    for (Edge* e : edges) entries[static_cast<size_t>(first[static_cast<size_t>(e->yStart - base)]++)] = e;
    for (size_t r = rows; r > 0; --r) first[r] = first[r - 1];
    first[0] = 0;
}

void ActiveEdgeList::add(Edge& edge) {
    active.push_back(&edge);
    sortByX();
}

void ActiveEdgeList::advance(std::span<Edge* const> bucket) {
    ++row;
    size_t kept = 0;
    for (Edge* e : active) {
        e->step();
        if (e->yEnd >= row) active[kept++] = e;
    }
    active.resize(kept);
    // Newcomers are not stepped: on their first row they hold their lower end's values.
    active.insert(active.end(), bucket.begin(), bucket.end());
    sortByX();
    dropJoinedEnds();
}

void ActiveEdgeList::sortByX() {
    bool swapped = true;
    while (swapped) {
        swapped = false;
        for (size_t i = 1; i < active.size(); ++i)
            if (active[i]->x < active[i - 1]->x) {
                std::swap(active[i], active[i - 1]);
                swapped = true;
            }
    }
}

void ActiveEdgeList::dropJoinedEnds() {
    bool removed = true;
    while (removed) {
        removed = false;
        for (size_t i = 0; i < active.size(); ++i) {
            if (active[i]->yEnd != row) continue;
            const bool joinsLeft = i > 0 && active[i - 1]->yStart == row;
            const bool joinsRight = i + 1 < active.size() && active[i + 1]->yStart == row;
            if (joinsLeft || joinsRight) {
                active.erase(active.begin() + static_cast<long>(i));
                removed = true;
                break;
            }
        }
    }
}

namespace {

// Sets up the walk over the rows below `end`: the active list on the row before
// the first row walked (from `resume`, or from the edges below row 0), the
// waiting edges in the table. Returns the row after the last one with an edge
// (at most the first row walked where there is none).
int startWalk(std::span<Edge> edges, int end, ScanScratch& scratch, const ScanResume* resume) {
    ActiveEdgeList& list = scratch.list;
    std::vector<Edge*>& waiting = scratch.waiting;
    list.active.clear();
    waiting.clear();
    // The walk starts on the lowest row with an active edge and stops after the
    // highest one: the rows outside hold no edge, so advancing over them changes nothing.
    int firstRow = end, lastRow = -1;
    if (resume) {
        scratch.resumed.assign(resume->active.begin(), resume->active.end());
        for (Edge& e : scratch.resumed) {
            list.active.push_back(&e);
            lastRow = std::max(lastRow, e.yEnd);
        }
        firstRow = resume->row;
    }
    for (Edge& e : edges) {
        if (e.yStart == e.yEnd || e.yStart >= end) continue;
        if (resume) {
            // Edges below the resume row are in its list or done with.
            if (e.yStart < resume->row) continue;
        } else if (e.yStart < 0) {
            // To row -1: the first advance supplies the step onto row 0.
            lastRow = std::max(lastRow, e.yEnd);
            e.stepBy(static_cast<float>(-1 - e.yStart));
            list.add(e);
            firstRow = 0;
            continue;
        }
        lastRow = std::max(lastRow, e.yEnd);
        waiting.push_back(&e);
        firstRow = std::min(firstRow, e.yStart);
    }
    const int stop = std::min(end, lastRow + 1);
    list.row = firstRow - 1;
    if (firstRow < stop) scratch.table.build(waiting, firstRow, stop);
    return stop;
}

} // namespace

void scanPolygon(std::span<Edge> edges, const Scene& scene, const FrameView& frame, const Material& material,
                 RowRange rows, int polygon, ScanScratch& scratch, const ScanResume* resume) {
    const int end = std::min(rows.end, frame.height());
    if (rows.begin >= end) return;
    const int stop = startWalk(edges, end, scratch, resume);
    ActiveEdgeList& list = scratch.list;
    // Rows below `rows` are advanced too, only not filled: a jump straight to the first row would
    // round the edges' values differently, and their order on it depends on every re-sort before.
    for (int r = list.row + 1; r < stop; ++r) {
        list.advance(scratch.table.bucket(r));
        if (r < rows.begin) continue;
        for (size_t i = 1; i < list.active.size(); i += 2)
            fillSpan(scene, frame, list.row, *list.active[i - 1], *list.active[i], material,
                     spanTag(list.row, static_cast<int>(i / 2), polygon));
    }
}

void walkPolygon(std::span<Edge> edges, int height, std::span<const int> resumeRows, ScanScratch& scratch,
                 std::vector<Edge>& out, std::vector<int>& ends) {
    const int stop = startWalk(edges, height, scratch, nullptr);
    ActiveEdgeList& list = scratch.list;
    auto next = resumeRows.begin();
    for (int r = list.row + 1; next != resumeRows.end(); ++r) {
        // A resume row at or below the first row walked finds the list it would start from.
        for (; next != resumeRows.end() && *next <= r; ++next) {
            for (const Edge* e : list.active) out.push_back(*e);
            ends.push_back(static_cast<int>(out.size()));
        }
        if (r < stop) list.advance(scratch.table.bucket(r));
    }
}

} // namespace rv
