// The matrix operations: conventions, inversion, point transforms.
#include <gtest/gtest.h>

#include "importer/transform/matrix44.h"

namespace {

void ExpectRows(const Matrix44& m, std::initializer_list<std::initializer_list<float>> rows) {
    int i = 0;
    for (auto row : rows) {
        int j = 0;
        for (float value : row) {
            EXPECT_FLOAT_EQ(m.m[i][j], value) << "element [" << i << "][" << j << "]";
            ++j;
        }
        ++i;
    }
}

TEST(Matrix, ToMatrix44Transposes) {
    Matrix33 record{{1, 2, 3, 4, 5, 6, 7, 8, 9}};
    Matrix44 m;
    ToMatrix44(record, m);
    ExpectRows(m, {{1, 4, 7, 0}, {2, 5, 8, 0}, {3, 6, 9, 0}, {0, 0, 0, 1}});
}

TEST(Matrix, Matrix33StartsAsIdentity) {
    Matrix33 record;
    Matrix44 m;
    ToMatrix44(record, m);
    ExpectRows(m, {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}});
}

TEST(Matrix, TranslationAndScalingLayout) {
    Matrix44 t, s;
    MakeTranslation(t, 1, 2, 3);
    ExpectRows(t, {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {1, 2, 3, 1}});
    MakeScaling(s, 2, 3, 4);
    ExpectRows(s, {{2, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 4, 0}, {0, 0, 0, 1}});
}

TEST(Matrix, RotateScaleTranslateMovesPointAsLocalTransform) {
    Matrix44 l, step;
    Identity(l);
    ToMatrix44(Matrix33{}, step);
    Multiply(l, l, step);
    MakeScaling(step, 2, 2, 2);
    Multiply(l, l, step);
    MakeTranslation(step, 1, 2, 3);
    Multiply(l, l, step);
    const float point[3] = {1, 1, 1};
    float out[4];
    TransformPoint(out, point, l);
    EXPECT_FLOAT_EQ(out[0], 3);
    EXPECT_FLOAT_EQ(out[1], 4);
    EXPECT_FLOAT_EQ(out[2], 5);
    EXPECT_FLOAT_EQ(out[3], 1);
}

TEST(Matrix, MultiplyInPlaceMatchesSeparateOutput) {
    Matrix44 a, b, separate;
    ToMatrix44(Matrix33{{0, 1, 0, -1, 0, 0, 0, 0, 1}}, a);
    a.m[3][0] = 5;
    ToMatrix44(Matrix33{{1, 2, 3, 0, 1, 4, 5, 6, 0}}, b);
    b.m[3][2] = -2;
    Multiply(separate, a, b);
    Matrix44 left = a, right = b;
    Multiply(left, left, b);
    Multiply(right, a, right);
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            EXPECT_EQ(left.m[i][j], separate.m[i][j]);
            EXPECT_EQ(right.m[i][j], separate.m[i][j]);
        }
    }
    // Row 3 of a . b: (5, 0, 0, 1) . b = 5 * row 0 of b + row 3 of b.
    EXPECT_FLOAT_EQ(separate.m[3][0], 5 * b.m[0][0] + b.m[3][0]);
    EXPECT_FLOAT_EQ(separate.m[3][2], 5 * b.m[0][2] + b.m[3][2]);
}

TEST(Matrix, InverseOfTranslationMovesOriginBack) {
    Matrix44 k, inverse;
    ToMatrix44(Matrix33{}, k);
    Matrix44 t;
    MakeTranslation(t, 0, 0, 5);
    Multiply(k, k, t);
    ASSERT_TRUE(Invert(inverse, k));
    const float origin[3] = {0, 0, 0};
    float out[4];
    TransformPoint(out, origin, inverse);
    EXPECT_FLOAT_EQ(out[0], 0);
    EXPECT_FLOAT_EQ(out[1], 0);
    EXPECT_FLOAT_EQ(out[2], -5);
    EXPECT_FLOAT_EQ(out[3], 1);
}

TEST(Matrix, InverseTimesMatrixIsIdentity) {
    Matrix44 m, inverse, product;
    ToMatrix44(Matrix33{{2, 1, 0, 0, 3, 1, 1, 0, 4}}, m);
    m.m[3][0] = 7;
    m.m[3][1] = -2;
    m.m[3][2] = 0.5f;
    ASSERT_TRUE(Invert(inverse, m));
    Multiply(product, m, inverse);
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) EXPECT_NEAR(product.m[i][j], i == j ? 1.0f : 0.0f, 1e-5f);
    }
}

TEST(Matrix, SingularMatrixLeavesOutputUntouched) {
    Matrix44 m, output;
    Identity(m);
    for (int j = 0; j < 4; ++j) m.m[0][j] = 0;
    MakeTranslation(output, 9, 8, 7);
    EXPECT_FALSE(Invert(output, m));
    ExpectRows(output, {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {9, 8, 7, 1}});
}

TEST(Matrix, TinyDeterminantWithInfiniteReciprocalFails) {
    Matrix44 m, output;
    MakeScaling(m, 1e-20f, 1e-20f, 1e-20f);  // determinant underflows towards 0
    MakeTranslation(output, 1, 1, 1);
    EXPECT_FALSE(Invert(output, m));
    EXPECT_EQ(output.m[3][0], 1.0f);
}

}  // namespace
