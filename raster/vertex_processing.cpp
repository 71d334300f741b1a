#include "raster/vertex_processing.h"

#include "scene/scene.h"

namespace rv {

Vector4 toClipSpace(const Scene& scene, const Vertex& vertex) {
    return scene.projection.transformPoint(scene.modelview.transformPoint(vertex.position));
}

ScreenVertex fromClipSpace(const Vector4& clip, const Vertex& vertex, int width, int height) {
    const float w = clip.w;
    const float ndcX = clip.x / w;
    const float ndcY = clip.y / w;

    ScreenVertex v;
    // Widened before the window mapping, so ndc -1 and 1 land exactly on 0 and the frame size.
    v.x = static_cast<float>((static_cast<double>(ndcX) + 1) * width * 0.5);
    v.y = static_cast<float>((static_cast<double>(ndcY) + 1) * height * 0.5);
    v.z = clip.z / w;
    v.texOverW = {vertex.s / w, vertex.t / w, 1 / w};
    v.normal = vertex.normal;
    return v;
}

} // namespace rv
