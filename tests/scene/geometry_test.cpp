#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "scene/scene.h"

namespace rv {

namespace {

class GeometryTest : public ::testing::Test {
protected:
    const std::vector<Vertex>& lastLoop() const { return scene.objects.back().polygons.back().vertices; }

    static std::vector<int> prevLinks(const std::vector<Vertex>& loop) {
        std::vector<int> links;
        for (const Vertex& v : loop) links.push_back(v.prev);
        return links;
    }

    Scene scene;
};

template <typename Operation>
void expectLogicErrorNaming(Operation operation, const std::string& name) {
    try {
        operation();
        FAIL() << name << " with a violated precondition returned";
    } catch (const std::logic_error& e) {
        EXPECT_NE(std::string(e.what()).find(name), std::string::npos) << e.what();
    }
}

TEST_F(GeometryTest, PrevLinksRunBackwardsAndCloseAtTheFirstVertex) {
    const std::vector<std::vector<int>> expected = {{0}, {1, 0}, {2, 0, 1}, {3, 0, 1, 2}, {4, 0, 1, 2, 3}};
    scene.beginObject();
    for (const std::vector<int>& links : expected) {
        scene.beginPolygon();
        for (size_t i = 0; i < links.size(); ++i) scene.addVertex(static_cast<float>(i), 0, 0);
        EXPECT_EQ(prevLinks(lastLoop()), links);
    }
    // Each polygon keeps its own loop after later ones are built.
    const auto& polygons = scene.objects[0].polygons;
    ASSERT_EQ(polygons.size(), expected.size());
    for (size_t p = 0; p < expected.size(); ++p) EXPECT_EQ(prevLinks(polygons[p].vertices), expected[p]);
}

TEST_F(GeometryTest, SuccessiveBeginPolygonsLeaveAnEmptyPolygon) {
    scene.beginObject();
    scene.beginPolygon();
    scene.beginPolygon();
    scene.addVertex(1, 2, 3);
    const auto& polygons = scene.objects[0].polygons;
    ASSERT_EQ(polygons.size(), 2u);
    EXPECT_TRUE(polygons[0].vertices.empty());
    EXPECT_EQ(prevLinks(polygons[1].vertices), std::vector<int>{0});
}

TEST_F(GeometryTest, VerticesGoToTheLastObject) {
    scene.beginObject();
    scene.beginPolygon();
    scene.addVertex(0, 0, 0);
    scene.beginObject();
    scene.beginPolygon();
    scene.addVertex(1, 0, 0);
    scene.addVertex(2, 0, 0);
    ASSERT_EQ(scene.objects.size(), 2u);
    EXPECT_EQ(scene.objects[0].polygons[0].vertices.size(), 1u);
    EXPECT_EQ(prevLinks(scene.objects[1].polygons[0].vertices), (std::vector<int>{1, 0}));
}

TEST_F(GeometryTest, PreconditionViolationsNameTheOperation) {
    expectLogicErrorNaming([&] { scene.beginPolygon(); }, "beginPolygon");
    expectLogicErrorNaming([&] { scene.addVertex(0, 0, 0); }, "addVertex");
    EXPECT_TRUE(scene.objects.empty());
    scene.beginObject();
    expectLogicErrorNaming([&] { scene.addVertex(0, 0, 0); }, "addVertex");
    EXPECT_TRUE(scene.objects[0].polygons.empty());
}

TEST_F(GeometryTest, BuildSquareMapsTheWholeTextureOnce) {
    buildSquare(scene, 2, 1);
    ASSERT_EQ(scene.objects.size(), 1u);
    ASSERT_EQ(scene.objects[0].polygons.size(), 1u);
    const auto& vertices = lastLoop();
    ASSERT_EQ(vertices.size(), 4u);
    struct Corner {
        Vector4 position;
        float s, t;
        int prev;
    };
    const Corner corners[] = {
        {{-1, -0.5f, 0, 1}, 0, 0, 3}, {{1, -0.5f, 0, 1}, 1, 0, 0}, {{1, 0.5f, 0, 1}, 1, 1, 1}, {{-1, 0.5f, 0, 1}, 0, 1, 2}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(vertices[i].position, corners[i].position);
        EXPECT_EQ(vertices[i].normal, (Vector3{0, 0, 1}));
        EXPECT_EQ(vertices[i].s, corners[i].s);
        EXPECT_EQ(vertices[i].t, corners[i].t);
        EXPECT_EQ(vertices[i].prev, corners[i].prev);
    }
}

// Positions transform as points and keep w; normals as directions, not renormalised.
TEST_F(GeometryTest, ConstructionMatrixTransformsPositionsAndNormals) {
    struct Case {
        const char* name;
        Matrix4 construction;
        Vector3 point;
        Vector4 position;
        Vector3 normal;
    };
    const Case cases[] = {
        {"translation", fromRows({1, 0, 0, 1}, {0, 1, 0, 2}, {0, 0, 1, 3}, {0, 0, 0, 1}), {0, 0, 0}, {1, 2, 3, 1},
         {0.6f, 0, 0.8f}},
        {"uniform scale", fromRows({2, 0, 0, 0}, {0, 2, 0, 0}, {0, 0, 2, 0}, {0, 0, 0, 1}), {1, 2, 3}, {2, 4, 6, 1},
         {1.2f, 0, 1.6f}},
        {"projective", fromRows({1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 1, 1}), {1, 2, 2}, {1, 2, 2, 3},
         {0.6f, 0, 0.8f}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        scene.construction.current = c.construction;
        scene.setNormal(3, 0, 4);
        scene.beginObject();
        scene.beginPolygon();
        scene.addVertex(c.point.x, c.point.y, c.point.z);
        EXPECT_EQ(lastLoop()[0].position, c.position);
        EXPECT_EQ(lastLoop()[0].normal, c.normal);
    }
    EXPECT_FLOAT_EQ(length(scene.objects[1].polygons[0].vertices[0].normal), 2);
}

TEST_F(GeometryTest, ConstructionStackRotatesNormals) {
    scene.construction.rotateZ(90);
    scene.setNormal(1, 0, 0);
    scene.beginObject();
    scene.beginPolygon();
    scene.addVertex(2, 0, 0);
    const Vertex& v = lastLoop()[0];
    EXPECT_NEAR(v.position.x, 0, 1e-5f);
    EXPECT_EQ(v.position.y, 2);
    EXPECT_NEAR(v.normal.x, 0, 1e-5f);
    EXPECT_EQ(v.normal.y, 1);
    EXPECT_EQ(v.normal.z, 0);
}

TEST_F(GeometryTest, ObjectKeepsTheMaterialCurrentWhenBegun) {
    Texture color, bump, environment;
    scene.setMaterial({1, 0, 0, 1}, {0, 1, 0, 1}, 7);
    scene.setTextures(&color, &bump, &environment);
    scene.beginObject();
    scene.setMaterial({0, 0, 1, 1}, {1, 1, 1, 1}, 9);
    scene.setTextures(nullptr, nullptr, nullptr);
    const SceneObject& object = scene.objects[0];
    EXPECT_EQ(object.diffuse, (Color{1, 0, 0, 1}));
    EXPECT_EQ(object.specular, (Color{0, 1, 0, 1}));
    EXPECT_EQ(object.shininess, 7);
    EXPECT_EQ(object.colorTexture, &color);
    EXPECT_EQ(object.bumpMap, &bump);
    EXPECT_EQ(object.environmentMap, &environment);
}

TEST_F(GeometryTest, VertexKeepsTheNormalAndTexCoordCurrentWhenAdded) {
    scene.beginObject();
    scene.beginPolygon();
    scene.setTexCoord(0.25f, 0.75f);
    scene.setNormal(0, 1, 0);
    scene.addVertex(0, 0, 0);
    scene.setTexCoord(1, 1);
    scene.setNormal(1, 0, 0);
    const Vertex& v = lastLoop()[0];
    EXPECT_EQ(v.s, 0.25f);
    EXPECT_EQ(v.t, 0.75f);
    EXPECT_EQ(v.normal, (Vector3{0, 1, 0}));
}

} // namespace

} // namespace rv
