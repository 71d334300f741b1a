#include <memory>
#include <utility>

#include <gtest/gtest.h>

#include "scene/scene.h"

namespace rv {

namespace {

class SceneTest : public ::testing::Test {
protected:
    void init() { initScene(scene); }

    Scene scene;
};

void expectIdentityStack(const MatrixStack& stack) {
    EXPECT_EQ(stack.current, identity());
    EXPECT_EQ(stack.inverse, identity());
    EXPECT_TRUE(stack.saved.empty());
}

void expectClearedCurrentState(const Scene& scene) {
    EXPECT_FALSE(scene.lightingEnabled);
    EXPECT_FALSE(scene.flatShading);
    EXPECT_TRUE(scene.useOpenGL);
    EXPECT_TRUE(scene.mipmapping);
    EXPECT_TRUE(scene.clipping);
    EXPECT_TRUE(scene.lights.empty());
    EXPECT_TRUE(scene.objects.empty());
    EXPECT_EQ(scene.normal, (Vector3{0, 0, 1}));
    EXPECT_EQ(scene.diffuse, (Color{1, 1, 1, 1}));
    EXPECT_EQ(scene.specular, (Color{0, 0, 0, 1}));
    EXPECT_EQ(scene.shininess, 0);
    EXPECT_EQ(scene.loopStart, 0);
    EXPECT_EQ(scene.colorTexture, nullptr);
    EXPECT_EQ(scene.bumpMap, nullptr);
    EXPECT_EQ(scene.environmentMap, nullptr);
    EXPECT_EQ(scene.s, 0);
    EXPECT_EQ(scene.t, 0);
}

TEST_F(SceneTest, NewSceneStartsEmptyOnTheOpenGLPath) {
    expectClearedCurrentState(scene);
    EXPECT_EQ(scene.ambient, (Color{0, 0, 0, 1}));
    expectIdentityStack(scene.modelview);
    expectIdentityStack(scene.projection);
    expectIdentityStack(scene.construction);
}

TEST_F(SceneTest, SetNormalStoresUnitLength) {
    scene.setNormal(3, 0, 4);
    EXPECT_EQ(scene.normal, (Vector3{0.6f, 0, 0.8f}));
    scene.setNormal(0, -2, 0);
    EXPECT_EQ(scene.normal, (Vector3{0, -1, 0}));
}

TEST_F(SceneTest, SetNormalOfZeroThrowsAndKeepsTheZeroVector) {
    EXPECT_THROW(scene.setNormal(0, 0, 0), ZeroDivide);
    EXPECT_EQ(scene.normal, (Vector3{0, 0, 0}));
}

TEST_F(SceneTest, InitSceneStartsOnTheOpenGLPathWithMipmapping) {
    init();
    EXPECT_TRUE(scene.useOpenGL);
    EXPECT_TRUE(scene.mipmapping);
    EXPECT_FALSE(scene.lightingEnabled);
    EXPECT_FALSE(scene.flatShading);
}

TEST_F(SceneTest, InitSceneHasOneGreyLitLight) {
    init();
    EXPECT_EQ(scene.ambient, (Color{0.4f, 0.4f, 0.4f, 1}));
    ASSERT_EQ(scene.lights.size(), 1u);
    EXPECT_EQ(scene.lights[0].position, (Vector3{0, -100, 80}));
    EXPECT_EQ(scene.lights[0].color, (Color{0.8f, 0.8f, 0.8f, 1}));
}

TEST_F(SceneTest, InitSceneHasOneTexturedOrangeObject) {
    init();
    ASSERT_EQ(scene.objects.size(), 1u);
    const SceneObject& object = scene.objects[0];
    EXPECT_EQ(object.diffuse.r, 0.8f);
    EXPECT_NEAR(object.diffuse.g, 0.4988f, 1e-4f);
    EXPECT_EQ(object.diffuse.b, 0.2f);
    EXPECT_EQ(object.diffuse.a, 1);
    EXPECT_EQ(object.specular, (Color{1, 1, 1, 1}));
    EXPECT_EQ(object.shininess, 100);
    ASSERT_NE(object.colorTexture, nullptr);
    ASSERT_NE(object.bumpMap, nullptr);
    EXPECT_EQ(object.environmentMap, nullptr);
    EXPECT_NE(object.colorTexture, object.bumpMap);
    EXPECT_EQ(object.colorTexture->channels, 3);
    EXPECT_EQ(object.colorTexture->width, 256);
    EXPECT_EQ(object.colorTexture->height, 256);
    EXPECT_EQ(object.bumpMap->channels, 1);
    EXPECT_EQ(object.bumpMap->width, 256);
    EXPECT_EQ(object.bumpMap->height, 256);
    EXPECT_EQ(object.colorTexture->pyramid, nullptr);
}

TEST_F(SceneTest, InitSceneHoldsTheUnitSquare) {
    init();
    ASSERT_EQ(scene.objects.size(), 1u);
    ASSERT_EQ(scene.objects[0].polygons.size(), 1u);
    const auto& vertices = scene.objects[0].polygons[0].vertices;
    ASSERT_EQ(vertices.size(), 4u);
    const Vector4 corners[] = {{-0.5f, -0.5f, 0, 1}, {0.5f, -0.5f, 0, 1}, {0.5f, 0.5f, 0, 1}, {-0.5f, 0.5f, 0, 1}};
    const int prev[] = {3, 0, 1, 2};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(vertices[i].position, corners[i]) << "vertex " << i;
        EXPECT_EQ(vertices[i].normal, (Vector3{0, 0, 1})) << "vertex " << i;
        EXPECT_EQ(vertices[i].prev, prev[i]) << "vertex " << i;
    }
}

TEST_F(SceneTest, InitSceneLeavesTheCurrentStateOfTheLastVertex) {
    init();
    EXPECT_EQ(scene.colorTexture, scene.objects[0].colorTexture);
    EXPECT_EQ(scene.bumpMap, scene.objects[0].bumpMap);
    EXPECT_EQ(scene.environmentMap, nullptr);
    EXPECT_EQ(scene.shininess, 100);
    EXPECT_EQ(scene.specular, (Color{1, 1, 1, 1}));
    EXPECT_EQ(scene.normal, (Vector3{0, 0, 1}));
    EXPECT_EQ(scene.s, 0);
    EXPECT_EQ(scene.t, 1);
    EXPECT_EQ(scene.loopStart, 0);
    expectIdentityStack(scene.construction);
    expectIdentityStack(scene.modelview);
    expectIdentityStack(scene.projection);
}

TEST_F(SceneTest, ResetClearsAllButAmbientAndTheStacks) {
    init();
    scene.useOpenGL = false;
    scene.mipmapping = false;
    scene.clipping = false;
    scene.lightingEnabled = true;
    scene.flatShading = true;
    scene.modelview.translate(1, 2, 3);
    scene.modelview.updateInverse();
    scene.projection.push();
    scene.projection.perspective(0.4f, 0.4f, 0.1f, 100);
    scene.construction.rotateZ(30);
    const MatrixStack modelview = scene.modelview;
    const MatrixStack projection = scene.projection;
    const MatrixStack construction = scene.construction;

    scene.reset();

    expectClearedCurrentState(scene);
    EXPECT_EQ(scene.ambient, (Color{0.4f, 0.4f, 0.4f, 1}));
    for (const auto& [kept, before] : {std::pair{&scene.modelview, &modelview}, std::pair{&scene.projection, &projection},
                                       std::pair{&scene.construction, &construction}}) {
        EXPECT_EQ(kept->current, before->current);
        EXPECT_EQ(kept->inverse, before->inverse);
        EXPECT_EQ(kept->saved, before->saved);
    }
    EXPECT_TRUE(scene.textures.empty()) << "the textures of the cleared objects go with them";
}

TEST_F(SceneTest, OwnsTheTexturesItsObjectsUse) {
    init();
    ASSERT_EQ(scene.textures.size(), 2u);
    EXPECT_EQ(scene.objects[0].colorTexture, scene.textures[0].get());
    EXPECT_EQ(scene.objects[0].bumpMap, scene.textures[1].get());
    // Filled again: the old textures are released, not piled up (the sanitizer build's leak check sees it).
    initScene(scene);
    EXPECT_EQ(scene.textures.size(), 2u);
}

} // namespace

} // namespace rv
