// One host mesh to geometry arrays: axes, first-corner normals, bounding
// sphere, texture coordinates and triangles as the host holds them.
#include <gtest/gtest.h>

#include <cmath>

#include "exporter/mesh_geometry.h"
#include "tests/exporter/test_model.h"

namespace {

void ExpectVector(const Nif4Vector& actual, float x, float y, float z) {
    EXPECT_FLOAT_EQ(actual.x, x);
    EXPECT_FLOAT_EQ(actual.y, y);
    EXPECT_FLOAT_EQ(actual.z, z);
}

}  // namespace

TEST(MeshAxes, HostYBecomesFileZAndHostZBecomesFileMinusY) {
    ExpectVector(ToNifAxes({1, 2, 3}), 1, -3, 2);
    ExpectVector(ToNifAxes({0, 1, 0}), 0, 0, 1);
}

TEST(MeshGeometryConversion, PositionsAndNormalsChangeAxes) {
    TestModel model;
    msMesh* mesh = model.AddMesh("m", 0);
    TestModel::AddVertex(mesh, 1, 2, 3, 0, 0);
    const int n = TestModel::AddNormal(mesh, 0, 1, 0);
    TestModel::AddTriangle(mesh, 0, 0, 0, n, n, n);
    const MeshGeometry g = ConvertMeshGeometry(mesh);
    ASSERT_EQ(g.vertexCount, 1);
    ExpectVector(g.vertices[0], 1, -3, 2);
    ExpectVector(g.normals[0], 0, 0, 1);
}

TEST(MeshGeometryConversion, FirstTriangleUsingAVertexGivesItsNormal) {
    TestModel model;
    msMesh* mesh = model.AddMesh("m", 0);
    for (int i = 0; i < 8; ++i) TestModel::AddVertex(mesh, float(i), 0, 0, 0, 0);
    const int up = TestModel::AddNormal(mesh, 0, 0, 1);     // file (0, -1, 0)
    const int side = TestModel::AddNormal(mesh, 1, 0, 0);   // file (1, 0, 0)
    const int front = TestModel::AddNormal(mesh, 0, 1, 0);  // file (0, 0, 1)
    TestModel::AddTriangle(mesh, 0, 1, 2, up, up, up);           // 0
    TestModel::AddTriangle(mesh, 0, 1, 2, side, side, side);     // 1
    TestModel::AddTriangle(mesh, 3, 4, 5, front, side, up);      // 2: vertex 5 first used here
    TestModel::AddTriangle(mesh, 6, 6, 4, up, front, front);     // 3: vertex 6 twice
    TestModel::AddTriangle(mesh, 7, 0, 0, side, side, side);     // 4
    TestModel::AddTriangle(mesh, 5, 3, 7, side, side, front);    // 5: vertex 5 again
    const MeshGeometry g = ConvertMeshGeometry(mesh);
    ExpectVector(g.normals[0], 0, -1, 0);
    ExpectVector(g.normals[2], 0, -1, 0);
    ExpectVector(g.normals[3], 0, 0, 1);
    ExpectVector(g.normals[4], 1, 0, 0);
    ExpectVector(g.normals[5], 0, -1, 0);  // triangle 2's, not triangle 5's
    ExpectVector(g.normals[6], 0, -1, 0);  // the lower corner's
    ExpectVector(g.normals[7], 1, 0, 0);
}

TEST(MeshGeometryConversion, UnusedVertexKeepsZeroNormal) {
    TestModel model;
    msMesh* mesh = model.AddTriangleMesh("m", 0);
    TestModel::AddVertex(mesh, 5, 5, 5, 0, 0);
    const MeshGeometry g = ConvertMeshGeometry(mesh);
    ASSERT_EQ(g.vertexCount, 4);
    ExpectVector(g.normals[3], 0, 0, 0);
    ExpectVector(g.normals[0], 0, -1, 0);
}

