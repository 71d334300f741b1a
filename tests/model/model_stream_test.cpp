#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/model_stream.h"

namespace rv {

namespace {

// One image, one material using it, one mesh of two triangles.
ImportedModel smallModel() {
    ImportedModel m;
    ImportedImage image;
    image.name = "a.png";
    image.width = 2;
    image.height = 1;
    image.channels = 3;
    image.bytes = {1, 2, 3, 4, 5, 6};
    m.images.push_back(image);
    ImportedImage missing;
    missing.name = "gone.png";
    missing.problem = "no such file";
    m.images.push_back(missing);
    ImportedMaterial material;
    material.colorImage = 0;
    m.materials.push_back(material);
    ImportedMesh mesh;
    for (int k = 0; k < 4; ++k) mesh.vertices.push_back({{float(k), 0, 0}, {0, 0, 1}, {0, float(k)}});
    mesh.indices = {0, 1, 2, 0, 2, 3};
    m.meshes.push_back(mesh);
    return m;
}

std::vector<std::uint8_t> streamOf(const ImportedModel& m) {
    VectorSink sink;
    writeImportedModel(sink, m);
    return sink.bytes;
}

StreamResult read(const std::vector<std::uint8_t>& bytes, const StreamLimits& limits = {}) {
    MemorySource source(bytes);
    return readImportStream(source, limits);
}

// Byte offsets of fields in the small model's stream, for overwriting them.
constexpr std::size_t imageCountAt = 8;
constexpr std::size_t firstImageWidthAt = imageCountAt + 4 + 4 + 5 + 4;

std::size_t meshAt(const std::vector<std::uint8_t>& bytes) {
    // The mesh section is the last: count, material, vertex count, 4 vertices, triangle count, 6 indices, end mark.
    return bytes.size() - 4 - 6 * 4 - 4 - 4 * 32 - 4 - 4;
}

void putWord(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    std::memcpy(&bytes[at], &value, 4);
}

TEST(ModelStream, RoundTripKeepsEverything) {
    const ImportedModel m = smallModel();
    const StreamResult r = read(streamOf(m));
    ASSERT_EQ(r.kind, StreamResult::Kind::model) << r.message;
    ASSERT_EQ(r.model.images.size(), 2u);
    EXPECT_EQ(r.model.images[0].bytes, m.images[0].bytes);
    EXPECT_EQ(r.model.images[1].problem, "no such file");
    EXPECT_EQ(r.model.materials[0].colorImage, 0);
    EXPECT_EQ(r.model.materials[0].heightImage, -1);
    ASSERT_EQ(r.model.meshes.size(), 1u);
    EXPECT_EQ(r.model.meshes[0].indices, m.meshes[0].indices);
    EXPECT_EQ(r.model.meshes[0].vertices[3].texCoord[1], 3.0f);
}

TEST(ModelStream, FailureCarriesItsReason) {
    VectorSink sink;
    writeImportFailure(sink, "unknown file format");
    const StreamResult r = read(sink.bytes);
    EXPECT_EQ(r.kind, StreamResult::Kind::importFailed);
    EXPECT_EQ(r.message, "unknown file format");
}

TEST(ModelStream, EveryTruncationIsMalformed) {
    const std::vector<std::uint8_t> whole = streamOf(smallModel());
    for (std::size_t n = 0; n < whole.size(); ++n) {
        const std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
        EXPECT_EQ(read(cut).kind, StreamResult::Kind::malformed) << n << " bytes";
    }
}

// Values are not the reader's business: NaNs pass through to the scene builder, which drops their triangles.
TEST(ModelStream, NonFiniteValuesPassThrough) {
    ImportedModel m = smallModel();
    m.meshes[0].vertices[1].position[0] = std::numeric_limits<float>::quiet_NaN();
    m.materials[0].shininess = std::numeric_limits<float>::infinity();
    const StreamResult r = read(streamOf(m));
    ASSERT_EQ(r.kind, StreamResult::Kind::model) << r.message;
    EXPECT_TRUE(std::isnan(r.model.meshes[0].vertices[1].position[0]));
}

struct Hostile {
    const char* name;
    std::function<void(std::vector<std::uint8_t>&)> edit;
    const char* message;
};

class ModelStreamHostile : public ::testing::TestWithParam<Hostile> {};

TEST_P(ModelStreamHostile, IsRefusedWithAReason) {
    std::vector<std::uint8_t> bytes = streamOf(smallModel());
    GetParam().edit(bytes);
    const StreamResult r = read(bytes);
    EXPECT_EQ(r.kind, StreamResult::Kind::malformed);
    EXPECT_NE(r.message.find(GetParam().message), std::string::npos) << r.message;
    EXPECT_TRUE(r.model.meshes.empty() && r.model.images.empty());
}

const Hostile hostileCases[] = {
    {"BadHeader", [](auto& b) { b[0] = 'X'; }, "no stream header"},
    {"UnknownKind", [](auto& b) { putWord(b, 4, 7); }, "unknown result kind"},
    {"HugeImageCount", [](auto& b) { putWord(b, imageCountAt, 0xffffffffu); }, "too many images"},
    {"HugeImageWidth", [](auto& b) { putWord(b, firstImageWidthAt, 1u << 30); }, "an image of"},
    {"ZeroImageHeight", [](auto& b) { putWord(b, firstImageWidthAt + 4, 0); }, "an image of"},
    {"TwoChannelImage", [](auto& b) { putWord(b, firstImageWidthAt + 8, 2); }, "2 channels"},
    // Announces 4 G vertices and sends 4: must fail at the end of the bytes, not at an allocation.
    {"HugeVertexCountShortData", [](auto& b) { putWord(b, meshAt(b) + 4, 0xfffffff0u); }, "too many vertices"},
    {"VertexCountBeyondData", [](auto& b) { putWord(b, meshAt(b) + 4, 1000); }, "ends inside"},
    {"HugeTriangleCount", [](auto& b) { putWord(b, meshAt(b) + 8 + 4 * 32, 0xffffffffu); }, "too many triangles"},
    {"IndexOutOfRange", [](auto& b) { putWord(b, meshAt(b) + 12 + 4 * 32 + 4, 4); }, "names vertex 4 of 4"},
    {"MaterialOutOfRange", [](auto& b) { putWord(b, meshAt(b), 1); }, "names material 1 of 1"},
    {"ImageIndexOutOfRange", [](auto& b) { putWord(b, meshAt(b) - 12, 2); }, "names image 2 of 2"},
    {"ImageIndexBelowNone", [](auto& b) { putWord(b, meshAt(b) - 12, 0xfffffffeu); }, "names image -2"},
    {"HeightMapWithColourChannels", [](auto& b) { putWord(b, meshAt(b) - 8, 0); }, "wrong channel count"},
    {"TrailingBytes", [](auto& b) { b.push_back(0); }, "bytes after the end mark"},
    {"NoEndMark", [](auto& b) { b[b.size() - 1] = 'X'; }, "no end mark"},
    {"HugeText", [](auto& b) { putWord(b, imageCountAt + 4, 0x7fffffffu); }, "too many image name"},
};

INSTANTIATE_TEST_SUITE_P(Cases, ModelStreamHostile, ::testing::ValuesIn(hostileCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ModelStream, SummedLimitsHoldAcrossMeshes) {
    ImportedModel m = smallModel();
    m.meshes.push_back(m.meshes[0]);
    StreamLimits limits;
    limits.triangles = 3;
    EXPECT_EQ(read(streamOf(m), limits).message, "too many triangles");
    limits = {};
    limits.imageBytes = 5;
    EXPECT_EQ(read(streamOf(m), limits).message, "more image data than allowed");
}

} // namespace

} // namespace rv
