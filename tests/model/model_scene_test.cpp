#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/model_scene.h"

namespace rv {

namespace {

constexpr float nan = std::numeric_limits<float>::quiet_NaN();

ImportedVertex vertex(float x, float y, float z, float nx = 0, float ny = 0, float nz = 1) {
    return {{x, y, z}, {nx, ny, nz}, {x, y}};
}

// A box x 1..3, y 0..1, z -0.5..0 given by two triangles across its diagonal corners.
ImportedModel boxModel() {
    ImportedModel m;
    m.materials.emplace_back();
    ImportedMesh mesh;
    mesh.vertices = {vertex(1, 0, -0.5f), vertex(3, 0, -0.5f), vertex(3, 1, 0), vertex(1, 1, 0)};
    mesh.indices = {0, 1, 2, 0, 2, 3};
    m.meshes.push_back(mesh);
    return m;
}

TEST(ModelScene, PlacesTheBoxCentredWithItsLargestSideOneAndYTurnedToZ) {
    Scene scene;
    const ModelLoad out = buildModelScene(scene, boxModel());
    ASSERT_EQ(out.error, "");
    EXPECT_EQ(out.triangles, 2);
    ASSERT_EQ(scene.objects.size(), 1u);
    ASSERT_EQ(scene.objects[0].polygons.size(), 2u);
    // (x, y, z) -> ((x - 2) / 2, -(z + 0.25) / 2, (y - 0.5) / 2)
    const std::vector<Vertex>& first = scene.objects[0].polygons[0].vertices;
    ASSERT_EQ(first.size(), 3u);
    const float expected[3][3] = {{-0.5f, 0.125f, -0.25f}, {0.5f, 0.125f, -0.25f}, {0.5f, -0.125f, 0.25f}};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(first[k].position.x, expected[k][0]) << k;
        EXPECT_EQ(first[k].position.y, expected[k][1]) << k;
        EXPECT_EQ(first[k].position.z, expected[k][2]) << k;
        EXPECT_EQ(first[k].position.w, 1.0f);
    }
    // The file's +z normal turned with the model: -y, scaled like every direction.
    EXPECT_EQ(first[0].normal.y, -0.5f);
    EXPECT_EQ(first[2].s, 2.0f);
    EXPECT_TRUE(scene.lightingEnabled);
    EXPECT_EQ(scene.lights.size(), 1u);
    EXPECT_TRUE(scene.construction.saved.empty());
    EXPECT_EQ(scene.construction.current, identity());
}

TEST(ModelScene, MaterialValuesAreClampedToWhatBothRenderersAccept) {
    struct Case {
        float shininess;
        int stored;
    };
    const Case cases[] = {{-5, 0}, {0, 0}, {64.4f, 64}, {64.5f, 65}, {128, 128}, {1000, 128}, {nan, 0}};
    for (const Case& c : cases) {
        ImportedModel m = boxModel();
        m.materials[0].shininess = c.shininess;
        m.materials[0].diffuse[0] = 2;
        m.materials[0].diffuse[1] = nan;
        m.materials[0].specular[2] = -1;
        Scene scene;
        ASSERT_EQ(buildModelScene(scene, m).error, "");
        const SceneObject& o = scene.objects[0];
        EXPECT_EQ(o.shininess, c.stored) << c.shininess;
        EXPECT_EQ(o.diffuse.r, 1.0f);
        EXPECT_EQ(o.diffuse.g, 0.0f);
        EXPECT_EQ(o.specular.b, 0.0f);
    }
}

TEST(ModelScene, TrianglesWithANonFiniteCornerAreDroppedWithOneWarning) {
    ImportedModel m = boxModel();
    m.meshes[0].vertices.push_back(vertex(nan, 0, 0));
    m.meshes[0].vertices.push_back(vertex(0, std::numeric_limits<float>::infinity(), 0));
    m.meshes[0].indices.insert(m.meshes[0].indices.end(), {0, 1, 4, 5, 1, 2, 4, 5, 0});
    Scene scene;
    const ModelLoad out = buildModelScene(scene, m);
    EXPECT_EQ(out.triangles, 2);
    ASSERT_EQ(out.warnings, std::vector<std::string>{"3 triangles with a non-finite corner dropped"});
    // The box is placed as without them.
    EXPECT_EQ(scene.objects[0].polygons[0].vertices[0].position.x, -0.5f);
}

TEST(ModelScene, NothingUsableLeavesTheSceneUntouched) {
    ImportedModel m = boxModel();
    for (ImportedVertex& v : m.meshes[0].vertices) v.position[1] = nan;
    Scene scene;
    initScene(scene);
    EXPECT_EQ(buildModelScene(scene, m).error, "no triangle with finite corners");
    EXPECT_EQ(scene.objects.size(), 1u);
    EXPECT_FALSE(scene.lightingEnabled);
}

// Made for repeating textures: a triangle mapped to s in [5, 6] shows what [0, 1] shows.
TEST(ModelScene, TextureCoordinatesMoveByWholePeriodsPerTriangle) {
    ImportedModel m = boxModel();
    const float uv[4][2] = {{5, 1}, {6, 1}, {6, 1.19209e-07f}, {-0.5f, nan}};
    for (int k = 0; k < 4; ++k) {
        m.meshes[0].vertices[k].texCoord[0] = uv[k][0];
        m.meshes[0].vertices[k].texCoord[1] = uv[k][1];
    }
    Scene scene;
    ASSERT_EQ(buildModelScene(scene, m).error, "");
    const float expected[2][3][2] = {{{0, 1}, {1, 1}, {1, 1.19209e-07f}}, {{6, 1}, {7, 1.19209e-07f}, {0.5f, 0}}};
    for (int p = 0; p < 2; ++p)
        for (int k = 0; k < 3; ++k) {
            const Vertex& v = scene.objects[0].polygons[p].vertices[k];
            EXPECT_EQ(v.s, expected[p][k][0]) << p << " " << k;
            EXPECT_EQ(v.t, expected[p][k][1]) << p << " " << k;
        }
}

TEST(ModelScene, UnusableNormalsFallBackToTheFaceNormal) {
    ImportedModel m;
    m.materials.emplace_back();
    ImportedMesh mesh;
    // A triangle in the file's y = 0 plane, wound so its face normal is +y, which becomes +z.
    mesh.vertices = {vertex(0, 0, 0, 0, 0, 0), vertex(0, 0, 1, nan, 0, 0), vertex(1, 0, 0, 1e-38f, 0, 0)};
    mesh.indices = {0, 1, 2};
    m.meshes.push_back(mesh);
    Scene scene;
    ASSERT_EQ(buildModelScene(scene, m).error, "");
    for (const Vertex& v : scene.objects[0].polygons[0].vertices) {
        EXPECT_EQ(v.normal.x, 0.0f);
        EXPECT_EQ(v.normal.y, 0.0f);
        EXPECT_GT(v.normal.z, 0.0f);
    }
}

TEST(ModelScene, TexturesAreResampledAndUnreadableOnesLeaveTheObjectUntextured) {
    ImportedModel m = boxModel();
    ImportedImage color;
    color.name = "c.png";
    color.width = 3;
    color.height = 2;
    color.channels = 3;
    color.bytes.assign(18, 100);
    ImportedImage broken;
    broken.name = "b.png";
    broken.problem = "no such file";
    m.images = {color, broken};
    m.materials[0].colorImage = 0;
    m.materials.push_back(m.materials[0]);
    m.materials[1].colorImage = 1;
    m.meshes.push_back(m.meshes[0]);
    m.meshes[1].material = 1;
    Scene scene;
    const ModelLoad out = buildModelScene(scene, m);
    ASSERT_EQ(out.warnings, std::vector<std::string>{"texture \"b.png\" cannot be read (no such file); drawn untextured"});
    ASSERT_EQ(scene.objects.size(), 2u);
    const Texture* t = scene.objects[0].colorTexture;
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->width, 4);
    EXPECT_EQ(t->height, 2);
    EXPECT_EQ(scene.objects[1].colorTexture, nullptr);
    EXPECT_EQ(scene.colorTexture, nullptr);
}

} // namespace

} // namespace rv
