#include <stdexcept>

#include "scene/scene.h"

namespace rv {

void Scene::beginObject() {
    SceneObject& object = objects.emplace_back();
    object.diffuse = diffuse;
    object.specular = specular;
    object.shininess = shininess;
    object.colorTexture = colorTexture;
    object.bumpMap = bumpMap;
    object.environmentMap = environmentMap;
    loopStart = 0;
}

void Scene::beginPolygon() {
    if (objects.empty()) throw std::logic_error("beginPolygon: no object has been begun");
    objects.back().polygons.emplace_back();
    loopStart = 0;
}

void Scene::addVertex(float x, float y, float z) {
    if (objects.empty() || objects.back().polygons.empty())
        throw std::logic_error("addVertex: no polygon has been begun");
    const Matrix4& m = construction.current;
    const Vector4 p = transform(m, {x, y, z, 1});
    const Vector4 n = transform(m, {normal.x, normal.y, normal.z, 0});
    std::vector<Vertex>& loop = objects.back().polygons.back().vertices;
    const int g = static_cast<int>(loop.size());
    loop.push_back({p, {n.x, n.y, n.z}, s, t, g - 1});
    // Close the loop: its first vertex now follows back to the newest one.
    loop[loopStart].prev = g;
}

void buildSquare(Scene& scene, double width, double height) {
    const float halfW = static_cast<float>(width * 0.5);
    const float halfH = static_cast<float>(height * 0.5);
    scene.beginObject();
    scene.beginPolygon();
    scene.setNormal(0, 0, 1);
    scene.setTexCoord(0, 0);
    scene.addVertex(-halfW, -halfH, 0);
    scene.setTexCoord(1, 0);
    scene.addVertex(halfW, -halfH, 0);
    scene.setTexCoord(1, 1);
    scene.addVertex(halfW, halfH, 0);
    scene.setTexCoord(0, 1);
    scene.addVertex(-halfW, halfH, 0);
}

} // namespace rv
