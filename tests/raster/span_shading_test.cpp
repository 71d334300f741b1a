// The vector shading against the scalar code that defines it: for every Highway
// target compiled in and supported here, the same image, depth and counters bit
// for bit.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "raster/frame_buffer.h"
#include "raster/frame_view.h"
#include "raster/material.h"
#include "raster/span.h"
#include "raster/span_shading.h"
#include "raster_fixtures.h"

namespace rv {

namespace {

struct View {
    const char* name;
    float tilt;
    float zoom;
    int width;
    int height;
    bool mipmapping = true;
};

void PrintTo(const View& v, std::ostream* out) { *out << v.name; }

// Seen 30 degrees off its axis from zoom 9.5 the square covers the whole frame, so
// every span is as wide as the frame.
constexpr float fillTilt = -30, fillZoom = 9.5f;

class EveryTarget : public ::testing::TestWithParam<View> {};

TEST_P(EveryTarget, DrawsTheScalarFrameBitForBit) {
    const View& v = GetParam();
    StartupScene startup;
    Scene& scene = startup.scene;
    setupView(scene, startSpin, v.tilt, v.zoom, v.width, v.height);
    scene.mipmapping = v.mipmapping;
    scene.simd = false;
    const FrameResult scalar = renderFrame(scene, v.width, v.height);
    scene.simd = true;
    for (const std::int64_t target : simdTargets()) {
        const TargetChoice choice(target);
        EXPECT_EQ(bitDifference(scalar, renderFrame(scene, v.width, v.height)), "") << targetName(target);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Views, EveryTarget,
    ::testing::Values(View{"startUp", startTilt, startZoom, 480, 480}, View{"fillingTheWindow", fillTilt, fillZoom, 480, 480},
                      View{"grazing", -84, 6, 480, 480}, View{"mipmappingOff", startTilt, startZoom, 480, 480, false},
                      View{"throughTheNearPlane", startTilt, 9.9f, 480, 480},
                      View{"behindTheEye", startTilt, 40, 480, 480},
                      // Spans shorter than, as long as and one longer than a group of 4, 8 and
                      // 16 lanes, and than a batch.
                      View{"spans3", fillTilt, fillZoom, 3, 3}, View{"spans4", fillTilt, fillZoom, 4, 4},
                      View{"spans5", fillTilt, fillZoom, 5, 5}, View{"spans7", fillTilt, fillZoom, 7, 7},
                      View{"spans8", fillTilt, fillZoom, 8, 8}, View{"spans9", fillTilt, fillZoom, 9, 9},
                      View{"spans15", fillTilt, fillZoom, 15, 15}, View{"spans16", fillTilt, fillZoom, 16, 16},
                      View{"spans17", fillTilt, fillZoom, 17, 17},
                      View{"spans129", fillTilt, fillZoom, shadingBatch + 1, shadingBatch + 1}),
    [](const ::testing::TestParamInfo<View>& info) { return std::string(info.param.name); });

TEST(EveryTargetViews, CoverWhatTheirNamesSay) {
    StartupScene startup;
    Scene& scene = startup.scene;
    for (const int side : {3, 17, shadingBatch + 1}) {
        setupView(scene, startSpin, fillTilt, fillZoom, side, side);
        EXPECT_EQ(renderFrame(scene, side, side).stats.fragmentsPlotted, side * side) << "spans as wide as the frame";
    }
    setupView(scene, startSpin, startTilt, 9.9f);
    EXPECT_GT(renderFrame(scene, 480, 480).stats.fragmentsPlotted, 0) << "part of the square in front of the eye";
}

// Hand-made spans on row 5 of a 16 x 16 frame, lit by one light.
struct HandMadeSpan {
    const char* name;
    float left;
    float right;
    Vector3 leftNormal{0, 0, 1};
    Vector3 rightNormal{0, 0, 1};
    // The column whose normal is exactly zero, or -1.
    int dropped = -1;
};

void PrintTo(const HandMadeSpan& s, std::ostream* out) { *out << s.name; }

class HandMadeSpans : public ::testing::TestWithParam<HandMadeSpan> {};

TEST_P(HandMadeSpans, ShadeAlikeOnEveryTarget) {
    const HandMadeSpan& span = GetParam();
    Scene scene = flatScene();
    scene.ambient = {0.2f, 0.2f, 0.2f, 1};
    scene.lights.push_back({{0.3f, -0.4f, 2}, {0.8f, 0.8f, 0.8f, 1}});
    VertexMaker v;
    Material material;
    material.specular = {0.5f, 0.5f, 0.5f, 1};
    material.shininess = 7;
    const Edge left(v.at(span.left, 0, 0.2f, span.leftNormal), v.at(span.left, 10, 0.2f, span.leftNormal));
    const Edge right(v.at(span.right, 0, 0.6f, span.rightNormal), v.at(span.right, 10, 0.6f, span.rightNormal));
    auto fill = [&] {
        FrameBuffer frame;
        MemoryImage image(16, 16);
        prepareFrame(frame, 16, 16, &image);
        fillSpan(scene, frame, 5, left, right, material);
        return captureFrame(frame, image);
    };
    scene.simd = false;
    const FrameResult scalar = fill();
    if (span.dropped >= 0) {
        EXPECT_EQ(scalar.depth[5 * 16 + span.dropped], FrameBuffer::empty);
        EXPECT_NE(scalar.depth[5 * 16 + span.dropped + 1], FrameBuffer::empty);
    }
    scene.simd = true;
    for (const std::int64_t target : simdTargets()) {
        const TargetChoice choice(target);
        EXPECT_EQ(bitDifference(scalar, fill()), "") << targetName(target);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, HandMadeSpans,
    ::testing::Values(HandMadeSpan{"startsLeftOfTheFrameAndEndsPastIt", -5.3f, 40.2f},
                      HandMadeSpan{"oneColumn", 6.8f, 7.6f}, HandMadeSpan{"oneColumnAtTheRightEdge", 14.6f, 15.7f},
                      HandMadeSpan{"lastColumnOfALongSpan", -200, 1}, HandMadeSpan{"fromTheLastColumnOn", 15, 90},
                      // Normals +z to -z over eight columns: column 4 of them gets exactly zero, in
                      // the middle of a group of 8 lanes and at the start of the second group of 4.
                      HandMadeSpan{"zeroNormalInTheMiddleOfAGroup", 0, 8, {0, 0, 1}, {0, 0, -1}, 4},
                      HandMadeSpan{"zeroNormalInALaterGroup", 3, 11, {0, 0, 1}, {0, 0, -1}, 7}),
    [](const ::testing::TestParamInfo<HandMadeSpan>& info) { return std::string(info.param.name); });

// Batches of fragments whose values break naive lane code: signed zeros, denormals,
// huge, infinite and NaN values, and values on texel, level and int boundaries,
// mixed into ordinary ones, so that each lane group holds both.
struct Mixture {
    const char* name;
    bool mipmapping = true;
    bool colorTexture = true;
    bool bumpMap = true;
    int lights = 1;
    // Chance of a special value in each component.
    double special = 0.2;
};

void PrintTo(const Mixture& m, std::ostream* out) { *out << m.name; }

float specialValue(std::mt19937& random) {
    constexpr float inf = std::numeric_limits<float>::infinity();
    static constexpr float values[] = {0.0f, -0.0f, 1.0f, -1.0f, 0.5f, -0.5f, 1e-40f, -1e-40f, 1e-7f, 1e30f, -1e30f,
                                       inf, -inf, std::numeric_limits<float>::quiet_NaN(), 16777216.0f,
                                       2147483648.0f, -2147483904.0f, 3e9f, 0.99999994f, 1.0000001f, 255.5f / 255,
                                       127.0f / 255, 0.49999997f, -0.49999997f, 1024.0f, 100.5f};
    return values[random() % std::size(values)];
}

class Mixtures : public ::testing::TestWithParam<Mixture> {};

TEST_P(Mixtures, ShadeAlikeOnEveryTarget) {
    const Mixture& m = GetParam();
    StartupScene startup;
    Scene& scene = startup.scene;
    scene.mipmapping = m.mipmapping;
    for (int k = 1; k < m.lights; ++k) scene.lights.push_back({{3.0f * k, 1, 2}, {0.3f, 0.5f, 0.7f, 1}});
    FrameBuffer frame;
    frame.resize(64, 48);
    const FrameView view(frame);
    const SceneObject& square = scene.objects[0];
    std::mt19937 random(12345);
    auto pick = [&](float low, float high) {
        if (std::uniform_real_distribution<double>(0, 1)(random) < m.special) return specialValue(random);
        return static_cast<float>(std::uniform_real_distribution<double>(low, high)(random));
    };
    for (int round = 0; round < 40; ++round) {
        const Vector4 eye = scene.modelview.transformByInverse({0, 0, 0, 1});
        Material material = materialOf(square);
        material.diffuse = {pick(0, 1), pick(0, 1), pick(0, 1), 1};
        // The usual whole exponent, others whole and not, and the special values.
        material.shininess = round % 3 ? 100 : round % 2 ? std::round(pick(-3, 300)) : pick(-3, 300);
        if (!m.colorTexture) material.colorTexture = nullptr;
        if (!m.bumpMap) material.bumpMap = nullptr;
        const SpanShading span{scene,
                               view,
                               pick(0, 48),
                               {eye.x, eye.y, eye.z},
                               material,
                               pick(-0.01f, 0.01f),
                               pick(-0.01f, 0.01f),
                               // Every other round keeps the records the false-colour views show.
                               round % 2 == 0};
        VectorTables tables;
        buildVectorTables(span, tables);
        FragmentBatch batch;
        const int count = 1 + static_cast<int>(random() % shadingBatch);
        for (int i = 0; i < count; ++i) {
            const float w = pick(0.05f, 2);
            batch.append(pick(0, 64), pick(-1, 1), {pick(-0.5f, 1.5f) * w, pick(-0.5f, 1.5f) * w, w},
                         {pick(-1, 1), pick(-1, 1), pick(-1, 1)}, pick(-0.02f, 0.02f), pick(-0.02f, 0.02f));
        }
        ShadedBatch scalar, vector;
        shadeBatchScalar(span, batch, scalar);
        for (const std::int64_t target : simdTargets()) {
            const TargetChoice choice(target);
            FragmentBatch copy = batch;
            shadeBatchSimd(span, tables, copy, vector);
            for (int i = 0; i < count; ++i) {
                ASSERT_EQ(scalar.lit[i], vector.lit[i]) << targetName(target) << ", round " << round << ", lane " << i;
                if (!scalar.lit[i]) continue;
                for (int c = 0; c < 4; ++c)
                    ASSERT_TRUE(sameBits(scalar.color[c][i], vector.color[c][i]))
                        << targetName(target) << ", round " << round << ", lane " << i << ", channel " << c << ": "
                        << scalar.color[c][i] << " vs " << vector.color[c][i];
                if (!span.record) continue;
                const FragmentRecord a = scalar.recordAt(i, 0), b = vector.recordAt(i, 0);
                for (const auto& [x, y] : {std::pair{a.lod, b.lod}, {a.s, b.s}, {a.t, b.t}, {a.normal.x, b.normal.x},
                                           {a.normal.y, b.normal.y}, {a.normal.z, b.normal.z}})
                    ASSERT_TRUE(sameBits(x, y)) << targetName(target) << ", round " << round << ", lane " << i
                                                << ": record " << x << " vs " << y;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Table, Mixtures,
                         ::testing::Values(Mixture{"ordinaryValues", true, true, true, 1, 0},
                                           Mixture{"specialValues"}, Mixture{"mipmappingOff", false},
                                           Mixture{"diffuseColourWithoutTextures", true, false, false},
                                           Mixture{"threeLights", true, true, true, 3},
                                           Mixture{"mostlySpecial", true, true, true, 2, 0.7}),
                         [](const ::testing::TestParamInfo<Mixture>& info) { return std::string(info.param.name); });

} // namespace

} // namespace rv
