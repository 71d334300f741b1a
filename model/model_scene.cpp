#include "model/model_scene.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "model/texture_resample.h"

namespace rv {

namespace {

bool finite3(const float v[3]) { return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]); }

float unitValue(float v) { return std::isfinite(v) ? std::clamp(v, 0.0f, 1.0f) : 0.0f; }

Color materialColor(const float c[3]) { return {unitValue(c[0]), unitValue(c[1]), unitValue(c[2]), 1}; }

// Both renderers accept 0..128; rounded to the nearest integer.
int materialShininess(float s) {
    if (!std::isfinite(s)) return 0;
    return static_cast<int>(std::clamp(s, 0.0f, 128.0f) + 0.5f);
}

// A unit vector, or false when v is not finite or has no length a float can normalise.
bool unit(double x, double y, double z, Vector3& out) {
    const double len = std::sqrt(x * x + y * y + z * z);
    if (!std::isfinite(len) || len < 1e-30) return false;
    out = {static_cast<float>(x / len), static_cast<float>(y / len), static_cast<float>(z / len)};
    return !(out.x == 0 && out.y == 0 && out.z == 0);
}

Vector3 faceNormal(const ImportedVertex* c[3]) {
    const double ax = double(c[1]->position[0]) - c[0]->position[0], ay = double(c[1]->position[1]) - c[0]->position[1],
                 az = double(c[1]->position[2]) - c[0]->position[2];
    const double bx = double(c[2]->position[0]) - c[0]->position[0], by = double(c[2]->position[1]) - c[0]->position[1],
                 bz = double(c[2]->position[2]) - c[0]->position[2];
    Vector3 n{0, 0, 1};
    if (!unit(ay * bz - az * by, az * bx - ax * bz, ax * by - ay * bx, n)) n = {0, 0, 1};
    return n;
}

struct Bounds {
    double lo[3] = {INFINITY, INFINITY, INFINITY};
    double hi[3] = {-INFINITY, -INFINITY, -INFINITY};
    void add(const float p[3]) {
        for (int k = 0; k < 3; ++k) {
            lo[k] = std::min(lo[k], static_cast<double>(p[k]));
            hi[k] = std::max(hi[k], static_cast<double>(p[k]));
        }
    }
};

// +Y up turned to +Z up: (x, y, z) -> (x, -z, y), exactly, without a rounded cosine.
const Matrix4 yUpToZUp = fromRows({1, 0, 0, 0}, {0, 0, -1, 0}, {0, 1, 0, 0}, {0, 0, 0, 1});

void place(MatrixStack& construction, const Bounds& b) {
    double largest = 0;
    for (int k = 0; k < 3; ++k) largest = std::max(largest, b.hi[k] - b.lo[k]);
    // A model that is one point keeps its size.
    const float s = largest > 0 && std::isfinite(1 / largest) ? static_cast<float>(1 / largest) : 1.0f;
    construction.current *= yUpToZUp;
    construction.current *= fromRows({s, 0, 0, 0}, {0, s, 0, 0}, {0, 0, s, 0}, {0, 0, 0, 1});
    construction.translate(static_cast<float>(-(b.lo[0] + b.hi[0]) / 2), static_cast<float>(-(b.lo[1] + b.hi[1]) / 2),
                           static_cast<float>(-(b.lo[2] + b.hi[2]) / 2));
}

// Models are made for textures that repeat (glTF's and OBJ's default), and both
// renderers clamp: a triangle mapped to [5, 6] would show one edge texel
// stretched. Moving each triangle's coordinates by whole periods, so that its
// smallest s and t fall in [0, 1), shows the same texels wherever the triangle
// spans at most one period. Non-finite coordinates become 0.
struct TexShift {
    float s = 0, t = 0;
};

float usable(float v) { return std::isfinite(v) ? v : 0.0f; }

TexShift periodShift(const ImportedVertex* const c[3]) {
    float s = INFINITY, t = INFINITY;
    for (int k = 0; k < 3; ++k) {
        s = std::min(s, usable(c[k]->texCoord[0]));
        t = std::min(t, usable(c[k]->texCoord[1]));
    }
    return {std::floor(s), std::floor(t)};
}

