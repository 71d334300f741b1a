#pragma once

#include <cmath>

namespace rv {

// Raised by value when a zero-length Vector3 is normalised.
struct ZeroDivide {};

struct Vector3 {
    float x = 0, y = 0, z = 0;

    Vector3& operator+=(const Vector3& b) { x += b.x; y += b.y; z += b.z; return *this; }
    Vector3& operator-=(const Vector3& b) { x -= b.x; y -= b.y; z -= b.z; return *this; }
    Vector3& operator*=(float s) { x *= s; y *= s; z *= s; return *this; }
    // No test of s: a zero divisor gives IEEE infinities or NaN.
    Vector3& operator/=(float s) { x /= s; y /= s; z /= s; return *this; }

    friend bool operator==(const Vector3&, const Vector3&) = default;
};

inline Vector3 operator+(Vector3 a, const Vector3& b) { return a += b; }
inline Vector3 operator-(Vector3 a, const Vector3& b) { return a -= b; }
inline Vector3 operator*(Vector3 a, float s) { return a *= s; }
inline Vector3 operator/(Vector3 a, float s) { return a /= s; }

inline float dot(const Vector3& a, const Vector3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

inline Vector3 cross(const Vector3& a, const Vector3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// The square root is taken in double and rounded once.
inline float length(const Vector3& a) { return static_cast<float>(std::sqrt(static_cast<double>(dot(a, a)))); }

// normalize for code that cannot throw (the fragment path, vector lanes): false
// on an exactly zero length, leaving a unchanged; a NaN length counts as non-zero.
[[nodiscard]] inline bool normalizeNonZero(Vector3& a) {
    const float len = length(a);
    if (len == 0) return false;
    a /= len;
    return true;
}

// Raises ZeroDivide on an exactly zero length and leaves a unchanged; a NaN length does not raise.
inline void normalize(Vector3& a) {
    if (!normalizeNonZero(a)) throw ZeroDivide{};
}

inline Vector3 normalized(Vector3 a) {
    normalize(a);
    return a;
}

} // namespace rv
