#include "tests/support/grid_scene.h"

#include "scene/scene.h"

namespace rv {

void buildGrid(Scene& scene, int n) {
    scene.beginObject();
    scene.setNormal(0, 0, 1);
    // Corners from one formula, so that neighbouring triangles share their ends to the bit.
    auto corner = [&](int i, int j) {
        const float s = static_cast<float>(i) / static_cast<float>(n);
        const float t = static_cast<float>(j) / static_cast<float>(n);
        scene.setTexCoord(s, t);
        scene.addVertex(s - 0.5f, t - 0.5f, 0);
    };
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            scene.beginPolygon();
            corner(i, j);
            corner(i + 1, j);
            corner(i + 1, j + 1);
            scene.beginPolygon();
            corner(i, j);
            corner(i + 1, j + 1);
            corner(i, j + 1);
        }
}

void initGridScene(Scene& scene, int n) {
    initScene(scene);
    scene.objects.clear();
    buildGrid(scene, n);
}

} // namespace rv
