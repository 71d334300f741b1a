#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "math/matrix_stack.h"

namespace rv {

namespace {

// cos and sin of 90 degrees with pi taken as 3.14159 and the angle rounded to
// float before the cosine: not 0, and not the 1.3268e-6 of the unrounded angle.
constexpr float cos90 = 0x1.54442ep-20f;
constexpr float sin90 = 1;

Matrix4 translation(float x, float y, float z) { return fromRows({1, 0, 0, x}, {0, 1, 0, y}, {0, 0, 1, z}, {0, 0, 0, 1}); }

void expectNear(const Vector4& actual, const Vector4& expected, float tolerance) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
    EXPECT_NEAR(actual.w, expected.w, tolerance);
}

TEST(MatrixStackTest, NewStackIsIdentityAndCannotPop) {
    MatrixStack stack;
    EXPECT_EQ(stack.current, identity());
    EXPECT_EQ(stack.inverse, identity());
    EXPECT_TRUE(stack.saved.empty());
    try {
        stack.pop();
        FAIL() << "pop on an empty stack returned";
    } catch (const std::logic_error& e) {
        EXPECT_NE(std::string(e.what()).find("pop"), std::string::npos) << e.what();
    }
    EXPECT_EQ(stack.current, identity());
}

TEST(MatrixStackTest, PopRestoresInLastInFirstOutOrder) {
    MatrixStack stack;
    stack.push();
    stack.translate(1, 2, 3);
    EXPECT_EQ(stack.current, translation(1, 2, 3));
    stack.push();
    stack.translate(1, 1, 1);
    EXPECT_EQ(stack.saved.size(), 2u);
    stack.pop();
    EXPECT_EQ(stack.current, translation(1, 2, 3));
    stack.pop();
    EXPECT_EQ(stack.current, identity());
    EXPECT_TRUE(stack.saved.empty());
}

TEST(MatrixStackTest, InverseChangesOnlyInUpdateInverse) {
    MatrixStack stack;
    stack.translate(1, 2, 3);
    EXPECT_EQ(stack.inverse, identity());
    stack.updateInverse();
    EXPECT_EQ(stack.inverse, translation(-1, -2, -3));
    stack.push();
    stack.rotateX(30);
    stack.reset();
    EXPECT_EQ(stack.current, identity());
    EXPECT_TRUE(stack.saved.empty());
    EXPECT_EQ(stack.inverse, translation(-1, -2, -3));
}

TEST(MatrixStackTest, UpdateInverseKeepsThePreviousInverseWhenSingular) {
    MatrixStack stack;
    stack.translate(1, 2, 3);
    stack.updateInverse();
    stack.current = fromRows({1, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1});
    stack.updateInverse();
    EXPECT_EQ(stack.inverse, translation(-1, -2, -3));
}

TEST(MatrixStackTest, RotateZ90UsesTheRoundedAngle) {
    MatrixStack stack;
    stack.rotateZ(90);
    EXPECT_EQ(stack.current, fromRows({cos90, -sin90, 0, 0}, {sin90, cos90, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}));
    EXPECT_EQ(stack.transformPoint({1, 0, 0, 1}), (Vector4{cos90, 1, 0, 1}));
}

TEST(MatrixStackTest, RotateX90TurnsYTowardsZ) {
    MatrixStack stack;
    stack.rotateX(90);
    EXPECT_EQ(stack.transformPoint({0, 1, 0, 1}), (Vector4{0, cos90, 1, 1}));
    EXPECT_EQ(stack.transformPoint({0, 0, 1, 1}), (Vector4{0, -1, cos90, 1}));
}

TEST(MatrixStackTest, TransformsApplyInReverseOrderOfCalls) {
    for (const float angle : {0.0f, 37.0f, 90.0f, -200.0f}) {
        MatrixStack stack;
        stack.translate(0, 0, -3);
        stack.rotateX(angle);
        EXPECT_EQ(stack.transformPoint({0, 0, 0, 1}), (Vector4{0, 0, -3, 1})) << angle;
    }
    MatrixStack stack;
    stack.translate(0, 0, -3);
    stack.rotateX(90);
    expectNear(stack.transformPoint({0, 1, 0, 1}), {0, 0, -2, 1}, 1e-5f);

    // The other order rotates the translated point.
    MatrixStack reversed;
    reversed.rotateX(90);
    reversed.translate(0, 0, -3);
    expectNear(reversed.transformPoint({0, 0, 0, 1}), {0, 3, 0, 1}, 1e-5f);
}

TEST(MatrixStackTest, EveryTransformMultipliesOnTheRight) {
    struct Case {
        const char* name;
        void (*apply)(MatrixStack&);
    };
    const Case cases[] = {
        {"rotateX", [](MatrixStack& m) { m.rotateX(33); }},
        {"rotateZ", [](MatrixStack& m) { m.rotateZ(-71); }},
        {"translate", [](MatrixStack& m) { m.translate(4, -5, 6); }},
        {"perspective", [](MatrixStack& m) { m.perspective(0.5f, 0.25f, 1, 10); }},
    };
    const Matrix4 start = fromRows({2, -1, 0.5f, 3}, {0.25f, 4, 1, -2}, {1, 1, 3, 0}, {0, 0.5f, -1, 1});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MatrixStack alone;
        c.apply(alone);
        MatrixStack stack;
        stack.current = start;
        c.apply(stack);
        EXPECT_EQ(stack.current, start * alone.current);
    }
}

TEST(MatrixStackTest, PerspectiveMapsNearAndFarToTheDepthRange) {
    MatrixStack stack;
    stack.perspective(0.4f, 0.4f, 0.1f, 100);
    const Vector4 nearPoint = stack.transformPoint({0, 0, -0.1f, 1});
    const Vector4 farPoint = stack.transformPoint({0, 0, -100, 1});
    EXPECT_NEAR(nearPoint.z / nearPoint.w, -1, 1e-5f);
    EXPECT_NEAR(farPoint.z / farPoint.w, 1, 1e-5f);
    EXPECT_EQ(nearPoint.w, 0.1f);
    // The corner of the view at distance 5 lands on the corner of the clip square.
    const Vector4 corner = stack.transformPoint({2, -2, -5, 1});
    EXPECT_NEAR(corner.x / corner.w, 1, 1e-6f);
    EXPECT_NEAR(corner.y / corner.w, -1, 1e-6f);
}

TEST(MatrixStackTest, UpdateInverseRoundTrips) {
    MatrixStack perspective;
    perspective.reset();
    perspective.perspective(0.4f, 0.3f, 0.1f, 100);
    MatrixStack camera;
    camera.translate(0.5f, -0.25f, -3);
    camera.rotateX(-60);
    camera.rotateZ(25);
    for (MatrixStack* stack : {&perspective, &camera}) {
        stack->updateInverse();
        for (const Vector4 v : {Vector4{0, 0, -1, 1}, Vector4{0.3f, -0.2f, -7, 1}, Vector4{1, 2, 3, 0}}) {
            const Vector4 back = stack->transformByInverse(stack->transformPoint(v));
            expectNear(back, v, 1e-5f);
        }
    }
}

} // namespace

} // namespace rv
