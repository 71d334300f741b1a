#include "math/matrix4.h"

#include <cmath>
#include <utility>

namespace rv {

namespace {

// Subtract m x pivot from row over [from, 8); over the identity half only where the
// pivot row is non-zero, which keeps exact zeros exact for permutation-like input.
void eliminate(double* row, const double* pivot, double m, int from, int to, bool skipZeros) {
    for (int c = from; c < to; ++c)
        if (!skipZeros || pivot[c] != 0) row[c] -= m * pivot[c];
}

void pivotDown(double*& upper, double*& lower, int col) {
    if (std::fabs(lower[col]) > std::fabs(upper[col])) std::swap(upper, lower);
}

} // namespace

bool invert(const Matrix4& src, Matrix4& dst) {
    double rows[4][8];
    for (int i = 0; i < 4; ++i)
        for (int c = 0; c < 4; ++c) {
            rows[i][c] = src(i, c);
            rows[i][c + 4] = i == c ? 1.0 : 0.0;
        }
    // Swaps exchange these handles, never the row data.
    double* r0 = rows[0];
    double* r1 = rows[1];
    double* r2 = rows[2];
    double* r3 = rows[3];

    pivotDown(r2, r3, 0);
    pivotDown(r1, r2, 0);
    pivotDown(r0, r1, 0);
    if (r0[0] == 0) return false;
    for (double* r : {r1, r2, r3}) {
        const double m = r[0] / r0[0];
        eliminate(r, r0, m, 1, 4, false);
        eliminate(r, r0, m, 4, 8, true);
    }

    pivotDown(r2, r3, 1);
    pivotDown(r1, r2, 1);
    if (r1[1] == 0) return false;
    for (double* r : {r2, r3}) {
        const double m = r[1] / r1[1];
        eliminate(r, r1, m, 2, 4, false);
        eliminate(r, r1, m, 4, 8, true);
    }

    pivotDown(r2, r3, 2);
    if (r2[2] == 0) return false;
    eliminate(r3, r2, r3[2] / r2[2], 3, 8, false);

    if (r3[3] == 0) return false;

    // Back substitution; the order of these steps fixes the rounding of the result.
    const double s3 = 1 / r3[3];
    for (int c = 4; c < 8; ++c) r3[c] *= s3;
    const double s2 = 1 / r2[2];
    for (int c = 4; c < 8; ++c) r2[c] = s2 * (r2[c] - r2[3] * r3[c]);
    for (int c = 4; c < 8; ++c) r1[c] -= r1[3] * r3[c];
    for (int c = 4; c < 8; ++c) r0[c] -= r0[3] * r3[c];
    const double s1 = 1 / r1[1];
    for (int c = 4; c < 8; ++c) r1[c] = s1 * (r1[c] - r1[2] * r2[c]);
    for (int c = 4; c < 8; ++c) r0[c] -= r0[2] * r2[c];
    const double s0 = 1 / r0[0];
    for (int c = 4; c < 8; ++c) r0[c] = s0 * (r0[c] - r0[1] * r1[c]);

    const double* handles[4] = {r0, r1, r2, r3};
    for (int i = 0; i < 4; ++i)
        for (int c = 0; c < 4; ++c) dst(i, c) = static_cast<float>(handles[i][c + 4]);
    return true;
}

} // namespace rv
