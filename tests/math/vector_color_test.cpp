#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <type_traits>

#include <gtest/gtest.h>

#include "math/color.h"
#include "math/vector3.h"
#include "math/vector4.h"

namespace rv {

// The rasterizer copies these per pixel and OpenGL reads a Color as four floats.
static_assert(std::is_trivially_copyable_v<Vector3> && std::is_trivially_copyable_v<Vector4> &&
              std::is_trivially_copyable_v<Color>);
static_assert(sizeof(Vector3) == 3 * sizeof(float));
static_assert(sizeof(Vector4) == 4 * sizeof(float) && sizeof(Color) == 4 * sizeof(float));
static_assert(std::is_empty_v<ZeroDivide>);

namespace {

void expectVector(const Vector3& v, float x, float y, float z) {
    EXPECT_EQ(v.x, x);
    EXPECT_EQ(v.y, y);
    EXPECT_EQ(v.z, z);
}

void expectColor(const Color& c, float r, float g, float b, float a, float tolerance = 0) {
    EXPECT_NEAR(c.r, r, tolerance);
    EXPECT_NEAR(c.g, g, tolerance);
    EXPECT_NEAR(c.b, b, tolerance);
    EXPECT_EQ(c.a, a);
}

TEST(Vector3Test, CompoundOperatorsChangeAndReturnTheLeftOperand) {
    Vector3 a{1, 2, 3};
    (a += {1, 1, 1}) *= 2;
    expectVector(a, 4, 6, 8);
    (a -= {4, 2, 0}) /= 2;
    expectVector(a, 0, 2, 4);
    expectVector(Vector3{1, 2, 3} - Vector3{3, 2, 1}, -2, 0, 2);
    expectVector(Vector3{1, 2, 3} + Vector3{3, 2, 1}, 4, 4, 4);
    expectVector(Vector3{1, 2, 3} * 0.5f, 0.5f, 1, 1.5f);
    expectVector(Vector3{1, 2, 3} / 4, 0.25f, 0.5f, 0.75f);
}

TEST(Vector3Test, CrossIsRightHanded) {
    struct Case {
        Vector3 a, b, expected;
    };
    const Case cases[] = {
        {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
        {{0, 1, 0}, {0, 0, 1}, {1, 0, 0}},
        {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}},
        {{0, 1, 0}, {1, 0, 0}, {0, 0, -1}},
        {{1, 2, 3}, {4, 5, 6}, {-3, 6, -3}},
    };
    for (const Case& c : cases) EXPECT_EQ(cross(c.a, c.b), c.expected);
}

TEST(Vector3Test, DotOfSelfIsSquaredLength) {
    EXPECT_EQ(dot({1, 2, 3}, {4, -5, 6}), 12);
    for (const Vector3 v : {Vector3{0, 3, 4}, Vector3{1, 1, 1}, Vector3{-0.3f, 7.5f, 1e-3f}}) {
        const float len = length(v);
        EXPECT_FLOAT_EQ(dot(v, v), len * len);
    }
    EXPECT_EQ(length({0, 3, 4}), 5);
}

TEST(Vector3Test, NormalizeDividesByLength) {
    Vector3 v{0, 3, 4};
    normalize(v);
    expectVector(v, 0, 0.6f, 0.8f);
    v = {0, 0, -2};
    normalize(v);
    expectVector(v, 0, 0, -1);
}

TEST(Vector3Test, NormalizedLeavesItsArgumentUnchanged) {
    const Vector3 v{0, 3, 4};
    expectVector(normalized(v), 0, 0.6f, 0.8f);
    expectVector(v, 0, 3, 4);
}

TEST(Vector3Test, ZeroLengthRaisesZeroDivideAndChangesNothing) {
    // 1e-30 squared underflows in float, so its length is exactly 0 too.
    for (const Vector3 zero : {Vector3{0, 0, 0}, Vector3{-0.0f, 0, 0}, Vector3{1e-30f, 0, 0}}) {
        Vector3 v = zero;
        EXPECT_THROW(normalize(v), ZeroDivide);
        EXPECT_EQ(std::memcmp(&v, &zero, sizeof v), 0);
        EXPECT_THROW(normalized(zero), ZeroDivide);
    }
}

TEST(Vector3Test, NotANumberLengthDoesNotRaise) {
    Vector3 v{std::numeric_limits<float>::quiet_NaN(), 0, 0};
    EXPECT_NO_THROW(normalize(v));
    EXPECT_TRUE(std::isnan(v.x));
}

TEST(ColorTest, DefaultsAreOpaque) {
    expectColor(Color{}, 0, 0, 0, 1);
    const Vector4 v;
    EXPECT_EQ(v, (Vector4{0, 0, 0, 1}));
    expectVector(Vector3{}, 0, 0, 0);
}

TEST(ColorTest, ArithmeticIncludesAlpha) {
    const Color grey{0.5f, 0.5f, 0.5f, 1};
    EXPECT_EQ(grey * 2, (Color{1, 1, 1, 2}));
    EXPECT_EQ(2 * grey, (Color{1, 1, 1, 2}));
    EXPECT_EQ((grey + Color{0.25f, 0, 0.5f, 1}), (Color{0.75f, 0.5f, 1, 2}));
    EXPECT_EQ(modulate(Color{0.5f, 2, 1, 0.5f}, Color{0.5f, 0.25f, 0, 0.5f}), (Color{0.25f, 0.5f, 0, 0.25f}));

    const Vector4 v{0.5f, 0.5f, 0.5f, 1};
    EXPECT_EQ(v * 2, (Vector4{1, 1, 1, 2}));
    EXPECT_EQ(2 * v, (Vector4{1, 1, 1, 2}));
    EXPECT_EQ((v + Vector4{0.25f, 0, 0.5f, 1}), (Vector4{0.75f, 0.5f, 1, 2}));
    EXPECT_EQ(modulate(Vector4{0.5f, 2, 1, 0.5f}, Vector4{0.5f, 0.25f, 0, 0.5f}), (Vector4{0.25f, 0.5f, 0, 0.25f}));
}

TEST(ColorTest, SetReturnsTheValueItself) {
    Color c;
    EXPECT_EQ(&c.set(0.1f, 0.2f, 0.3f, 0.4f), &c);
    expectColor(c, 0.1f, 0.2f, 0.3f, 0.4f);
    Vector4 v;
    EXPECT_EQ(&v.set(1, 2, 3, 4), &v);
    EXPECT_EQ(v, (Vector4{1, 2, 3, 4}));
}

TEST(ColorTest, ColorAndVector4ShareTheirLayout) {
    const Color c{0.1f, 0.2f, 0.3f, 0.4f};
    EXPECT_EQ(std::bit_cast<Vector4>(c), (Vector4{0.1f, 0.2f, 0.3f, 0.4f}));
    EXPECT_EQ(c.data()[0], 0.1f);
    EXPECT_EQ(c.data()[3], 0.4f);
}

// With s = 0.5, v = 0.8 and f = 0.25 the four candidates are distinct:
// v = 0.8, p = 0.4, q = 0.7, t = 0.5, so every row shows which sector was chosen.
TEST(ColorTest, FromHSVChoosesTheSectorByTruncatedHue) {
    struct Case {
        const char* name;
        float h, s, v, a;
        float r, g, b, alpha;
    };
    const Case cases[] = {
        {"i=0", 0.25f / 6, 0.5f, 0.8f, 0.5f, 0.8f, 0.5f, 0.4f, 0.5f},
        {"i=1", 1.25f / 6, 0.5f, 0.8f, 0.5f, 0.7f, 0.8f, 0.4f, 0.5f},
        {"i=2", 2.25f / 6, 0.5f, 0.8f, 0.5f, 0.4f, 0.8f, 0.5f, 0.5f},
        {"i=3", 3.25f / 6, 0.5f, 0.8f, 0.5f, 0.4f, 0.7f, 0.8f, 0.5f},
        {"i=4", 4.25f / 6, 0.5f, 0.8f, 0.5f, 0.5f, 0.4f, 0.8f, 0.5f},
        {"i=5", 5.25f / 6, 0.5f, 0.8f, 0.5f, 0.8f, 0.4f, 0.7f, 0.5f},
        // h = 1: i = 6 wraps to the first sector, f = 0 so green is p.
        {"i=6", 1, 0.5f, 0.8f, 0.5f, 0.8f, 0.4f, 0.4f, 0.5f},
        {"i=6, f=0.25", 6.25f / 6, 0.5f, 0.8f, 0.5f, 0.8f, 0.5f, 0.4f, 0.5f},
        {"i=12", 2, 1, 1, 0.5f, 1, 0, 0, 0.5f},
        // No sector: opaque black, and the alpha argument is ignored.
        {"i=7", 7.25f / 6, 0.5f, 0.8f, 0.5f, 0, 0, 0, 1},
        {"i=9", 1.5f, 1, 1, 0.5f, 0, 0, 0, 1},
        {"huge hue", 1e10f, 1, 1, 0.5f, 0, 0, 0, 1},
        {"NaN hue", std::numeric_limits<float>::quiet_NaN(), 1, 1, 0.5f, 0, 0, 0, 1},
        // Zero saturation is grey whatever the hue, even one with no sector.
        {"s=0", 0.3f, 0, 0.7f, 0.25f, 0.7f, 0.7f, 0.7f, 0.25f},
        {"s=0, i=9", 1.5f, 0, 0.7f, 0.25f, 0.7f, 0.7f, 0.7f, 0.25f},
        {"s=0, NaN hue", std::numeric_limits<float>::quiet_NaN(), 0, 0.7f, 0.25f, 0.7f, 0.7f, 0.7f, 0.25f},
        {"white", 0, 0, 1, 1, 1, 1, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        expectColor(fromHSV(c.h, c.s, c.v, c.a), c.r, c.g, c.b, c.alpha, 1e-6f);
    }
}

TEST(ColorTest, FromHSVGivesTheSceneColours) {
    const Color orange = fromHSV(0.083f, 0.75f, 0.8f, 1);
    EXPECT_EQ(orange.r, 0.8f);
    EXPECT_NEAR(orange.g, 0.4988f, 1e-4f);
    EXPECT_EQ(orange.b, 0.2f);
    EXPECT_EQ(orange.a, 1);
    expectColor(fromHSV(0.125f, 0.1f, 0.8f, 1), 0.8f, 0.78f, 0.72f, 1, 1e-6f);
}

} // namespace

} // namespace rv
