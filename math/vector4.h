#pragma once

namespace rv {

// Homogeneous position. Same layout and four-component operations as Color.
struct Vector4 {
    float x = 0, y = 0, z = 0, w = 1;

    Vector4& set(float x_, float y_, float z_, float w_) {
        x = x_; y = y_; z = z_; w = w_;
        return *this;
    }

    friend bool operator==(const Vector4&, const Vector4&) = default;
};

inline Vector4 operator+(const Vector4& k, const Vector4& m) { return {k.x + m.x, k.y + m.y, k.z + m.z, k.w + m.w}; }
inline Vector4 operator*(const Vector4& k, float s) { return {k.x * s, k.y * s, k.z * s, k.w * s}; }
inline Vector4 operator*(float s, const Vector4& k) { return k * s; }
inline Vector4 modulate(const Vector4& k, const Vector4& m) { return {k.x * m.x, k.y * m.y, k.z * m.z, k.w * m.w}; }

} // namespace rv
