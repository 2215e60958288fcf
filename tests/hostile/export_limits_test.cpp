// Export of models at the limits of the file format and of the exporter's
// name buffers: what fits is written and reads back, what does not ends with
// its message and leaves no file.
#include <gtest/gtest.h>

#include <string>

#include "exporter/export_plugin.h"
#include "importer/import_run.h"
#include "platform/headless.h"
#include "tests/exporter/temp_folder.h"
#include "tests/exporter/test_model.h"

namespace headless = platform::headless;

namespace {

class ExportLimits : public ::testing::Test {
protected:
    void SetUp() override { headless::Reset(); }
    void TearDown() override { headless::Reset(); }

    // The whole run: execute, the dialog answered with `Output()`, OK.
    int Export(TestModel& model) {
        headless::QueueDialog({{headless::SetText(kControlFileName, Output()), headless::Press(platform::kIdOk)}});
        CNifExportPlugIn plugin;
        return plugin.Execute(model.get());
    }
    std::string Output() const { return folder_.Path("limits.nif"); }
    std::string Messages() const {
        std::string texts;
        for (const auto& box : headless::MessageBoxes()) texts += box.text + "\n";
        return texts;
    }
    // Imports the written file into a fresh model.
    ModelPtr ReadBack() {
        ModelPtr model = MakeModel();
        EXPECT_EQ(ImportNifFile(model.get(), Output().c_str(), ""), 0);
        return model;
    }

    TempFolder folder_{"hostile_export"};
};

// A strip of `triangles` triangles over `vertices` vertices on a 256-wide
// grid; triangle i uses vertices i, i+1, i+2 (modulo the vertex count).
void AddStripMesh(TestModel& model, const std::string& name, int material, int vertices, int triangles) {
    msMesh* mesh = model.AddMesh(name, material);
    for (int i = 0; i < vertices; ++i)
        TestModel::AddVertex(mesh, static_cast<float>(i % 256), static_cast<float>(i / 256), 0, 0, 0);
    const int normal = TestModel::AddNormal(mesh, 0, 0, 1);
    for (int i = 0; i < triangles; ++i)
        TestModel::AddTriangle(mesh, i % vertices, (i + 1) % vertices, (i + 2) % vertices, normal, normal, normal);
}

int VertexCount(const ModelPtr& model) { return msMesh_GetVertexCount(msModel_GetMeshAt(model.get(), 0)); }
int TriangleCount(const ModelPtr& model) { return msMesh_GetTriangleCount(msModel_GetMeshAt(model.get(), 0)); }

}  // namespace

TEST_F(ExportLimits, MeshOf65535VerticesAndTrianglesIsWrittenWhole) {
    TestModel model;
    AddStripMesh(model, "Full", model.AddMaterial("Stone", "stone.bmp"), 65535, 65535);
    ASSERT_EQ(Export(model), 0) << Messages();
    const ModelPtr back = ReadBack();
    ASSERT_EQ(msModel_GetMeshCount(back.get()), 1);
    EXPECT_EQ(VertexCount(back), 65535);
    EXPECT_EQ(TriangleCount(back), 65535);
}

TEST_F(ExportLimits, MeshOf65536VerticesIsRefused_fail) {
    TestModel model;
    AddStripMesh(model, "Too Many", model.AddMaterial("Stone", "stone.bmp"), 65536, 1);
    EXPECT_EQ(Export(model), -1);
    EXPECT_EQ(Messages(), "Mesh 'Too Many' has more than 65535 vertices or triangles,\nexport aborted.\n");
    EXPECT_TRUE(folder_.Entries().empty());
    EXPECT_EQ(msModel_GetDestroyCount(model.get()), 0);
}

TEST_F(ExportLimits, MeshOf65536TrianglesIsRefused_fail) {
    TestModel model;
    AddStripMesh(model, "Dense", model.AddMaterial("Stone", "stone.bmp"), 3, 65536);
    EXPECT_EQ(Export(model), -1);
    EXPECT_EQ(Messages(), "Mesh 'Dense' has more than 65535 vertices or triangles,\nexport aborted.\n");
    EXPECT_TRUE(folder_.Entries().empty());
}

