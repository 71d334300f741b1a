#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/model_data.h"

namespace rv {

// The import child hands its result to the parent as one stream of native
// 32-bit words and floats:
//   "RVMS", kind (0 model, 1 failure)
//   failure: text reason
//   model:   image count, per image: text name, text problem, width, height, channels, width*height*channels bytes
//            material count, per material: diffuse[3], specular[3], shininess, colour image, height image
//            mesh count, per mesh: material, vertex count, 8 floats per vertex, triangle count, 3 indices each
//            "DONE"
// A text is a length and its bytes. The parent trusts none of it: see readImportStream.

// Receives the stream; false when the bytes cannot be delivered.
class ByteSink {
public:
    virtual bool write(const void* data, std::size_t size) = 0;

protected:
    ~ByteSink() = default;
};

// Fills exactly `size` bytes, or returns false at the end of the stream or on failure.
class ByteSource {
public:
    virtual bool read(void* data, std::size_t size) = 0;

protected:
    ~ByteSource() = default;
};

// Bounds on what the parent accepts. A stream that exceeds any of them is
// refused before the memory is allocated.
struct StreamLimits {
    std::uint32_t images = 1024;
    std::uint32_t materials = 1 << 16;
    std::uint32_t meshes = 1 << 16;
    // Summed over all meshes.
    std::uint64_t vertices = 1 << 24;
    std::uint64_t triangles = 1 << 23;
    std::uint32_t imageSide = 16384;
    // Summed over all images.
    std::uint64_t imageBytes = std::uint64_t(1) << 29;
    std::uint32_t textLength = 4096;
};

bool writeImportFailure(ByteSink& sink, const std::string& reason);
bool writeImportedModel(ByteSink& sink, const ImportedModel& model);

struct StreamResult {
    enum class Kind { model, importFailed, malformed };
    Kind kind = Kind::malformed;
    // The child's reason (importFailed) or what was wrong with the stream (malformed).
    std::string message;
    ImportedModel model;
};

// Reads one stream, checking every count against `limits`, every index against
// what it refers to and that nothing follows. Storage grows only as bytes arrive,
// so a stream that announces more than it sends costs no more than it sent.
StreamResult readImportStream(ByteSource& source, const StreamLimits& limits);

// In-memory ends, for tests and for the child's own buffering.
class VectorSink : public ByteSink {
public:
    std::vector<std::uint8_t> bytes;
    bool write(const void* data, std::size_t size) override;
};

class MemorySource : public ByteSource {
public:
    explicit MemorySource(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
    bool read(void* data, std::size_t size) override;

private:
    const std::vector<std::uint8_t>& bytes_;
    std::size_t at_ = 0;
};

} // namespace rv
