#include <algorithm>
#include <cstring>

#include "model/model_stream.h"

namespace rv {

namespace {

// Thrown inside the reader only; readImportStream turns it into a malformed result.
struct Malformed {
    std::string what;
};

class Reader {
public:
    Reader(ByteSource& source, const StreamLimits& limits) : source_(source), limits_(limits) {}

    void bytes(void* to, std::size_t size, const char* what) {
        if (!source_.read(to, size)) throw Malformed{std::string("the stream ends inside ") + what};
    }
    std::uint32_t word(const char* what) {
        std::uint32_t v;
        bytes(&v, sizeof v, what);
        return v;
    }
    std::int32_t signedWord(const char* what) {
        std::int32_t v;
        bytes(&v, sizeof v, what);
        return v;
    }
    float real(const char* what) {
        float v;
        bytes(&v, sizeof v, what);
        return v;
    }
    std::uint32_t count(const char* what, std::uint64_t limit) {
        const std::uint32_t n = word(what);
        if (n > limit) throw Malformed{std::string("too many ") + what + " (" + std::to_string(n) + ")"};
        return n;
    }
    std::string text(const char* what) {
        const std::uint32_t n = count(what, limits_.textLength);
        std::string s(n, '\0');
        bytes(s.data(), n, what);
        return s;
    }
    void mark(const char (&expected)[5], const char* what) {
        char got[4];
        bytes(got, 4, what);
        if (std::memcmp(got, expected, 4) != 0) throw Malformed{std::string("no ") + what};
    }
    // Reads `n` elements a bounded chunk at a time, so that the storage follows
    // the bytes that really arrive rather than the count announced.
    template <class T>
    void array(std::vector<T>& out, std::uint64_t n, const char* what) {
        constexpr std::uint64_t chunk = 1 << 16;
        out.clear();
        for (std::uint64_t done = 0; done < n;) {
            const std::uint64_t step = std::min(chunk, n - done);
            out.resize(static_cast<std::size_t>(done + step));
            bytes(out.data() + done, static_cast<std::size_t>(step) * sizeof(T), what);
            done += step;
        }
    }

    ImportedImage image() {
        ImportedImage im;
        im.name = text("image name");
        im.problem = text("image problem");
        const std::uint32_t w = word("image width"), h = word("image height"), c = word("image channels");
        if (!im.problem.empty()) {
            if (w || h || c) throw Malformed{"an unreadable image with texels"};
            return im;
        }
        if (w == 0 || h == 0 || w > limits_.imageSide || h > limits_.imageSide)
            throw Malformed{"an image of " + std::to_string(w) + " x " + std::to_string(h) + " texels"};
        if (c != 1 && c != 3) throw Malformed{"an image with " + std::to_string(c) + " channels"};
        const std::uint64_t size = std::uint64_t(w) * h * c;
        imageBytes_ += size;
        if (imageBytes_ > limits_.imageBytes) throw Malformed{"more image data than allowed"};
        im.width = static_cast<int>(w);
        im.height = static_cast<int>(h);
        im.channels = static_cast<int>(c);
        array(im.bytes, size, "image texels");
        return im;
    }

    ImportedMaterial material(const std::vector<ImportedImage>& images) {
        ImportedMaterial m;
        for (float& v : m.diffuse) v = real("material");
        for (float& v : m.specular) v = real("material");
        m.shininess = real("material");
        m.colorImage = imageIndex(images, 3);
        m.heightImage = imageIndex(images, 1);
        return m;
    }

    int imageIndex(const std::vector<ImportedImage>& images, int channels) {
        const std::int32_t k = signedWord("material");
        if (k < -1 || k >= static_cast<std::int64_t>(images.size()))
            throw Malformed{"a material names image " + std::to_string(k) + " of " + std::to_string(images.size())};
        if (k >= 0 && images[k].problem.empty() && images[k].channels != channels)
            throw Malformed{"a material names an image with the wrong channel count"};
        return k;
    }

    ImportedMesh mesh(std::size_t materialCount) {
        ImportedMesh mesh;
        const std::uint32_t material = word("mesh");
        if (material >= materialCount)
            throw Malformed{"a mesh names material " + std::to_string(material) + " of " +
                            std::to_string(materialCount)};
        mesh.material = static_cast<int>(material);
        const std::uint32_t nv = word("mesh");
        vertices_ += nv;
        if (vertices_ > limits_.vertices) throw Malformed{"too many vertices"};
        array(mesh.vertices, nv, "vertices");
        const std::uint32_t nt = word("mesh");
        triangles_ += nt;
        if (triangles_ > limits_.triangles) throw Malformed{"too many triangles"};
        array(mesh.indices, std::uint64_t(nt) * 3, "triangles");
        for (std::uint32_t i : mesh.indices)
            if (i >= nv) throw Malformed{"a triangle names vertex " + std::to_string(i) + " of " + std::to_string(nv)};
        return mesh;
    }

    ImportedModel model() {
        ImportedModel m;
        const std::uint32_t ni = count("images", limits_.images);
        for (std::uint32_t k = 0; k < ni; ++k) m.images.push_back(image());
        const std::uint32_t nm = count("materials", limits_.materials);
        for (std::uint32_t k = 0; k < nm; ++k) m.materials.push_back(material(m.images));
        const std::uint32_t nmesh = count("meshes", limits_.meshes);
        for (std::uint32_t k = 0; k < nmesh; ++k) m.meshes.push_back(mesh(m.materials.size()));
        mark("DONE", "end mark");
        return m;
    }

    void end() {
        char extra;
        if (source_.read(&extra, 1)) throw Malformed{"bytes after the end mark"};
    }

private:
    ByteSource& source_;
    const StreamLimits& limits_;
    std::uint64_t imageBytes_ = 0;
    std::uint64_t vertices_ = 0;
    std::uint64_t triangles_ = 0;
};

} // namespace

StreamResult readImportStream(ByteSource& source, const StreamLimits& limits) {
    StreamResult result;
    Reader reader(source, limits);
    try {
        reader.mark("RVMS", "stream header");
        const std::uint32_t kind = reader.word("stream header");
        if (kind == 1) {
            result.message = reader.text("failure reason");
            reader.end();
            result.kind = StreamResult::Kind::importFailed;
        } else if (kind == 0) {
            result.model = reader.model();
            reader.end();
            result.kind = StreamResult::Kind::model;
        } else {
            throw Malformed{"an unknown result kind"};
        }
    } catch (const Malformed& m) {
        result = StreamResult{};
        result.message = m.what;
    }
    return result;
}

} // namespace rv
