#include "raster/draw_objects.h"

#include <span>
#include <vector>

#include "raster/clipping.h"
#include "raster/edge.h"
#include "raster/scanline.h"
#include "raster/vertex_processing.h"

namespace rv {

void drawObjects(const Scene& scene, FrameBuffer& frame) { drawObjectRows(scene, frame, {0, frame.height()}); }

void drawObjectRows(const Scene& scene, FrameBuffer& frame, RowRange rows) {
    const int width = frame.width(), height = frame.height();
    // Reused from polygon to polygon; nothing in them outlives the polygon they were filled for.
    std::vector<Vector4> clipSpace;
    PolygonClipper clipper;
    std::vector<ScreenVertex> screenVertices;
    std::vector<Edge> edges;
    int polygonIndex = 0;
    for (const SceneObject& object : scene.objects) {
        const float shininess = static_cast<float>(object.shininess);
        for (const Polygon& polygon : object.polygons) {
            clipSpace.clear();
            for (const Vertex& vertex : polygon.vertices) clipSpace.push_back(toClipSpace(scene, vertex));
            std::span<const Vertex> vertices = polygon.vertices;
            std::span<const Vector4> clipCoords = clipSpace;
            if (scene.clipping) {
                clipper.clip(vertices, clipCoords);
                vertices = clipper.vertices;
                clipCoords = clipper.clipSpace;
            }
            screenVertices.clear();
            edges.clear();
            for (size_t k = 0; k < vertices.size(); ++k)
                screenVertices.push_back(fromClipSpace(clipCoords[k], vertices[k], shininess, object.diffuse,
                                                       object.specular, width, height));
            // Edges point into screenVertices, which is complete and stays put from here on.
            for (size_t k = 0; k < vertices.size(); ++k)
                edges.emplace_back(screenVertices[k], screenVertices[static_cast<size_t>(vertices[k].prev)]);
            scanPolygon(edges, scene, frame, object.colorTexture, object.bumpMap, rows, polygonIndex++);
        }
    }
}

} // namespace rv