void addCorner(Scene& scene, const ImportedVertex& v, const Vector3& fallback, TexShift shift) {
    Vector3 n;
    if (!unit(v.normal[0], v.normal[1], v.normal[2], n)) n = fallback;
    scene.setNormal(n.x, n.y, n.z);
    scene.setTexCoord(usable(v.texCoord[0]) - shift.s, usable(v.texCoord[1]) - shift.t);
    scene.addVertex(v.position[0], v.position[1], v.position[2]);
}

} // namespace

ModelLoad buildModelScene(Scene& scene, const ImportedModel& model) {
    ModelLoad out;
    // Which triangles survive, and the box around them, before the scene is touched.
    std::vector<std::vector<std::uint32_t>> kept(model.meshes.size());
    Bounds bounds;
    long dropped = 0;
    for (std::size_t m = 0; m < model.meshes.size(); ++m) {
        const ImportedMesh& mesh = model.meshes[m];
        for (std::size_t t = 0; t + 2 < mesh.indices.size(); t += 3) {
            const ImportedVertex* c[3] = {&mesh.vertices[mesh.indices[t]], &mesh.vertices[mesh.indices[t + 1]],
                                          &mesh.vertices[mesh.indices[t + 2]]};
            if (!finite3(c[0]->position) || !finite3(c[1]->position) || !finite3(c[2]->position)) {
                ++dropped;
                continue;
            }
            for (const ImportedVertex* v : c) bounds.add(v->position);
            kept[m].push_back(static_cast<std::uint32_t>(t));
            ++out.triangles;
        }
    }
    if (out.triangles == 0) {
        out.error = dropped ? "no triangle with finite corners" : "no triangles in the file";
        return out;
    }
    if (dropped)
        out.warnings.push_back(std::to_string(dropped) + (dropped == 1 ? " triangle" : " triangles") +
                               " with a non-finite corner dropped");

    std::vector<std::unique_ptr<Texture>> textures(model.images.size());
    for (std::size_t k = 0; k < model.images.size(); ++k) {
        const ImportedImage& image = model.images[k];
        if (!image.problem.empty()) {
            out.warnings.push_back("texture \"" + image.name + "\" cannot be read (" + image.problem +
                                   "); drawn untextured");
            continue;
        }
        textures[k] = std::make_unique<Texture>();
        resampleImage(image, *textures[k]);
    }

    scene.reset();
    addDefaultLight(scene);
    scene.lightingEnabled = true;
    std::vector<Texture*> owned(textures.size(), nullptr);
    for (std::size_t k = 0; k < textures.size(); ++k)
        if (textures[k]) owned[k] = scene.textures.emplace_back(std::move(textures[k])).get();
    const auto image = [&](int k) { return k >= 0 ? owned[static_cast<std::size_t>(k)] : nullptr; };

    scene.construction.push();
    place(scene.construction, bounds);
    for (std::size_t m = 0; m < model.meshes.size(); ++m) {
        if (kept[m].empty()) continue;
        const ImportedMesh& mesh = model.meshes[m];
        const ImportedMaterial& material = model.materials[static_cast<std::size_t>(mesh.material)];
        scene.setMaterial(materialColor(material.diffuse), materialColor(material.specular),
                          materialShininess(material.shininess));
        scene.setTextures(image(material.colorImage), image(material.heightImage), nullptr);
        scene.beginObject();
        scene.objects.back().polygons.reserve(kept[m].size());
        for (std::uint32_t t : kept[m]) {
            const ImportedVertex* c[3] = {&mesh.vertices[mesh.indices[t]], &mesh.vertices[mesh.indices[t + 1]],
                                          &mesh.vertices[mesh.indices[t + 2]]};
            const Vector3 face = faceNormal(c);
            const TexShift shift = periodShift(c);
            scene.beginPolygon();
            scene.objects.back().polygons.back().vertices.reserve(3);
            for (const ImportedVertex* v : c) addCorner(scene, *v, face, shift);
        }
    }
    scene.construction.pop();
    scene.setTextures(nullptr, nullptr, nullptr);
    return out;
}

} // namespace rv
