#include "model/assimp_import.h"

#include <algorithm>
#include <map>
#include <utility>

#include <assimp/Importer.hpp>
#include <assimp/config.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include "model/image_decode.h"
#include "model/texture_path.h"

namespace rv {

namespace {

constexpr int colorChannels = 3;
constexpr int heightChannels = 1;

std::string oneLine(std::string text) {
    std::replace_if(text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

ImportedImage decodeEmbedded(const aiTexture& texture, int channels) {
    // mHeight 0: a compressed file of mWidth bytes; otherwise raw texels.
    if (texture.mHeight == 0)
        return decodeImageMemory(reinterpret_cast<const std::uint8_t*>(texture.pcData), texture.mWidth, channels);
    return convertBgraImage(reinterpret_cast<const std::uint8_t*>(texture.pcData), static_cast<int>(texture.mWidth),
                            static_cast<int>(texture.mHeight), channels);
}

class ImageTable {
public:
    ImageTable(const std::string& modelPath, const aiScene& scene, const StreamLimits& limits, ImportedModel& model)
        : modelPath_(modelPath), scene_(scene), limits_(limits), model_(model) {}

    // The index of the image for this material slot, decoding it on first use; -1 without one.
    int find(const aiMaterial& material, aiTextureType type, int channels) {
        aiString written;
        if (material.GetTexture(type, 0, &written) != AI_SUCCESS || written.length == 0) return -1;
        const std::string name = written.C_Str();
        const auto key = std::make_pair(name, channels);
        if (auto it = known_.find(key); it != known_.end()) return it->second;
        if (model_.images.size() >= limits_.images) return -1;
        ImportedImage image = load(name, channels);
        image.name = name;
        refuseBeyondLimits(image);
        if (!image.problem.empty()) {
            image.bytes.clear();
            image.width = image.height = image.channels = 0;
        }
        model_.images.push_back(std::move(image));
        const int index = static_cast<int>(model_.images.size()) - 1;
        known_.emplace(key, index);
        return index;
    }

private:
    void refuseBeyondLimits(ImportedImage& image) {
        if (!image.problem.empty()) return;
        const std::uint64_t side = limits_.imageSide;
        if (static_cast<std::uint64_t>(image.width) > side || static_cast<std::uint64_t>(image.height) > side) {
            image.problem = std::to_string(image.width) + " x " + std::to_string(image.height) +
                            " texels, more than " + std::to_string(side) + " a side";
            return;
        }
        if (bytes_ + image.bytes.size() > limits_.imageBytes) {
            image.problem = "the model's images exceed " + std::to_string(limits_.imageBytes >> 20) + " MiB";
            return;
        }
        bytes_ += image.bytes.size();
    }

    ImportedImage load(const std::string& name, int channels) {
        if (const aiTexture* embedded = scene_.GetEmbeddedTexture(name.c_str())) return decodeEmbedded(*embedded, channels);
        ImportedImage image;
        image.problem = "no such file";
        for (const std::string& candidate : textureCandidates(modelPath_, name)) {
            image = decodeImageFile(candidate, channels);
            if (image.problem != "can't fopen") break;
            image.problem = "no such file";
        }
        return image;
    }

    const std::string& modelPath_;
    const aiScene& scene_;
    const StreamLimits& limits_;
    ImportedModel& model_;
    std::uint64_t bytes_ = 0;
    std::map<std::pair<std::string, int>, int> known_;
};

void copyColor(const aiMaterial& material, const char* key, unsigned type, unsigned index, float out[3]) {
    aiColor3D c;
    if (material.Get(key, type, index, c) != AI_SUCCESS) return;
    out[0] = c.r;
    out[1] = c.g;
    out[2] = c.b;
}

ImportedMaterial convertMaterial(const aiMaterial& material, ImageTable& images) {
    ImportedMaterial m;
    copyColor(material, AI_MATKEY_COLOR_DIFFUSE, m.diffuse);
    copyColor(material, AI_MATKEY_COLOR_SPECULAR, m.specular);
    float shininess = 0;
    if (material.Get(AI_MATKEY_SHININESS, shininess) == AI_SUCCESS) m.shininess = shininess;
    m.colorImage = images.find(material, aiTextureType_DIFFUSE, colorChannels);
    if (m.colorImage < 0) m.colorImage = images.find(material, aiTextureType_BASE_COLOR, colorChannels);
    m.heightImage = images.find(material, aiTextureType_HEIGHT, heightChannels);
    return m;
}

ImportedMesh convertMesh(const aiMesh& mesh) {
    ImportedMesh out;
    out.material = static_cast<int>(mesh.mMaterialIndex);
    out.vertices.resize(mesh.mNumVertices);
    const aiVector3D* uv = mesh.mTextureCoords[0];
    for (unsigned i = 0; i < mesh.mNumVertices; ++i) {
        ImportedVertex& v = out.vertices[i];
        const aiVector3D& p = mesh.mVertices[i];
        const aiVector3D n = mesh.mNormals ? mesh.mNormals[i] : aiVector3D(0, 0, 0);
        v = {{p.x, p.y, p.z}, {n.x, n.y, n.z}, {uv ? uv[i].x : 0.0f, uv ? uv[i].y : 0.0f}};
    }
    out.indices.reserve(static_cast<std::size_t>(mesh.mNumFaces) * 3);
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        if (face.mNumIndices != 3) continue;
        out.indices.insert(out.indices.end(), face.mIndices, face.mIndices + 3);
    }
    return out;
}

void checkSize(const aiScene& scene, const StreamLimits& limits) {
    std::uint64_t vertices = 0, triangles = 0;
    for (unsigned k = 0; k < scene.mNumMeshes; ++k) {
        vertices += scene.mMeshes[k]->mNumVertices;
        triangles += scene.mMeshes[k]->mNumFaces;
    }
    if (scene.mNumMeshes > limits.meshes || scene.mNumMaterials > limits.materials)
        throw ImportFailure(std::to_string(scene.mNumMeshes) + " meshes and " + std::to_string(scene.mNumMaterials) +
                            " materials, more than the " + std::to_string(limits.meshes) + " of each allowed");
    if (vertices > limits.vertices || triangles > limits.triangles)
        throw ImportFailure(std::to_string(triangles) + " triangles on " + std::to_string(vertices) +
                            " vertices, more than the " + std::to_string(limits.triangles) + " and " +
                            std::to_string(limits.vertices) + " allowed");
}

} // namespace

ImportedModel importWithAssimp(const std::string& path, const StreamLimits& limits) {
    Assimp::Importer importer;
    importer.SetPropertyInteger(AI_CONFIG_PP_SBP_REMOVE, aiPrimitiveType_POINT | aiPrimitiveType_LINE);
    const aiScene* scene =
        importer.ReadFile(path, aiProcess_Triangulate | aiProcess_PreTransformVertices | aiProcess_GenSmoothNormals |
                                    aiProcess_SortByPType | aiProcess_ValidateDataStructure);
    if (!scene) {
        const std::string why = oneLine(importer.GetErrorString());
        if (why.find("No suitable reader found") != std::string::npos) throw ImportFailure("unknown file format");
        if (why.find("bad_alloc") != std::string::npos) throw std::bad_alloc();
        // What is left when sorting by primitive type has removed every point and line.
        if (why.find("No meshes remaining") != std::string::npos) throw ImportFailure("no triangles in the file");
        throw ImportFailure("cannot import: " + (why.empty() ? std::string("malformed file") : why));
    }
    checkSize(*scene, limits);
    ImportedModel model;
    ImageTable images(path, *scene, limits, model);
    for (unsigned k = 0; k < scene->mNumMaterials; ++k)
        model.materials.push_back(convertMaterial(*scene->mMaterials[k], images));
    for (unsigned k = 0; k < scene->mNumMeshes; ++k) {
        const aiMesh& mesh = *scene->mMeshes[k];
        if (!(mesh.mPrimitiveTypes & aiPrimitiveType_TRIANGLE)) continue;
        ImportedMesh converted = convertMesh(mesh);
        if (!converted.indices.empty()) model.meshes.push_back(std::move(converted));
    }
    if (model.meshes.empty()) throw ImportFailure("no triangles in the file");
    return model;
}

} // namespace rv
