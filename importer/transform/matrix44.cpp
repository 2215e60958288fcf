#include "importer/transform/matrix44.h"

#include <cmath>

void Identity(Matrix44& output) {
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) output.m[i][j] = i == j ? 1.0f : 0.0f;
    }
}

void ToMatrix44(const Matrix33& rotation, Matrix44& output) {
    Identity(output);
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) output.m[i][j] = rotation.m[3 * j + i];
    }
}

void Multiply(Matrix44& output, const Matrix44& a, const Matrix44& b) {
    Matrix44 product;  // output may alias a or b
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            product.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] + a.m[i][3] * b.m[3][j];
        }
    }
    output = product;
}

void MakeTranslation(Matrix44& output, float x, float y, float z) {
    Identity(output);
    output.m[3][0] = x;
    output.m[3][1] = y;
    output.m[3][2] = z;
}

void MakeScaling(Matrix44& output, float sx, float sy, float sz) {
    Identity(output);
    output.m[0][0] = sx;
    output.m[1][1] = sy;
    output.m[2][2] = sz;
}

namespace {

// Determinant of the 3x3 minor of m that leaves out `row` and `column`.
float Minor(const Matrix44& m, int row, int column) {
    int r[3], c[3];
    for (int i = 0, k = 0; i < 4; ++i) {
        if (i != row) r[k++] = i;
    }
    for (int j = 0, k = 0; j < 4; ++j) {
        if (j != column) c[k++] = j;
    }
    const auto at = [&](int i, int j) { return m.m[r[i]][c[j]]; };
    return at(0, 0) * (at(1, 1) * at(2, 2) - at(1, 2) * at(2, 1)) -
           at(0, 1) * (at(1, 0) * at(2, 2) - at(1, 2) * at(2, 0)) +
           at(0, 2) * (at(1, 0) * at(2, 1) - at(1, 1) * at(2, 0));
}

}  // namespace

bool Invert(Matrix44& output, const Matrix44& m) {
    float cofactor[4][4];
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            const float minor = Minor(m, i, j);
            cofactor[i][j] = (i + j) % 2 == 0 ? minor : -minor;
        }
    }
    const float determinant =
        m.m[0][0] * cofactor[0][0] + m.m[0][1] * cofactor[0][1] + m.m[0][2] * cofactor[0][2] + m.m[0][3] * cofactor[0][3];
    if (determinant == 0.0f) return false;
    const float reciprocal = 1.0f / determinant;
    if (!std::isfinite(reciprocal)) return false;
    // The inverse is the adjugate (transposed cofactors) times 1/determinant.
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) output.m[i][j] = cofactor[j][i] * reciprocal;
    }
    return true;
}

void TransformPoint(float output[4], const float point[3], const Matrix44& m) {
    for (int j = 0; j < 4; ++j) {
        output[j] = point[0] * m.m[0][j] + point[1] * m.m[1][j] + point[2] * m.m[2][j] + m.m[3][j];
    }
}