TEST(MeshGeometryConversion, SingleVertexHasZeroRadius) {
    TestModel model;
    msMesh* mesh = model.AddMesh("m", 0);
    TestModel::AddVertex(mesh, 4, 0, 0, 0, 0);
    const MeshGeometry g = ConvertMeshGeometry(mesh);
    ExpectVector(g.centre, 4, 0, 0);
    EXPECT_EQ(g.radius, 0.0f);
}

TEST(MeshGeometryConversion, SphereIsHalfTheBoxDiagonal) {
    TestModel model;
    msMesh* mesh = model.AddMesh("m", 0);
    // Host points whose file-axis forms are (-1, -1, -1) and (1, 1, 1).
    TestModel::AddVertex(mesh, -1, -1, 1, 0, 0);
    TestModel::AddVertex(mesh, 1, 1, -1, 0, 0);
    const MeshGeometry g = ConvertMeshGeometry(mesh);
    ExpectVector(g.vertices[0], -1, -1, -1);
    ExpectVector(g.vertices[1], 1, 1, 1);
    ExpectVector(g.centre, 0, 0, 0);
    EXPECT_FLOAT_EQ(g.radius, 1.7320508f);
}

TEST(MeshGeometryConversion, BoxStartsAtPlusMinusTenThousand) {
    TestModel model;
    msMesh* mesh = model.AddMesh("m", 0);
    TestModel::AddVertex(mesh, 20000, 0, 20000, 0, 0);  // file (20000, -20000, 0)
    TestModel::AddVertex(mesh, 30000, 0, 30000, 0, 0);  // file (30000, -30000, 0)
    const MeshGeometry g = ConvertMeshGeometry(mesh);
    // x: min stays 10000, max 30000; y: max stays -10000, min -30000; z: 0..0.
    ExpectVector(g.centre, 20000, -20000, 0);
    EXPECT_FLOAT_EQ(g.radius, 0.5f * std::sqrt(20000.0f * 20000.0f * 2.0f));
}

TEST(MeshGeometryConversion, TexCoordsAndTrianglesPassUnchanged) {
    TestModel model;
    msMesh* mesh = model.AddMesh("m", 0);
    TestModel::AddVertex(mesh, 0, 0, 0, 0.25f, 0.75f);
    TestModel::AddVertex(mesh, 1, 0, 0, -2.0f, 3.5f);
    TestModel::AddVertex(mesh, 0, 1, 0, 0, 0);
    TestModel::AddTriangle(mesh, 2, 0, 1, 0, 0, 0);
    TestModel::AddTriangle(mesh, 1, 2, 0, 0, 0, 0);
    TestModel::AddNormal(mesh, 0, 0, 1);
    const MeshGeometry g = ConvertMeshGeometry(mesh);
    EXPECT_EQ(g.texCoords[0].u, 0.25f);
    EXPECT_EQ(g.texCoords[0].v, 0.75f);
    EXPECT_EQ(g.texCoords[1].u, -2.0f);
    EXPECT_EQ(g.texCoords[1].v, 3.5f);
    ASSERT_EQ(g.triangleCount, 2);
    EXPECT_EQ(g.triangles[0].corners[0], 2);
    EXPECT_EQ(g.triangles[0].corners[1], 0);
    EXPECT_EQ(g.triangles[0].corners[2], 1);
    EXPECT_EQ(g.triangles[1].corners[0], 1);
    EXPECT_EQ(g.triangles[1].corners[2], 0);
}

TEST(MeshGeometryConversion, LargeMeshGetsEveryVertex) {
    TestModel model;
    msMesh* mesh = model.AddMesh("m", 0);
    for (int i = 0; i < 40000; ++i) TestModel::AddVertex(mesh, float(i), 0, 0, float(i), 0);
    const MeshGeometry g = ConvertMeshGeometry(mesh);
    ASSERT_EQ(g.vertexCount, 40000);
    EXPECT_EQ(g.vertices[39999].x, 39999.0f);
    EXPECT_EQ(g.texCoords[39999].u, 39999.0f);
    ExpectVector(g.normals[39999], 0, 0, 0);
    EXPECT_EQ(g.triangleCount, 0);
}
