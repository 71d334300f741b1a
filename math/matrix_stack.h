#pragma once

#include <vector>

#include "math/matrix4.h"

namespace rv {

// Current matrix, its cached inverse and the pushed matrices. Every transform
// multiplies `current` on the right, as OpenGL's matrix operations do.
class MatrixStack {
public:
    Matrix4 current;
    // As of the last updateInverse; no other operation keeps it in step.
    Matrix4 inverse;
    std::vector<Matrix4> saved;

    // Empties `saved` and loads the identity; `inverse` stays as it was.
    void reset();
    void push();
    // Throws std::logic_error on an empty stack rather than reading past `saved`.
    void pop();

    // Angles in degrees, converted with pi taken as 3.14159.
    void rotateX(float angle);
    void rotateZ(float angle);
    void translate(float x, float y, float z);
    // Symmetric frustum; ex, ey are the half-extents of the view at distance 1.
    void perspective(float ex, float ey, float near, float far);

    // A singular `current` keeps the previous inverse.
    void updateInverse();

    Vector4 transformPoint(const Vector4& v) const { return transform(current, v); }
    Vector4 transformByInverse(const Vector4& v) const { return transform(inverse, v); }
};

} // namespace rv
