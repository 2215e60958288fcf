// 4x4 transform matrices for placing bones and blocks.
//
// Convention: 16 floats row by row, element [row][column]; points are row
// vectors on the left, p' = p * M; an affine transform keeps its translation
// in row 3 and has column 3 equal to (0, 0, 0, 1).
#pragma once

#include "importer/nif/records.h"

struct Matrix44 {
    float m[4][4];
};

// output = identity.
void Identity(Matrix44& output);
// The rotation record as a transform for row vectors: its transpose,
// element [i][j] = record[3j + i], with row 3 and column 3 = (0, 0, 0, 1).
void ToMatrix44(const Matrix33& rotation, Matrix44& output);
// output = a * b; output may be the same object as a or b.
void Multiply(Matrix44& output, const Matrix44& a, const Matrix44& b);
// Identity with row 3 = (x, y, z, 1).
void MakeTranslation(Matrix44& output, float x, float y, float z);
// Diagonal (sx, sy, sz, 1), zero elsewhere.
void MakeScaling(Matrix44& output, float sx, float sy, float sz);
// Returns true and output = m^-1; returns false and leaves output untouched
// when the determinant is 0 or its reciprocal is not finite.
bool Invert(Matrix44& output, const Matrix44& m);
// output = (x, y, z, 1) * m, four floats; divide by output[3] for a position.
void TransformPoint(float output[4], const float point[3], const Matrix44& m);
