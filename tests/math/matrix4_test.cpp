#include <cmath>

#include <gtest/gtest.h>

#include "math/matrix4.h"

namespace rv {

namespace {

Matrix4 translation(float x, float y, float z) { return fromRows({1, 0, 0, x}, {0, 1, 0, y}, {0, 0, 1, z}, {0, 0, 0, 1}); }

Matrix4 scale(float x, float y, float z) { return fromRows({x, 0, 0, 0}, {0, y, 0, 0}, {0, 0, z, 0}, {0, 0, 0, 1}); }

// Rows 1..16, so every element says where it sits.
const Matrix4 counting = fromRows({1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {13, 14, 15, 16});

// A value no correct operation produces, to see that a failed invert writes nothing.
Matrix4 sentinel() {
    Matrix4 m;
    for (float& e : m.m) e = 7.25f;
    return m;
}

void expectNear(const Matrix4& actual, const Matrix4& expected, float tolerance) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual.m[i], expected.m[i], tolerance) << "element " << i;
}

TEST(Matrix4Test, ElementsAreRowMajor) {
    EXPECT_EQ(counting(0, 3), 4);
    EXPECT_EQ(counting(3, 0), 13);
    EXPECT_EQ(counting.m[1 * 4 + 2], 7);
    EXPECT_EQ(Matrix4{}, identity());
    EXPECT_EQ(identity()(2, 2), 1);
    EXPECT_EQ(identity()(2, 3), 0);
}

TEST(Matrix4Test, TransformMultipliesAColumnVectorOnTheRight) {
    EXPECT_EQ(transform(counting, {1, 0, 0, 0}), (Vector4{1, 5, 9, 13}));
    EXPECT_EQ(transform(counting, {1, -1, 2, 0.5f}), (Vector4{7, 17, 27, 37}));
}

TEST(Matrix4Test, TranslationMovesPointsButNotDirections) {
    const Matrix4 t = translation(1, 2, 3);
    EXPECT_EQ(transform(t, {4, 5, 6, 1}), (Vector4{5, 7, 9, 1}));
    EXPECT_EQ(transform(t, {4, 5, 6, 0}), (Vector4{4, 5, 6, 0}));
    EXPECT_EQ(transform(t, {4, 5, 6, 2}), (Vector4{6, 9, 12, 2}));
}

TEST(Matrix4Test, ProductAppliesTheRightOperandFirst) {
    // Scale first, then translate: (1, 0, 0) -> (2, 0, 0) -> (3, 0, 0).
    EXPECT_EQ(transform(translation(1, 0, 0) * scale(2, 2, 2), {1, 0, 0, 1}), (Vector4{3, 0, 0, 1}));
    EXPECT_EQ(transform(scale(2, 2, 2) * translation(1, 0, 0), {1, 0, 0, 1}), (Vector4{4, 0, 0, 1}));
}

TEST(Matrix4Test, SelfProductSquares) {
    const Matrix4 squared =
        fromRows({90, 100, 110, 120}, {202, 228, 254, 280}, {314, 356, 398, 440}, {426, 484, 542, 600});
    EXPECT_EQ(counting * counting, squared);
    Matrix4 a = counting;
    a *= a;
    EXPECT_EQ(a, squared);
}

// 1e8 + 1 - 1e8 is 0 when summed in float but 1 when summed in double and rounded once.
TEST(Matrix4Test, ProductAndTransformRoundOnce) {
    const Matrix4 cancelling = fromRows({1e8f, 1, -1e8f, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1});
    Matrix4 ones;
    for (int r = 0; r < 4; ++r) ones(r, 0) = 1;
    EXPECT_EQ((cancelling * ones)(0, 0), 1);
    EXPECT_EQ(transform(cancelling, {1, 1, 1, 0}).x, 1);
}

TEST(Matrix4Test, ToColumnMajorTransposesTheStorage) {
    float out[16];
    toColumnMajor(translation(1, 2, 3), out);
    EXPECT_EQ(out[12], 1);
    EXPECT_EQ(out[13], 2);
    EXPECT_EQ(out[14], 3);
    EXPECT_EQ(out[3], 0);
    EXPECT_EQ(out[15], 1);

    toColumnMajor(counting, out);
    const float expected[16] = {1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15, 4, 8, 12, 16};
    for (int i = 0; i < 16; ++i) EXPECT_EQ(out[i], expected[i]) << "index " << i;
}

TEST(Matrix4Test, InvertIsExactOnSimpleMatrices) {
    struct Case {
        const char* name;
        Matrix4 src, expected;
    };
    const Case cases[] = {
        {"identity", identity(), identity()},
        {"translation", translation(1, 2, 3), translation(-1, -2, -3)},
        {"scale", scale(2, 4, 0.5f), scale(0.5f, 0.25f, 2)},
        // First column (0, 0, 0, 1): row 3 must become the first pivot.
        {"permutation",
         fromRows({0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}, {1, 0, 0, 0}),
         fromRows({0, 0, 0, 1}, {1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0})},
        {"scaled permutation with signs",
         fromRows({0, 0, 2, 0}, {0, -1, 0, 0}, {0, 0, 0, 4}, {0.5f, 0, 0, 0}),
         fromRows({0, 0, 0, 2}, {0, -1, 0, 0}, {0.5f, 0, 0, 0}, {0, 0, 0.25f, 0})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Matrix4 dst = sentinel();
        ASSERT_TRUE(invert(c.src, dst));
        EXPECT_EQ(dst, c.expected);
    }
}

TEST(Matrix4Test, InvertOfASingularMatrixReturnsFalseAndLeavesDst) {
    struct Case {
        const char* name;
        Matrix4 src;
    };
    const Case cases[] = {
        {"zero first row", fromRows({0, 0, 0, 0}, {1, 2, 3, 4}, {0, 1, 5, 2}, {3, 0, 1, 1})},
        {"zero last row", fromRows({1, 2, 3, 4}, {0, 1, 5, 2}, {3, 0, 1, 1}, {0, 0, 0, 0})},
        {"equal rows", fromRows({0.3f, 0.7f, -1.1f, 2}, {1, 2, 3, 4}, {0.5f, 0.25f, 9, 1}, {0.3f, 0.7f, -1.1f, 2})},
        {"zero first column", fromRows({0, 2, 3, 4}, {0, 1, 5, 2}, {0, 0, 1, 1}, {0, 7, 1, 1})},
        {"zero third column", fromRows({1, 2, 0, 4}, {0, 1, 0, 2}, {3, 0, 0, 1}, {2, 7, 0, 1})},
        {"all zero", fromRows({0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Matrix4 dst = sentinel();
        EXPECT_FALSE(invert(c.src, dst));
        EXPECT_EQ(dst, sentinel());
    }
}

// Only an exactly zero pivot is singular: a tiny one still inverts.
TEST(Matrix4Test, InvertHasNoTolerance) {
    Matrix4 dst;
    ASSERT_TRUE(invert(scale(1e-30f, 1, 1), dst));
    EXPECT_NEAR(dst(0, 0), 1e30f, 1e24f);
    EXPECT_EQ(dst(1, 1), 1);
}

TEST(Matrix4Test, InvertRoundTripsGeneralMatrices) {
    const Matrix4 cases[] = {
        fromRows({2, -1, 0.5f, 3}, {0.25f, 4, 1, -2}, {1, 1, 3, 0}, {0, 0.5f, -1, 1}),
        fromRows({0.1f, 0.9f, -0.4f, 0}, {0.7f, -0.2f, 0.3f, 5}, {-0.6f, 0.4f, 0.8f, -1}, {0, 0, 0, 1}),
        // A perspective projection: the last row is (0, 0, -1, 0).
        fromRows({2.5f, 0, 0, 0}, {0, 2.5f, 0, 0}, {0, 0, -1.002f, -0.2002f}, {0, 0, -1, 0}),
        // First column (0, 0, 0, x) with a general rest: pivoting and elimination together.
        fromRows({0, 3, 1, 2}, {0, -1, 4, 1}, {0, 2, 2, -3}, {5, 1, 0.5f, 1}),
    };
    for (const Matrix4& m : cases) {
        Matrix4 inv;
        ASSERT_TRUE(invert(m, inv));
        expectNear(m * inv, identity(), 1e-5f);
        expectNear(inv * m, identity(), 1e-5f);
        Matrix4 back;
        ASSERT_TRUE(invert(inv, back));
        expectNear(back, m, 1e-5f);
    }
}

} // namespace

} // namespace rv
