// Every exported file loads through the importer's reader and gives back
// what the host's model held: vertices and normals in the file's axes,
// texture coordinates, triangles, material colours and texture names.
#include <gtest/gtest.h>

#include <memory>

#include "exporter/mesh_geometry.h"
#include "exporter/nif4/nif4_file.h"
#include "exporter/nif4/node_blocks.h"
#include "exporter/nif4/property_blocks.h"
#include "exporter/nif4/trishape_data_block.h"
#include "importer/nif/debug_printer.h"
#include "importer/nif/nif_block.h"
#include "importer/nif/nif_file.h"
#include "importer/nif/qiv_stream.h"
#include "importer/nif/text_exception.h"
#include "tests/exporter/export_fixture.h"

namespace {

struct HostMesh {
    std::string name;
    std::string texture;
    std::string fileName;  // what the file must name
    int vertexCount;
    int triangleCount;
    TestColour diffuse;
};

// Deterministic but irregular values, so that a swapped index or axis shows.
float Wiggle(int i, int salt) { return float((i * 7919 + salt * 104729) % 2001 - 1000) / 64.0f; }

void FillMesh(msMesh* mesh, int vertexCount, int triangleCount) {
    for (int i = 0; i < vertexCount; ++i) {
        TestModel::AddVertex(mesh, Wiggle(i, 1), Wiggle(i, 2), Wiggle(i, 3), Wiggle(i, 4) / 16, Wiggle(i, 5) / 16);
    }
    for (int i = 0; i < vertexCount; ++i) TestModel::AddNormal(mesh, Wiggle(i, 6), Wiggle(i, 7), Wiggle(i, 8));
    for (int t = 0; t < triangleCount; ++t) {
        TestModel::AddTriangle(mesh, t % vertexCount, (t * 3 + 1) % vertexCount, (t * 5 + 2) % vertexCount,
                               (t + 1) % vertexCount, t % vertexCount, (t * 2) % vertexCount);
    }
}

class RoundTrip : public ExportFixture {
protected:
    void Build(const std::vector<HostMesh>& meshes) {
        hostMeshes = meshes;
        for (const HostMesh& m : meshes) {
            const int material = model.AddMaterial(m.name + " material", m.texture, m.diffuse);
            msMaterial* handle = msModel_GetMaterialAt(model.get(), material);
            float ambient[4] = {m.diffuse.b, m.diffuse.g, m.diffuse.r, 0.25f};
            msMaterial_SetAmbient(handle, ambient);
            msMaterial_SetShininess(handle, float(m.vertexCount));
            msMaterial_SetTransparency(handle, 0.75f);
            FillMesh(model.AddMesh(m.name, material), m.vertexCount, m.triangleCount);
        }
    }

    // Exports, loads the file through the reader and compares it with the host's model.
    void ExportAndCompare() {
        ASSERT_EQ(Export(Output()), 1);
        platform::headless::Reset();
        DebugPrinter printer;
        Qiv_Stream stream(&printer);
        std::unique_ptr<NifFile> nif;
        try {
            stream.OpenFile(Output().c_str());
            nif = std::make_unique<NifFile>(&stream);
        } catch (const TextException& error) {
            FAIL() << "the reader refused the exported file: " << error.Text();
        }
        EXPECT_EQ(platform::headless::DebugText(), "") << "the reader warned about the file";

        NifBlock* root = nif->GetRoot();
        ASSERT_NE(root, nullptr);
        EXPECT_STREQ(root->GetId(), "Scene Root");
        const int meshCount = msModel_GetMeshCount(model.get());
        ASSERT_EQ(root->GetNumberChildren(), meshCount);
        for (int child = 0; child < meshCount; ++child) {
            SCOPED_TRACE("root child " + std::to_string(child));
            msMesh* mesh = msModel_GetMeshAt(model.get(), meshCount - 1 - child);
            NifBlock* node = root->GetChild(child);
            ASSERT_NE(node, nullptr);
            ASSERT_EQ(node->GetNumberChildren(), 1);
            CompareShape(mesh, node->GetChild(0), hostMeshes[size_t(meshCount - 1 - child)].fileName);
        }
    }

