#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "raster/clipping.h"

namespace rv {

namespace {

constexpr float nan = std::numeric_limits<float>::quiet_NaN();

// A vertex whose every attribute is a linear function of its clip coordinates,
// so an exact cut (t a power of two) must carry exactly these values.
Vertex vertexAt(const Vector4& c) {
    Vertex v;
    v.position = {2 * c.x, 2 * c.y, 2 * c.z, 2 * c.w};
    v.normal = {c.x, c.y, c.z + c.w};
    v.s = c.y - c.x;
    v.t = c.x + c.y;
    return v;
}

// One loop, vertices in index order, each one's prev the one before.
struct Loop {
    std::vector<Vertex> vertices;
    std::vector<Vector4> clip;
};

Loop loopOf(const std::vector<Vector4>& corners) {
    Loop loop;
    const int n = static_cast<int>(corners.size());
    for (int k = 0; k < n; ++k) {
        loop.vertices.push_back(vertexAt(corners[k]));
        loop.vertices.back().prev = k == 0 ? n - 1 : k - 1;
        loop.clip.push_back(corners[k]);
    }
    return loop;
}

bool sameBits(float a, float b) { return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b); }

bool sameBits(const Vector4& a, const Vector4& b) {
    return sameBits(a.x, b.x) && sameBits(a.y, b.y) && sameBits(a.z, b.z) && sameBits(a.w, b.w);
}

bool sameBits(const Vertex& a, const Vertex& b) {
    const float fa[] = {a.position.x, a.position.y, a.position.z, a.position.w, a.normal.x, a.normal.y,
                        a.normal.z,   a.s,          a.t};
    const float fb[] = {b.position.x, b.position.y, b.position.z, b.position.w, b.normal.x, b.normal.y,
                        b.normal.z,   b.s,          b.t};
    for (size_t i = 0; i < std::size(fa); ++i)
        if (!sameBits(fa[i], fb[i])) return false;
    return a.prev == b.prev;
}

std::string describe(const Vector4& c) {
    return "(" + std::to_string(c.x) + ", " + std::to_string(c.y) + ", " + std::to_string(c.z) + ", " +
           std::to_string(c.w) + ")";
}

// With w = 1 the near plane is z = -1 and the far plane z = 1; z = -2 and z = 2
// lie as far outside as z = 0 lies inside, so most cuts are halfway.
struct ClipCase {
    const char* name;
    std::vector<Vector4> in;
    std::vector<Vector4> out;
};

void PrintTo(const ClipCase& c, std::ostream* os) { *os << c.name; }

class ClipLoops : public ::testing::TestWithParam<ClipCase> {};

TEST_P(ClipLoops, GiveTheseVerticesInThisOrderAsOneClosedLoop) {
    const ClipCase& c = GetParam();
    const Loop loop = loopOf(c.in);
    PolygonClipper clipper;
    clipper.clip(loop.vertices, loop.clip);
    ASSERT_EQ(clipper.vertices.size(), clipper.clipSpace.size());
    ASSERT_EQ(clipper.clipSpace.size(), c.out.size());
    const int n = static_cast<int>(c.out.size());
    for (int k = 0; k < n; ++k) {
        SCOPED_TRACE("vertex " + std::to_string(k) + ", expected at " + describe(c.out[k]));
        EXPECT_EQ(clipper.clipSpace[k], c.out[k]) << "got " << describe(clipper.clipSpace[k]);
        Vertex expected = vertexAt(c.out[k]);
        expected.prev = k == 0 ? n - 1 : k - 1;
        EXPECT_TRUE(sameBits(clipper.vertices[k], expected));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ClipLoops,
    ::testing::Values(
        ClipCase{"AllInside", {{0, 0, 0, 1}, {1, 0, 0.5f, 1}, {1, 1, 0, 1}, {0, 1, -0.5f, 1}},
                 {{0, 0, 0, 1}, {1, 0, 0.5f, 1}, {1, 1, 0, 1}, {0, 1, -0.5f, 1}}},
        // The cut of the side coming in comes first, then that of the side going out.
        ClipCase{"OneBehindNearGivesAPentagon", {{0, 0, -2, 1}, {1, 0, 0, 1}, {1, 1, 0, 1}, {0, 1, 0, 1}},
                 {{0, 0.5f, -1, 1}, {0.5f, 0, -1, 1}, {1, 0, 0, 1}, {1, 1, 0, 1}, {0, 1, 0, 1}}},
        ClipCase{"TwoBehindNearGiveAQuad", {{0, 0, -2, 1}, {1, 0, -2, 1}, {1, 1, 0, 1}, {0, 1, 0, 1}},
                 {{0, 0.5f, -1, 1}, {1, 0.5f, -1, 1}, {1, 1, 0, 1}, {0, 1, 0, 1}}},
        ClipCase{"AllBehindNearGivesNothing", {{0, 0, -2, 1}, {1, 0, -3, 1}, {1, 1, -2, 1}}, {}},
        ClipCase{"AllBeyondFarGivesNothing", {{0, 0, 2, 1}, {1, 0, 3, 1}, {1, 1, 2, 1}}, {}},
        // Behind the eye w < 0, and a projection puts z below -w there.
        ClipCase{"BehindTheEyeIsOutside", {{0, 0, -2, -1}, {1, 0, 0, 1}, {1, 1, 0, 1}},
                 {{0.75f, 0.75f, -0.5f, 0.5f}, {0.75f, 0, -0.5f, 0.5f}, {1, 0, 0, 1}, {1, 1, 0, 1}}},
        // Near first, then far on what the near plane left.
        ClipCase{"CrossingBothPlanes", {{0, 0, -2, 1}, {1, 0, 0, 1}, {1, 1, 2, 1}, {0, 1, 0, 1}},
                 {{0, 0.5f, -1, 1}, {0.5f, 0, -1, 1}, {1, 0, 0, 1}, {1, 0.5f, 1, 1}, {0.5f, 1, 1, 1}, {0, 1, 0, 1}}},
        // A vertex at distance 0 is inside and is its own cut: no second copy of it.
        ClipCase{"OnTheNearPlaneIsInsideAndNotDoubled", {{0, 0, -1, 1}, {1, 0, -2, 1}, {1, 1, 0, 1}, {0, 1, 0, 1}},
                 {{0, 0, -1, 1}, {1, 0.5f, -1, 1}, {1, 1, 0, 1}, {0, 1, 0, 1}}},
        ClipCase{"OnTheFarPlaneIsInsideAndNotDoubled", {{0, 0, 1, 1}, {1, 0, 2, 1}, {1, 1, 0, 1}, {0, 1, 0, 1}},
                 {{0, 0, 1, 1}, {1, 0.5f, 1, 1}, {1, 1, 0, 1}, {0, 1, 0, 1}}},
        // A NaN corner has no place to cut towards: it leaves, with its two sides.
        ClipCase{"NaNDepthIsOutside", {{0, 0, nan, 1}, {1, 0, 0, 1}, {1, 1, 0, 1}, {0, 1, 0, 1}},
                 {{1, 0, 0, 1}, {1, 1, 0, 1}, {0, 1, 0, 1}}},
        ClipCase{"NaNWIsOutside", {{0, 0, 0, nan}, {1, 0, 0, 1}, {1, 1, 0, 1}, {0, 1, 0, 1}},
                 {{1, 0, 0, 1}, {1, 1, 0, 1}, {0, 1, 0, 1}}},
        // Only the corner on the plane survives: a single point is no polygon.
        ClipCase{"LeftDegenerateIsDropped", {{0, 0, -1, 1}, {1, 0, -2, 1}, {0, 1, -2, 1}}, {}}),
    [](const ::testing::TestParamInfo<ClipCase>& info) { return std::string(info.param.name); });

TEST(ClipCut, CarriesEveryAttributeFromTheInsideEnd) {
    // d = z + w: 1 inside, -3 outside, so the cut lies a quarter of the way along.
    Loop loop = loopOf({{1, 2, 0, 1}, {5, -2, -4, 1}, {1, 6, 0, 1}});
    Vertex& in = loop.vertices[0];
    Vertex& out = loop.vertices[1];
    in.position = {0.5f, 1, 8, 2};
    out.position = {4.5f, -3, 0, 6};
    in.normal = {0, 0, 1};
    out.normal = {-4, 8, 5};
    in.s = 0.25f, in.t = 1;
    out.s = 1.25f, out.t = -3;
    PolygonClipper clipper;
    clipper.clip(loop.vertices, loop.clip);
    // Order: vertex 0, the cut going out to vertex 1, the cut coming back from it, vertex 2.
    ASSERT_EQ(clipper.vertices.size(), 4u);
    EXPECT_EQ(clipper.clipSpace[1], (Vector4{2, 1, -1, 1}));
    const Vertex& cut = clipper.vertices[1];
    EXPECT_EQ(cut.position, (Vector4{1.5f, 0, 6, 3}));
    EXPECT_EQ(cut.normal, (Vector3{-1, 2, 2}));
    EXPECT_EQ(cut.s, 0.5f);
    EXPECT_EQ(cut.t, 0);
    EXPECT_EQ(cut.prev, 0);
    EXPECT_EQ(clipper.clipSpace[2], (Vector4{2, 4, -1, 1}));
}

// Both triangles of a quad split along a diagonal that crosses the near plane
// walk the diagonal in opposite directions. Each must cut it at the same bits.
TEST(ClipCut, ASharedSideIsCutAtTheSameBitsFromBothSides) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> any(-3, 3), ahead(0.2f, 3);
    for (int i = 0; i < 200; ++i) {
        // a behind the near plane (z < -w), b, c, d ahead of it and before the far plane.
        const float aw = ahead(random);
        const Vector4 a{any(random), any(random), -aw - ahead(random), aw};
        auto front = [&] {
            const float w = ahead(random) + 1;
            return Vector4{any(random), any(random), any(random) * w / 3.5f, w};
        };
        const Vector4 b = front(), c = front(), d = front();
        Loop one = loopOf({a, b, c}), other = loopOf({a, c, d});
        PolygonClipper first, second;
        first.clip(one.vertices, one.clip);
        second.clip(other.vertices, other.clip);
        ASSERT_EQ(first.vertices.size(), 4u);
        ASSERT_EQ(second.vertices.size(), 4u);
        // Output orders: (cut c-a, cut a-b, b, c) and (cut d-a, cut a-c, c, d).
        EXPECT_TRUE(sameBits(first.clipSpace[0], second.clipSpace[1])) << "case " << i;
        Vertex fromSecond = second.vertices[1];
        fromSecond.prev = first.vertices[0].prev;
        EXPECT_TRUE(sameBits(first.vertices[0], fromSecond)) << "case " << i;
    }
}

TEST(ClipPolygon, WhollyInsideComesBackUnchangedWhateverItsLoops) {
    // Two loops, the second linked against the order of its indices: nothing for the
    // clipper to reorder when nothing needs cutting.
    Loop loop = loopOf({{0, 0, 0, 1}, {1, 0, 0, 1}, {1, 1, 0, 1}, {0, 1, 0.5f, 1}, {0.2f, 0.2f, 0, 1},
                        {0.6f, 0.2f, 0, 1}, {0.4f, 0.6f, 0, 1}});
    loop.vertices[0].prev = 3;
    loop.vertices[4].prev = 5;
    loop.vertices[5].prev = 6;
    loop.vertices[6].prev = 4;
    PolygonClipper clipper;
    clipper.clip(loop.vertices, loop.clip);
    ASSERT_EQ(clipper.vertices.size(), loop.vertices.size());
    for (size_t k = 0; k < loop.vertices.size(); ++k) {
        EXPECT_TRUE(sameBits(clipper.vertices[k], loop.vertices[k])) << k;
        EXPECT_EQ(clipper.clipSpace[k], loop.clip[k]) << k;
    }
}

TEST(ClipPolygon, ClipsEachLoopOnItsOwnAndLaysThemOutInTurn) {
    // An outline with one corner behind the near plane, a hole wholly inside and a
    // loop wholly behind; the clipper is reused from a polygon that left more vertices.
    Loop big = loopOf({{-1, -1, 0, 1}, {1, -1, 0, 1}, {1, 1, 0, 1}, {0, 2, 0, 1}, {-1, 1, 0, 1}, {-2, 0, 0, 1}});
    PolygonClipper clipper;
    big.clip[0].z = -2;
    clipper.clip(big.vertices, big.clip);
    ASSERT_EQ(clipper.vertices.size(), 7u);

    std::vector<Vertex> vertices;
    std::vector<Vector4> clip;
    auto addLoop = [&](const std::vector<Vector4>& corners) {
        const Loop loop = loopOf(corners);
        const int base = static_cast<int>(vertices.size());
        for (Vertex v : loop.vertices) {
            v.prev += base;
            vertices.push_back(v);
        }
        clip.insert(clip.end(), loop.clip.begin(), loop.clip.end());
    };
    addLoop({{0, 0, -2, 1}, {1, 0, 0, 1}, {1, 1, 0, 1}, {0, 1, 0, 1}});
    addLoop({{0.2f, 0.2f, 0, 1}, {0.6f, 0.2f, 0, 1}, {0.4f, 0.6f, 0, 1}});
    addLoop({{0, 0, -3, 1}, {1, 0, -3, 1}, {1, 1, -3, 1}});
    clipper.clip(vertices, clip);

    const std::vector<Vector4> expected = {{0, 0.5f, -1, 1}, {0.5f, 0, -1, 1}, {1, 0, 0, 1},       {1, 1, 0, 1},
                                           {0, 1, 0, 1},     {0.2f, 0.2f, 0, 1}, {0.6f, 0.2f, 0, 1}, {0.4f, 0.6f, 0, 1}};
    const std::vector<int> prev = {4, 0, 1, 2, 3, 7, 5, 6};
    ASSERT_EQ(clipper.clipSpace, expected);
    for (size_t k = 0; k < expected.size(); ++k) EXPECT_EQ(clipper.vertices[k].prev, prev[k]) << k;
}

} // namespace

} // namespace rv
