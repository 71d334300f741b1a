#include "tests/support/stage_helpers.h"

#include <optional>

#include "raster/frame_view.h"
#include "raster/scanline.h"
#include "raster/span.h"
#include "raster/shading.h"
#include "scene/scene.h"

namespace rv {

Color shadeFragment(const Scene& scene, const FrameBuffer& frame, const Color& surfaceColor, const Color& specular,
                    float shininess, const Vector3& eye, float x, float y, float z, Vector3 normal) {
    const std::optional<FragmentPlace> place = placeFragment(scene, frame.width(), frame.height(), eye, x, y, z);
    if (!place) throw ZeroDivide{};
    const std::optional<Color> lit = lightFragment(scene, *place, surfaceColor, specular, shininess, normal);
    if (!lit) throw ZeroDivide{};
    return *lit;
}

Vector3 perturbNormal(const Vector3& texOverW, const Vector3& normal, const Texture& heightMap, float scale) {
    const std::optional<Vector3> bent = bumpNormal(texOverW, normal, heightMap, scale);
    if (!bent) throw ZeroDivide{};
    return *bent;
}

ScreenVertex projectVertex(const Scene& scene, const Vertex& vertex, int width, int height) {
    return fromClipSpace(toClipSpace(scene, vertex), vertex, width, height);
}

Material plainMaterial(const Texture* colorTexture, const Texture* bumpMap) {
    Material m;
    m.colorTexture = colorTexture;
    m.bumpMap = bumpMap;
    return m;
}

void scanPolygon(std::vector<Edge>& edges, const Scene& scene, FrameBuffer& frame, const Material& material) {
    ScanScratch scratch;
    scanPolygon(edges, scene, FrameView(frame), material, {0, frame.height()}, 0, scratch);
}

void fillSpan(const Scene& scene, FrameBuffer& frame, int y, const Edge& left, const Edge& right,
              const Material& material) {
    fillSpan(scene, FrameView(frame), y, left, right, material);
}

} // namespace rv