TEST_F(ExportLimits, TextureNameOf254CharactersIsKept) {
    const std::string texture = std::string(250, 't') + ".bmp";
    TestModel model;
    AddStripMesh(model, "Mesh", model.AddMaterial("Long", texture), 3, 1);
    ASSERT_EQ(Export(model), 0) << Messages();
    const ModelPtr back = ReadBack();
    ASSERT_EQ(msModel_GetMaterialCount(back.get()), 1);
    char path[512] = {};
    msMaterial_GetDiffuseTexture(msModel_GetMaterialAt(back.get(), 0), path, 511);
    // The import puts the (here empty) texture directory in front.
    EXPECT_EQ(std::string(path), "/" + texture);
}

// The exporter holds names in 255-character buffers: a name that fills one
// may have been cut, so it is refused.
TEST_F(ExportLimits, TextureNameOf255CharactersIsRefused_fail) {
    TestModel model;
    AddStripMesh(model, "Mesh", model.AddMaterial("Long", std::string(251, 't') + ".bmp"), 3, 1);
    EXPECT_EQ(Export(model), -1);
    EXPECT_EQ(Messages(), "Invalid texture filename, aborting export.\n");
    EXPECT_TRUE(folder_.Entries().empty());
}

TEST_F(ExportLimits, EmptyTextureNameIsRefused_fail) {
    TestModel model;
    AddStripMesh(model, "Mesh", model.AddMaterial("Plain", ""), 3, 1);
    EXPECT_EQ(Export(model), -1);
    EXPECT_EQ(Messages(), "No texture specified, aborting export.\n");
    EXPECT_TRUE(folder_.Entries().empty());
}

// The writer's blocks refuse names of length 0 (their constructor checks),
// so a mesh without a name ends the export with that check's message.
TEST_F(ExportLimits, EmptyMeshNameIsRefused_fail) {
    TestModel model;
    AddStripMesh(model, "", model.AddMaterial("Stone", "a.bmp"), 3, 1);
    EXPECT_EQ(Export(model), -1);
    EXPECT_EQ(Messages(), "CNIF4_Node::CNIF4_Node: nodeNameLength less than 1\n");
    EXPECT_TRUE(folder_.Entries().empty());
    EXPECT_EQ(msModel_GetDestroyCount(model.get()), 0);
}

TEST_F(ExportLimits, EmptyMaterialNameIsWritten) {
    TestModel model;
    AddStripMesh(model, "Mesh", model.AddMaterial("", "a.bmp"), 3, 1);
    ASSERT_EQ(Export(model), 0) << Messages();
    const ModelPtr back = ReadBack();
    EXPECT_EQ(msModel_GetMeshCount(back.get()), 1);
    EXPECT_EQ(TriangleCount(back), 1);
}

// Likewise the geometry block refuses a triangle count of 0.
TEST_F(ExportLimits, MeshWithVerticesButNoTrianglesIsRefused_fail) {
    TestModel model;
    AddStripMesh(model, "Points", model.AddMaterial("Stone", "stone.bmp"), 5, 0);
    EXPECT_EQ(Export(model), -1);
    EXPECT_EQ(Messages(), "CNIF4_TriShapeData::CNIF4_TriShapeData: numTriangles less than 1\n");
    EXPECT_TRUE(folder_.Entries().empty());
}

TEST_F(ExportLimits, MeshWithoutVerticesIsRefused_fail) {
    TestModel model;
    const int material = model.AddMaterial("Stone", "stone.bmp");
    AddStripMesh(model, "Triangle", material, 3, 1);
    AddStripMesh(model, "Nothing", material, 0, 0);
    EXPECT_EQ(Export(model), -1);
    EXPECT_EQ(Messages(), "CNIF4_TriShapeData::CNIF4_TriShapeData: numVertices less than 1\n");
    EXPECT_TRUE(folder_.Entries().empty());
}
