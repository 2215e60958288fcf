// Exporting a model as full as the host's lists allow: the model is filled
// through a model library that keeps the host's limits until it refuses,
// and the export writes all of it.
#include <gtest/gtest.h>

#include <string>

#include "tests/exporter/export_fixture.h"

namespace {

class HostLimits : public ExportFixture {
protected:
    void SetUp() override {
        ExportFixture::SetUp();
        msModel_SetHostLimits(model.get(), 1);
    }
};

TEST_F(HostLimits, FullModelIsExportedWhole) {
    // As many materials as the host takes, each with its own texture.
    int materials = 0;
    while (model.AddMaterial("m" + std::to_string(materials), "t" + std::to_string(materials) + ".bmp") != -1) {
        ++materials;
    }
    ASSERT_EQ(materials, 128);

    // As many meshes as the host takes, using the materials in turn; the
    // first holds as many vertices and triangles as the host takes.
    while (msModel_AddMesh(model.get()) != -1) {
    }
    const int meshes = msModel_GetMeshCount(model.get());
    ASSERT_EQ(meshes, 255);
    for (int m = 0; m < meshes; ++m) {
        msMesh* mesh = msModel_GetMeshAt(model.get(), m);
        msMesh_SetName(mesh, ("mesh" + std::to_string(m)).c_str());
        msMesh_SetMaterialIndex(mesh, m % materials);
        const int normal = TestModel::AddNormal(mesh, 0, 0, 1);
        if (m == 0) {
            while (TestModel::AddVertex(mesh, 1, 2, 3, 0, 0) != -1) {
            }
            while (TestModel::AddTriangle(mesh, 0, 1, 2, normal, normal, normal) != -1) {
            }
        } else {
            for (int v = 0; v < 3; ++v) TestModel::AddVertex(mesh, float(v), 0, 0, 0, 0);
            TestModel::AddTriangle(mesh, 0, 1, 2, normal, normal, normal);
        }
    }
    ASSERT_EQ(msMesh_GetVertexCount(msModel_GetMeshAt(model.get(), 0)), 65534);
    ASSERT_EQ(msMesh_GetTriangleCount(msModel_GetMeshAt(model.get(), 0)), 65534);

    ASSERT_EQ(Export(Output()), 1);
    EXPECT_TRUE(MessageTexts().empty());
    const scan::Scene scene = ScanOutput();
    ASSERT_TRUE(scene.complete);
    // Root and two properties, five blocks a mesh, one source texture a material.
    ASSERT_EQ(scene.blocks.size(), size_t(3 + 5 * meshes + materials));
    ASSERT_EQ(scene.blocks[0].children.size(), size_t(meshes));
    // Meshes are written from the last to the first: the first comes last.
    const scan::Block& lastData = scene.blocks.back();
    EXPECT_EQ(lastData.type, "NiTriShapeData");
    EXPECT_EQ(lastData.vertexCount, 65534);
    EXPECT_EQ(lastData.triangleCount, 65534);
    EXPECT_EQ(scene.blocks[size_t(scene.blocks[0].children.back())].name, "mesh0");
}

}  // namespace