    void CompareShape(msMesh* mesh, NifBlock* shape, const std::string& fileName) {
        ASSERT_NE(shape, nullptr);
        ASSERT_TRUE(shape->IsShape());
        char name[256] = {};
        msMesh_GetName(mesh, name, 255);
        EXPECT_STREQ(shape->GetParent()->GetId(), name);
        EXPECT_STREQ(shape->GetId(), "Editable Mesh");

        const int vertexCount = msMesh_GetVertexCount(mesh);
        ASSERT_EQ(shape->GetNumberVertexes(), vertexCount);
        EXPECT_NE(shape->HasUVCoords(), 0);
        for (int i = 0; i < vertexCount; ++i) {
            float xyz[3];
            float uv[2];
            msVertex_GetVertex(msMesh_GetVertexAt(mesh, i), xyz);
            msVertex_GetTexCoords(msMesh_GetVertexAt(mesh, i), uv);
            const NifVector& v = shape->GetVertex(i);
            ASSERT_EQ(v.x, xyz[0]) << "vertex " << i;
            ASSERT_EQ(v.y, -xyz[2]) << "vertex " << i;
            ASSERT_EQ(v.z, xyz[1]) << "vertex " << i;
            ASSERT_EQ(shape->GetUVCoord(i, 0).u, uv[0]) << "vertex " << i;
            ASSERT_EQ(shape->GetUVCoord(i, 0).v, uv[1]) << "vertex " << i;
        }
        const int triangleCount = msMesh_GetTriangleCount(mesh);
        ASSERT_EQ(shape->GetNumberTriangles(), triangleCount);
        for (int t = 0; t < triangleCount; ++t) {
            word corners[3];
            msTriangle_GetVertexIndices(msMesh_GetTriangleAt(mesh, t), corners);
            for (int c = 0; c < 3; ++c) ASSERT_EQ(shape->GetTriangleIndex(3 * t + c), corners[c]) << "triangle " << t;
        }

        msMaterial* material = msModel_GetMaterialAt(model.get(), msMesh_GetMaterialIndex(mesh));
        NifBlock* texturing = shape->GetTexturingProperty();
        ASSERT_NE(texturing, nullptr);
        ASSERT_NE(texturing->getFileName(), nullptr);
        EXPECT_EQ(std::string(texturing->getFileName()), fileName);

        NifBlock* materialBlock = shape->GetMaterialProperty();
        ASSERT_NE(materialBlock, nullptr);
        char materialName[256] = {};
        msMaterial_GetName(material, materialName, 255);
        EXPECT_STREQ(materialBlock->GetId(), materialName);
        float diffuse[4];
        float ambient[4];
        msMaterial_GetDiffuse(material, diffuse);
        msMaterial_GetAmbient(material, ambient);
        const NifColour& readDiffuse = materialBlock->GetDiffuseColour();
        const NifColour& readAmbient = materialBlock->GetAmbientColour();
        EXPECT_EQ(readDiffuse.r, diffuse[0]);
        EXPECT_EQ(readDiffuse.g, diffuse[1]);
        EXPECT_EQ(readDiffuse.b, diffuse[2]);
        EXPECT_EQ(readAmbient.r, ambient[0]);
        EXPECT_EQ(readAmbient.b, ambient[2]);
        EXPECT_EQ(materialBlock->GetGlossiness(), msMaterial_GetShininess(material));
        EXPECT_EQ(materialBlock->GetAlpha(), msMaterial_GetTransparency(material));
    }

    std::vector<HostMesh> hostMeshes;
};

}  // namespace

TEST_F(RoundTrip, OneMesh) {
    Build({{"crate", "crate.bmp", "crate.bmp", 8, 12, {0.1f, 0.2f, 0.3f, 1.0f}}});
    ExportAndCompare();
}

TEST_F(RoundTrip, TwoMeshesSharingATexture) {
    Build({{"A", ".\\skin.bmp", "skin.bmp", 5, 3, {1, 0, 0, 1}}, {"B", "skin.bmp", "skin.bmp", 7, 9, {0, 1, 0, 1}}});
    ExportAndCompare();
}

TEST_F(RoundTrip, ThreeMeshesWithTheirOwnTextures) {
    Build({{"m0", "a.bmp", "a.bmp", 3, 1, {0.5f, 0.5f, 0.5f, 1}},
           {"m1", "A.bmp", "A.bmp", 30, 40, {0.25f, 0.5f, 1, 1}},
           {"m2", "..\\up\\b.tga", "\\up\\b.tga", 100, 33, {0, 0, 0, 1}}});
    ExportAndCompare();
}

TEST_F(RoundTrip, LargestWritableMesh) {
    Build({{"full", "full.bmp", "full.bmp", 65535, 65535, {1, 1, 1, 1}}});
    ExportAndCompare();
}

// The export run never writes a geometry block without texture
// coordinates; the writer can, and the reader must still take it.
TEST(RoundTripWriter, GeometryWithoutTexCoordsLoads) {
    CNIF4_File file;
    file.SetHeader(std::make_unique<CNIF4_Header>());
    file.AddBlock(std::make_unique<CNIF4_Node>(4, "Root", 0, nullptr, 1, Nif4LinkArray(new int32_t[1]{1}), 0, nullptr));
    file.AddBlock(std::make_unique<CNIF4_TriShape>(5, "Shape", 0, nullptr, 2));
    auto vertices = std::make_unique<Nif4Vector[]>(3);
    vertices[2] = {1, 2, 3};
    auto triangles = std::make_unique<Nif4Triangle[]>(1);
    triangles[0] = {{0, 1, 2}};
    file.AddBlock(std::make_unique<CNIF4_TriShapeData>(3, std::move(vertices), std::make_unique<Nif4Vector[]>(3),
                                                       Nif4Vector{}, 1.0f, 0, nullptr, 1, std::move(triangles)));
    file.SetFooter(std::make_unique<CNIF4_Footer>());
    Nif4Output out;
    ASSERT_TRUE(file.Write(&out));

    platform::headless::Reset();
    DebugPrinter printer;
    Qiv_Stream stream(&printer);
    stream.OpenBytes(out.Bytes().data(), out.Size(), "no coordinates");
    try {
        NifFile nif(&stream);
        NifBlock* shape = nif.GetRoot()->GetChild(0);
        ASSERT_NE(shape, nullptr);
        EXPECT_EQ(shape->GetNumberVertexes(), 3);
        EXPECT_EQ(shape->HasUVCoords(), 0);
        EXPECT_EQ(shape->GetVertex(2).z, 3.0f);
        EXPECT_EQ(shape->GetTriangleIndex(2), 2);
    } catch (const TextException& error) {
        FAIL() << error.Text();
    }
}
