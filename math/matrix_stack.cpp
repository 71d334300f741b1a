#include "math/matrix_stack.h"

#include <cmath>
#include <stdexcept>

namespace rv {

namespace {

struct CosSin {
    float c, s;
};

CosSin cosSinOfDegrees(float angle) {
    const float theta = static_cast<float>(static_cast<double>(angle) * 3.14159 / 180);
    return {static_cast<float>(std::cos(static_cast<double>(theta))),
            static_cast<float>(std::sin(static_cast<double>(theta)))};
}

} // namespace

void MatrixStack::reset() {
    saved.clear();
    current = identity();
}

void MatrixStack::push() { saved.push_back(current); }

void MatrixStack::pop() {
    if (saved.empty()) throw std::logic_error("MatrixStack::pop on an empty stack");
    current = saved.back();
    saved.pop_back();
}

// | 1  0  0  0 |
// | 0  c -s  0 |
// | 0  s  c  0 |
// | 0  0  0  1 |
void MatrixStack::rotateX(float angle) {
    const auto [c, s] = cosSinOfDegrees(angle);
    current *= fromRows({1, 0, 0, 0}, {0, c, -s, 0}, {0, s, c, 0}, {0, 0, 0, 1});
}

// | c -s  0  0 |
// | s  c  0  0 |
// | 0  0  1  0 |
// | 0  0  0  1 |
void MatrixStack::rotateZ(float angle) {
    const auto [c, s] = cosSinOfDegrees(angle);
    current *= fromRows({c, -s, 0, 0}, {s, c, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1});
}

// | 1  0  0  x |
// | 0  1  0  y |
// | 0  0  1  z |
// | 0  0  0  1 |
void MatrixStack::translate(float x, float y, float z) {
    current *= fromRows({1, 0, 0, x}, {0, 1, 0, y}, {0, 0, 1, z}, {0, 0, 0, 1});
}

// | 1/ex  0     0             0            |
// | 0     1/ey  0             0            |
// | 0     0    -(f+n)/(f-n)  -2fn/(f-n)    |
// | 0     0    -1             0            |
// Eye-space depth -n maps to -1 and -f to +1 after the divide by w.
void MatrixStack::perspective(float ex, float ey, float n, float f) {
    current *= fromRows({1 / ex, 0, 0, 0}, {0, 1 / ey, 0, 0},
                        {0, 0, -(f + n) / (f - n), -2 * f * n / (f - n)}, {0, 0, -1, 0});
}

void MatrixStack::updateInverse() { invert(current, inverse); }

} // namespace rv
