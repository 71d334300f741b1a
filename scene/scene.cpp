#include "scene/scene.h"

namespace rv {

void Scene::reset() {
    lightingEnabled = false;
    flatShading = false;
    useOpenGL = true;
    mipmapping = true;
    clipping = true;
    simd = true;
    objects.clear();
    lights.clear();
    // After the objects that point at them.
    textures.clear();
    normal = {0, 0, 1};
    diffuse = {1, 1, 1, 1};
    specular = {0, 0, 0, 1};
    s = 0;
    t = 0;
    shininess = 0;
    loopStart = 0;
    colorTexture = nullptr;
    bumpMap = nullptr;
    environmentMap = nullptr;
}

Texture& Scene::createTexture() { return *textures.emplace_back(std::make_unique<Texture>()); }

void addDefaultLight(Scene& scene) {
    scene.setAmbient({0.4f, 0.4f, 0.4f, 1});
    scene.addLight({0, -100, 80}, {0.8f, 0.8f, 0.8f, 1});
}

void initScene(Scene& scene) {
    scene.reset();
    scene.lightingEnabled = false;
    scene.flatShading = false;
    Texture* colors = &scene.createTexture().makeTileColors(256, 256);
    Texture* heights = &scene.createTexture().makeTileHeights(256, 256);
    addDefaultLight(scene);
    scene.setTextures(colors, heights, nullptr);
    scene.construction.push();
    const Color specular = fromHSV(0, 0, 1, 1);
    const Color orange = fromHSV(0.083f, 0.75f, 0.8f, 1);
    scene.setMaterial(orange, specular, 100);
    buildSquare(scene, 1.0, 1.0);
    scene.construction.pop();
}

} // namespace rv
