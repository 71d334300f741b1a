#include "raster/vertex_stage.h"

#include <algorithm>

#include "raster/band_workers.h"
#include "raster/vertex_processing.h"
#include "scene/scene.h"

namespace rv {

namespace {

// Polygons per chunk: enough that handing a chunk to a thread costs little
// beside the work in it, few enough that two cores share a scene of a few
// thousand triangles.
constexpr size_t chunkSize = 1024;

size_t chunkCount(size_t polygons) { return (polygons + chunkSize - 1) / chunkSize; }

} // namespace

Material materialOf(const SceneObject& object) {
    return {object.diffuse, object.specular, static_cast<float>(object.shininess), object.colorTexture,
            object.bumpMap};
}

void VertexStage::run(const Scene& scene, int width, int height, BandWorkers* workers) {
    sources.clear();
    materials.clear();
    for (const SceneObject& object : scene.objects) {
        const int index = static_cast<int>(materials.size());
        materials.push_back(materialOf(object));
        for (const Polygon& polygon : object.polygons) sources.push_back({&polygon, index});
    }
    screenPolygons.resize(sources.size());
    const size_t chunks = chunkCount(sources.size());
    if (this->chunks.size() < chunks) this->chunks.resize(chunks);
    if (workers && chunks > 1)
        workers->run(static_cast<int>(chunks), [&](int chunk) { runChunk(scene, width, height, chunk); });
    else
        for (size_t chunk = 0; chunk < chunks; ++chunk) runChunk(scene, width, height, static_cast<int>(chunk));
}

void VertexStage::runChunk(const Scene& scene, int width, int height, int chunkIndex) {
    Chunk& c = chunks[static_cast<size_t>(chunkIndex)];
    const size_t begin = static_cast<size_t>(chunkIndex) * chunkSize;
    const size_t end = std::min(sources.size(), begin + chunkSize);
    c.vertices.clear();
    c.links.clear();
    c.vertexStart.clear();
    for (size_t p = begin; p < end; ++p) {
        const Polygon& polygon = *sources[p].polygon;
        c.clipSpace.clear();
        for (const Vertex& vertex : polygon.vertices) c.clipSpace.push_back(toClipSpace(scene, vertex));
        std::span<const Vertex> vertices = polygon.vertices;
        std::span<const Vector4> clipCoords = c.clipSpace;
        if (scene.clipping) {
            c.clipper.clip(vertices, clipCoords);
            vertices = c.clipper.vertices;
            clipCoords = c.clipper.clipSpace;
        }
        c.vertexStart.push_back(static_cast<int>(c.vertices.size()));
        for (size_t k = 0; k < vertices.size(); ++k) {
            c.vertices.push_back(fromClipSpace(clipCoords[k], vertices[k], width, height));
            c.links.push_back(vertices[k].prev);
        }
    }
    c.vertexStart.push_back(static_cast<int>(c.vertices.size()));

    // Edges point into c.vertices, which is complete and stays put from here until the next run.
    // vertexStart becomes edgeStart in place: each entry is read before it is overwritten.
    c.edges.clear();
    std::vector<int>& edgeStart = c.vertexStart;
    const size_t count = end - begin;
    for (size_t i = 0; i < count; ++i) {
        const int first = edgeStart[i], last = edgeStart[i + 1];
        edgeStart[i] = static_cast<int>(c.edges.size());
        for (int k = first; k < last; ++k)
            c.edges.emplace_back(c.vertices[static_cast<size_t>(k)],
                                 c.vertices[static_cast<size_t>(first + c.links[static_cast<size_t>(k)])]);
    }
    edgeStart[count] = static_cast<int>(c.edges.size());
    for (size_t i = 0; i < count; ++i) {
        const size_t from = static_cast<size_t>(edgeStart[i]), to = static_cast<size_t>(edgeStart[i + 1]);
        ScreenPolygon& out = screenPolygons[begin + i];
        out.edges = std::span<const Edge>(c.edges).subspan(from, to - from);
        out.object = sources[begin + i].object;
        int low = 0, high = 0;
        bool any = false;
        for (const Edge& e : out.edges) {
            if (e.yStart == e.yEnd) continue;
            low = any ? std::min(low, e.yStart) : e.yStart;
            high = any ? std::max(high, e.yEnd) : e.yEnd;
            any = true;
        }
        out.rows = any ? RowRange{std::max(low, 0), std::max(high + 1, 0)} : RowRange{};
    }
}

} // namespace rv
