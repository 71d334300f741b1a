#include "raster/shading.h"

#include <cmath>

#include "raster/whole_power.h"
#include "scene/scene.h"

namespace rv {

namespace {

// A floor()ed coordinate as an index inside [0, size); NaN counts as below the map.
int clampIndex(float v, int size) {
    if (!(v >= 0)) return 0;
    if (v >= static_cast<float>(size)) return size - 1;
    return static_cast<int>(v);
}

} // namespace

std::optional<FragmentPlace> placeFragment(const Scene& scene, int width, int height, const Vector3& eye, float x,
                                           float y, float z) {
    const float ndcX = x / static_cast<float>(width) * 2 - 1;
    const float ndcY = y / static_cast<float>(height) * 2 - 1;
    const Vector4 q = scene.projection.transformByInverse({ndcX, ndcY, z, 1});
    const Vector4 p = scene.modelview.transformByInverse(q);
    const Vector3 position{p.x / p.w, p.y / p.w, p.z / p.w};
    Vector3 toEye = eye - position;
    if (!normalizeNonZero(toEye)) return std::nullopt;
    return FragmentPlace{position, toEye};
}

std::optional<Color> lightFragment(const Scene& scene, const FragmentPlace& place, const Color& surfaceColor,
                                   const Color& specular, float shininess, Vector3 normal, Vector3* unitNormal) {
    if (!normalizeNonZero(normal)) return std::nullopt;
    if (unitNormal) *unitNormal = normal;
    const Vector3& n = normal;
    const Color result = modulate(scene.ambient, surfaceColor);
    Color diffuseSum{0, 0, 0, 0};
    Color specularSum{0, 0, 0, 0};
    for (const Light& light : scene.lights) {
        Vector3 toLight = light.position - place.position;
        if (!normalizeNonZero(toLight)) return std::nullopt;
        const float d = std::fabs(dot(n, toLight));
        diffuseSum = diffuseSum + modulate(d * surfaceColor, light.color);
        Vector3 halfway = toLight + place.toEye;
        if (!normalizeNonZero(halfway)) return std::nullopt;
        // Not clamped at zero: a negative dot product with an even exponent still adds a little.
        const float highlight = powToFloat(static_cast<double>(dot(n, halfway)), shininess);
        specularSum = specularSum + highlight * specular;
    }
    return (result + diffuseSum) + specularSum;
}

std::optional<Vector3> bumpNormal(const Vector3& texOverW, const Vector3& normal, const Texture& heightMap,
                                  float scale) {
    const int w = heightMap.width;
    const int h = heightMap.height;
    const float s = texOverW.x / texOverW.z;
    const float t = texOverW.y / texOverW.z;
    const float x = static_cast<float>(w - 1) * s;
    const float y = static_cast<float>(h - 1) * t;
    const float x0 = std::floor(x);
    const float y0 = std::floor(y);
    const float x1 = x0 + 1;
    const float y1 = y0 + 1;
    const float fs = std::floor(s);
    const float ft = std::floor(t);
    const float sn = x1 / static_cast<float>(w - 1);
    const float tn = y1 / static_cast<float>(h - 1);
    const float ds = sn - fs;
    const float dt = tn - ft;
    const float det = ds * dt;

    const int c0 = clampIndex(x0, w), c1 = clampIndex(x1, w);
    const int r0 = clampIndex(y0, h), r1 = clampIndex(y1, h);
    const float h00 = *heightMap.texel(c0, r0, 0);
    const float h10 = *heightMap.texel(c1, r0, 0);
    const float h01 = *heightMap.texel(c0, r1, 0);
    const float h11 = *heightMap.texel(c1, r1, 0);

    // The weights are the coordinates tn, ft, fs and sn themselves, not distances to texel rows.
    const float gx = static_cast<float>(w - 1) * scale * ((h11 - h01) * tn + (h10 - h00) * ft);
    const float gy = static_cast<float>(h - 1) * scale * ((h01 - h00) * fs + (h11 - h10) * sn);
    float a = 0;
    float b = 0;
    if (det != 0) {
        a = (s - fs) * dt / det;
        b = (t - ft) * ds / det;
    }
    const Vector3 tilt{a * gy, -b * gx, 0};
    Vector3 unit = normal;
    if (!normalizeNonZero(unit)) return std::nullopt;
    return normal + cross(tilt, unit);
}

} // namespace rv
