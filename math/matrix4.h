#pragma once

#include "math/vector4.h"

namespace rv {

// Row-major 4x4; points are column vectors multiplied on the right (M x v), so a
// translation sits in the last column and a perspective puts -1 at (3, 2).
struct Matrix4 {
    float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    float& operator()(int r, int c) { return m[r * 4 + c]; }
    float operator()(int r, int c) const { return m[r * 4 + c]; }

    friend bool operator==(const Matrix4&, const Matrix4&) = default;
};

inline Matrix4 identity() { return Matrix4{}; }

inline Matrix4 fromRows(const Vector4& r0, const Vector4& r1, const Vector4& r2, const Vector4& r3) {
    return Matrix4{{r0.x, r0.y, r0.z, r0.w, r1.x, r1.y, r1.z, r1.w,
                    r2.x, r2.y, r2.z, r2.w, r3.x, r3.y, r3.z, r3.w}};
}

// Each element is summed in double and rounded once; the result is built in a
// temporary, so either operand may also be the destination.
inline Matrix4 operator*(const Matrix4& a, const Matrix4& b) {
    Matrix4 p;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            double sum = 0;
            for (int k = 0; k < 4; ++k) sum += static_cast<double>(a(r, k)) * b(k, c);
            p(r, c) = static_cast<float>(sum);
        }
    return p;
}

inline Matrix4& operator*=(Matrix4& a, const Matrix4& b) { return a = a * b; }

// Each output component is one row times v, accumulated in double and rounded once.
inline Vector4 transform(const Matrix4& m, const Vector4& v) {
    float out[4];
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<float>(static_cast<double>(m(i, 0)) * v.x + static_cast<double>(m(i, 1)) * v.y +
                                    static_cast<double>(m(i, 2)) * v.z + static_cast<double>(m(i, 3)) * v.w);
    return {out[0], out[1], out[2], out[3]};
}

// The order glLoadMatrixf expects: element (r, c) goes to index c * 4 + r.
inline void toColumnMajor(const Matrix4& m, float out[16]) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) out[c * 4 + r] = m(r, c);
}

// Gauss-Jordan with partial pivoting in double. Only an exactly zero pivot counts
// as singular: then false is returned and dst is left untouched.
bool invert(const Matrix4& src, Matrix4& dst);

} // namespace rv
