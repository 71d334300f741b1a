#pragma once

#include <vector>

#include "math/color.h"
#include "math/vector3.h"
#include "raster/edge.h"
#include "raster/frame_buffer.h"
#include "raster/material.h"
#include "raster/vertex_processing.h"
#include "scene/mesh.h"

namespace rv {

class Scene;
class Texture;

// The rasterizer's stages called one at a time, as tests take them apart.

// placeFragment and lightFragment in one, at the eye `eye`: the lit colour of
// one fragment at window position (x, y) and depth z of `frame`. Throws
// ZeroDivide for a zero-length normal, or a fragment at a light or the eye.
Color shadeFragment(const Scene& scene, const FrameBuffer& frame, const Color& surfaceColor, const Color& specular,
                    float shininess, const Vector3& eye, float x, float y, float z, Vector3 normal);

// bumpNormal, throwing ZeroDivide for a zero-length normal.
Vector3 perturbNormal(const Vector3& texOverW, const Vector3& normal, const Texture& heightMap, float scale);

// toClipSpace and fromClipSpace, with no clipping in between.
ScreenVertex projectVertex(const Scene& scene, const Vertex& vertex, int width, int height);

// The material hand-made screen vertices are drawn with: white, no highlight.
Material plainMaterial(const Texture* colorTexture = nullptr, const Texture* bumpMap = nullptr);

// scanPolygon over every row of `frame`, counting into frame.stats, through its output.
void scanPolygon(std::vector<Edge>& edges, const Scene& scene, FrameBuffer& frame,
                 const Material& material = plainMaterial());
// fillSpan into `frame`, counting into frame.stats, through its output.
void fillSpan(const Scene& scene, FrameBuffer& frame, int y, const Edge& left, const Edge& right,
              const Material& material = plainMaterial());

} // namespace rv
