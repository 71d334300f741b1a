#include "raster/draw_objects.h"

#include <vector>

#include "raster/edge.h"
#include "raster/scanline.h"
#include "raster/vertex_processing.h"

namespace rv {

void drawObjects(const Scene& scene, FrameBuffer& frame) { drawObjectRows(scene, frame, {0, frame.height()}); }

void drawObjectRows(const Scene& scene, FrameBuffer& frame, RowRange rows) {
    const int width = frame.width(), height = frame.height();
    // Reused from polygon to polygon; nothing in them outlives the polygon they were filled for.
    std::vector<ScreenVertex> screenVertices;
    std::vector<Edge> edges;
    for (const SceneObject& object : scene.objects) {
        const float shininess = static_cast<float>(object.shininess);
        for (const Polygon& polygon : object.polygons) {
            screenVertices.clear();
            edges.clear();
            for (const Vertex& vertex : polygon.vertices)
                screenVertices.push_back(
                    projectVertex(scene, vertex, shininess, object.diffuse, object.specular, width, height));
            // Edges point into screenVertices, which is complete and stays put from here on.
            for (size_t k = 0; k < polygon.vertices.size(); ++k)
                edges.emplace_back(screenVertices[k], screenVertices[static_cast<size_t>(polygon.vertices[k].prev)]);
            scanPolygon(edges, scene, frame, object.colorTexture, object.bumpMap, rows);
        }
    }
}

} // namespace rv
