#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rv {

// A decoded image as the importer hands it over: 8-bit channels, row 0 the
// row texture coordinate t = 0 selects (the image's bottom row).
struct ImportedImage {
    // What the material named, for warnings.
    std::string name;
    // Empty when the image could not be read; `problem` then says why.
    std::string problem;
    int width = 0;
    int height = 0;
    // 3 for a colour texture, 1 for a height map.
    int channels = 0;
    std::vector<std::uint8_t> bytes;
};

struct ImportedMaterial {
    float diffuse[3] = {0.8f, 0.8f, 0.8f};
    float specular[3] = {0, 0, 0};
    float shininess = 0;
    // Indices into ImportedModel::images, or -1.
    int colorImage = -1;
    int heightImage = -1;
};

struct ImportedVertex {
    float position[3];
    float normal[3];
    float texCoord[2];
};

struct ImportedMesh {
    int material = 0;
    std::vector<ImportedVertex> vertices;
    // Three vertex indices per triangle.
    std::vector<std::uint32_t> indices;
};

// Triangles, materials and images of one file, in world placement as the file
// gives it (node transforms already applied).
struct ImportedModel {
    std::vector<ImportedImage> images;
    std::vector<ImportedMaterial> materials;
    std::vector<ImportedMesh> meshes;
};

} // namespace rv
