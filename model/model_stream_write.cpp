#include <cstring>

#include "model/model_stream.h"

namespace rv {

namespace {

constexpr char magic[4] = {'R', 'V', 'M', 'S'};
constexpr char endMark[4] = {'D', 'O', 'N', 'E'};

bool put(ByteSink& sink, std::uint32_t value) { return sink.write(&value, sizeof value); }
bool put(ByteSink& sink, std::int32_t value) { return sink.write(&value, sizeof value); }
bool put(ByteSink& sink, float value) { return sink.write(&value, sizeof value); }
bool put(ByteSink& sink, const std::string& text) {
    return put(sink, static_cast<std::uint32_t>(text.size())) && sink.write(text.data(), text.size());
}

bool putImage(ByteSink& sink, const ImportedImage& image) {
    return put(sink, image.name) && put(sink, image.problem) && put(sink, static_cast<std::uint32_t>(image.width)) &&
           put(sink, static_cast<std::uint32_t>(image.height)) &&
           put(sink, static_cast<std::uint32_t>(image.channels)) && sink.write(image.bytes.data(), image.bytes.size());
}

bool putMaterial(ByteSink& sink, const ImportedMaterial& m) {
    for (float v : m.diffuse)
        if (!put(sink, v)) return false;
    for (float v : m.specular)
        if (!put(sink, v)) return false;
    return put(sink, m.shininess) && put(sink, static_cast<std::int32_t>(m.colorImage)) &&
           put(sink, static_cast<std::int32_t>(m.heightImage));
}

bool putMesh(ByteSink& sink, const ImportedMesh& mesh) {
    static_assert(sizeof(ImportedVertex) == 8 * sizeof(float));
    return put(sink, static_cast<std::uint32_t>(mesh.material)) &&
           put(sink, static_cast<std::uint32_t>(mesh.vertices.size())) &&
           sink.write(mesh.vertices.data(), mesh.vertices.size() * sizeof(ImportedVertex)) &&
           put(sink, static_cast<std::uint32_t>(mesh.indices.size() / 3)) &&
           sink.write(mesh.indices.data(), mesh.indices.size() / 3 * 3 * sizeof(std::uint32_t));
}

} // namespace

bool writeImportFailure(ByteSink& sink, const std::string& reason) {
    return sink.write(magic, 4) && put(sink, std::uint32_t{1}) && put(sink, reason);
}

bool writeImportedModel(ByteSink& sink, const ImportedModel& model) {
    if (!sink.write(magic, 4) || !put(sink, std::uint32_t{0})) return false;
    if (!put(sink, static_cast<std::uint32_t>(model.images.size()))) return false;
    for (const ImportedImage& image : model.images)
        if (!putImage(sink, image)) return false;
    if (!put(sink, static_cast<std::uint32_t>(model.materials.size()))) return false;
    for (const ImportedMaterial& material : model.materials)
        if (!putMaterial(sink, material)) return false;
    if (!put(sink, static_cast<std::uint32_t>(model.meshes.size()))) return false;
    for (const ImportedMesh& mesh : model.meshes)
        if (!putMesh(sink, mesh)) return false;
    return sink.write(endMark, 4);
}

bool VectorSink::write(const void* data, std::size_t size) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    bytes.insert(bytes.end(), p, p + size);
    return true;
}

bool MemorySource::read(void* data, std::size_t size) {
    if (size > bytes_.size() - at_) return false;
    if (size) std::memcpy(data, bytes_.data() + at_, size);
    at_ += size;
    return true;
}

} // namespace rv
