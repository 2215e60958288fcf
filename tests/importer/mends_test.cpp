// Shapes, materials and bones that the file describes only partly: what the
// import makes of them instead of reading outside the data or handing the
// host a null text.
#include <gtest/gtest.h>

#include "importer/convert/stored_geometry.h"
#include "importer/nif/debug_printer.h"
#include "importer/nif/nif_file.h"
#include "importer/nif/qiv_stream.h"
#include "nif_builder/nif_builder.h"
#include "tests/importer/import_fixture.h"

namespace headless = platform::headless;

namespace {

using Partial = ImportTest;

NifBuilder ShapeWithData(const Geometry& geometry) {
    NifBuilder nif;
    nif.FileStart(2);
    TriShapeBlock(nif, "Part", 1);
    TriShapeDataBlock(nif, geometry);
    nif.Footer();
    return nif;
}

TEST_F(Partial, ShapeWithoutADataBlockGivesAnEmptyNamedMeshSilently) {
    NifBuilder nif;
    nif.FileStart(4);
    TriShapeBlock(nif, "NoData", -1, -1, {1, 3});
    TexturingPropertyBlock(nif, 2);
    SourceTextureBlock(nif, "t.bmp", 3, 1, 3);
    MaterialPropertyBlock(nif, "Mat");
    nif.Footer();

    EXPECT_EQ(Import(nif), 0);
    ASSERT_EQ(MeshCount(), 1);
    EXPECT_EQ(MeshName(0), "NoData");
    EXPECT_EQ(msMesh_GetVertexCount(Mesh(0)), 0);
    EXPECT_EQ(msMesh_GetTriangleCount(Mesh(0)), 0);
    EXPECT_EQ(MaterialCount(), 1);
    EXPECT_EQ(msMesh_GetMaterialIndex(Mesh(0)), 0);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(Partial, DataLinkBeyondTheBlocksCountsAsNoData) {
    NifBuilder nif;
    nif.FileStart(1);
    TriShapeBlock(nif, "Dangling", 7);
    nif.Footer();

    EXPECT_EQ(Import(nif), 0);
    EXPECT_EQ(msMesh_GetVertexCount(Mesh(0)), 0);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(Partial, DataLinkToTheWrongTypeShowsTheVertexCountBox) {
    NifBuilder nif;
    nif.FileStart(2);
    TriShapeBlock(nif, "Odd", 1);
    MaterialPropertyBlock(nif, "NotGeometry");
    nif.Footer();

    EXPECT_EQ(Import(nif), 0);
    ASSERT_EQ(MeshCount(), 1);
    EXPECT_EQ(msMesh_GetVertexCount(Mesh(0)), 0);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "GetNumberVertexes");
    EXPECT_EQ(Boxes()[0].caption, "ARGH");
}

TEST_F(Partial, VertexCountWithoutStoredPositionsGivesAnEmptyMesh) {
    Geometry g = TriangleGeometry({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
    g.storeVertices = false;
    EXPECT_EQ(Import(ShapeWithData(g)), 0);
    ASSERT_EQ(MeshCount(), 1);
    EXPECT_EQ(MeshName(0), "Part");
    EXPECT_EQ(msMesh_GetVertexCount(Mesh(0)), 0);
    EXPECT_EQ(msMesh_GetTriangleCount(Mesh(0)), 0);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(headless::DebugText(), "");
}

// Loads the builder's bytes and asks what the first block's geometry stores.
StoredGeometry StoredGeometryOf(const NifBuilder& nif) {
    DebugPrinter printer;
    Qiv_Stream stream(&printer);
    stream.OpenBytes(nif.Data(), nif.Size(), "geometry");
    NifFile file(&stream);
    return FindStoredGeometry(file.GetRoot());
}

TEST_F(Partial, UVFlagWithoutCoordinatesMeansNoTexCoords) {
    Geometry g = TriangleGeometry({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
    g.hasUVFlag = 1;  // set, but the UV set count is 0: nothing stored
    const StoredGeometry stored = StoredGeometryOf(ShapeWithData(g));
    EXPECT_TRUE(stored.hasData);
    EXPECT_TRUE(stored.hasPositions);
    EXPECT_FALSE(stored.hasTexCoords);

    EXPECT_EQ(Import(ShapeWithData(g)), 0);
    EXPECT_EQ(msMesh_GetVertexCount(Mesh(0)), 3);
    EXPECT_EQ(msMesh_GetTriangleCount(Mesh(0)), 1);
}

TEST_F(Partial, StoredGeometryTellsWhatIsThere) {
    Geometry g = TriangleGeometry({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
    g.uvSets = {{{0, 0}, {1, 0}, {0, 1}}};
    StoredGeometry stored = StoredGeometryOf(ShapeWithData(g));
    EXPECT_TRUE(stored.hasData && stored.hasPositions && stored.hasTexCoords);

    g.storeVertices = false;
    stored = StoredGeometryOf(ShapeWithData(g));
    EXPECT_FALSE(stored.hasPositions);

    NifBuilder noData;
    noData.FileStart(1);
    TriShapeBlock(noData, "x", -1);
    noData.Footer();
    EXPECT_FALSE(StoredGeometryOf(noData).hasData);
}

TEST_F(Partial, TrianglesNamingMissingVerticesAreSkippedAndCounted) {
    Geometry g = TriangleGeometry({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
    // Vertex 3 is one past the last: each position of the triangle is checked.
    g.triangles = {3, 0, 1, 0, 3, 1, 0, 1, 3, 2, 1, 0, 65535, 0, 1};
    EXPECT_EQ(Import(ShapeWithData(g)), 0);
    ASSERT_EQ(msMesh_GetTriangleCount(Mesh(0)), 1);
    EXPECT_EQ(TriangleIndices(0, 0), (Index3{2, 1, 0}));
    EXPECT_EQ(headless::DebugText(), "Skipped 4 triangles of shape 'Part' that name missing vertices\n");
}

TEST_F(Partial, TriangleOnTheLastVertexIsKept) {
    Geometry g = TriangleGeometry({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
    g.triangles = {2, 2, 2};
    EXPECT_EQ(Import(ShapeWithData(g)), 0);
    EXPECT_EQ(msMesh_GetTriangleCount(Mesh(0)), 1);
    EXPECT_EQ(headless::DebugText(), "");
}

TEST_F(Partial, ShapeWithAnEmptyNameGivesAnEmptyMeshName) {
    NifBuilder nif;
    nif.FileStart(2);
    TriShapeBlock(nif, "", 1);
    TriShapeDataBlock(nif, TriangleGeometry({0, 0, 0}, {1, 0, 0}, {0, 1, 0}));
    nif.Footer();
    EXPECT_EQ(Import(nif), 0);
    EXPECT_EQ(MeshName(0), "");
}

TEST_F(Partial, BoneWithoutAnIdGetsNoName) {
    // The skin's bone list names a RootCollisionNode child of the root: it is
    // marked, reached by the walk, and has no name to give.
    NifBuilder nif;
    nif.FileStart(6);
    NodeBlock(nif, "Root", {1, 2});
    OtherNodeBlock(nif, "RootCollisionNode", "Collision", {});
    TriShapeBlock(nif, "Skin", 3, 4);
    TriShapeDataBlock(nif, TriangleGeometry({0, 0, 0}, {1, 0, 0}, {0, 1, 0}));
    SkinInstanceBlock(nif, 5, 0, {1});
    SkinDataBlock(nif, {});
    nif.Footer();

    EXPECT_EQ(Import(nif), 0);
    ASSERT_EQ(BoneCount(), 1);
    EXPECT_EQ(BoneName(0), "");
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[0].text, "RootCollisionNode");
    EXPECT_EQ(Boxes()[0].caption, "GetId - ARGH");
    // Asked for its bone matrix, the node answers with the base box too.
    EXPECT_EQ(Boxes()[1].caption, "GetBoneMatrix - ARGH");
}

NifBuilder TexturingWithSource(int32_t source) {
    // 0 shape (properties 1, 2; data 3), 1 texturing, 2 material, 4 extra block.
    NifBuilder nif;
    nif.FileStart(5);
    TriShapeBlock(nif, "Box", 3, -1, {1, 2});
    TexturingPropertyBlock(nif, source);
    MaterialPropertyBlock(nif, "Mat");
    TriShapeDataBlock(nif, TriangleGeometry({0, 0, 0}, {1, 0, 0}, {0, 1, 0}));
    MaterialPropertyBlock(nif, "WrongTypeForASource");
    nif.Footer();
    return nif;
}

TEST_F(Partial, TexturingWithoutABaseSlotGivesAMaterialWithoutTexture) {
    SetTextureDirectory("dir");
    EXPECT_EQ(Import(TexturingWithSource(kNoSlot)), 0);
    ASSERT_EQ(MaterialCount(), 1);
    EXPECT_EQ(MaterialName(0), "Mat");
    EXPECT_EQ(TexturePath(0), "");
    EXPECT_EQ(msMesh_GetMaterialIndex(Mesh(0)), 0);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(Partial, BaseSourceNamingNoBlockGivesNoTexture) {
    EXPECT_EQ(Import(TexturingWithSource(-1)), 0);
    EXPECT_EQ(TexturePath(0), "");
    EXPECT_TRUE(Boxes().empty());

    EXPECT_EQ(Import(TexturingWithSource(99)), 0);
    EXPECT_EQ(TexturePath(1), "");
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(Partial, BaseSourceOfTheWrongTypeShowsTheFileNameBoxAndGivesNoTexture) {
    EXPECT_EQ(Import(TexturingWithSource(4)), 0);
    ASSERT_EQ(MaterialCount(), 1);
    EXPECT_EQ(TexturePath(0), "");
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "getFileName");
    EXPECT_EQ(Boxes()[0].caption, "ARGH");
}

TEST_F(Partial, TexturingWithoutAMaterialPropertyNamesTheMaterialAfterTheShape) {
    msModel_AddMaterial(Model());
    NifBuilder nif;
    nif.FileStart(4);
    TriShapeBlock(nif, "Bare", 3, -1, {1});
    TexturingPropertyBlock(nif, 2);
    SourceTextureBlock(nif, "bare.tga", 3, 1, 3);
    TriShapeDataBlock(nif, TriangleGeometry({0, 0, 0}, {1, 0, 0}, {0, 1, 0}));
    nif.Footer();
    SetTextureDirectory("tex");

    EXPECT_EQ(Import(nif), 0);
    ASSERT_EQ(MaterialCount(), 2);
    EXPECT_EQ(MaterialName(1), "Bare");
    EXPECT_EQ(TexturePath(1), "tex/bare.tga");
    EXPECT_EQ(msMesh_GetMaterialIndex(Mesh(0)), 1);
    // The host's defaults stay.
    msMaterial* material = MaterialAt(1);
    EXPECT_EQ(Colour(&msMaterial_GetAmbient, material), (Float4{0.2f, 0.2f, 0.2f, 1.0f}));
    EXPECT_EQ(Colour(&msMaterial_GetDiffuse, material), (Float4{0.8f, 0.8f, 0.8f, 1.0f}));
    EXPECT_EQ(msMaterial_GetShininess(material), 0.0f);
    EXPECT_EQ(msMaterial_GetTransparency(material), 1.0f);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(Partial, ParentBoneWithoutAnInverseUsesItsLocalTransform) {
    // A's bone record has an all-zero rotation: no inverse, so A's local
    // transform (translation (5, 0, 0)) places it, for itself and as B's parent.
    BoneRecord a, b;
    a.rotation = {0, 0, 0, 0, 0, 0, 0, 0, 0};
    b.translation = {0, 0, -3};
    NifBuilder nif;
    nif.FileStart(7);
    NodeBlock(nif, "Root", {1, 3});
    NodeBlock(nif, "A", {2}, {}, -1, -1, {}, PlacedAt({5, 0, 0}));
    NodeBlock(nif, "B");
    TriShapeBlock(nif, "Skin", 4, 5);
    TriShapeDataBlock(nif, TriangleGeometry({0, 0, 0}, {1, 0, 0}, {0, 1, 0}));
    SkinInstanceBlock(nif, 6, 1, {1, 2});
    SkinDataBlock(nif, {a, b});
    nif.Footer();

    EXPECT_EQ(Import(nif), 0);
    ASSERT_EQ(BoneCount(), 2);
    EXPECT_EQ(BonePosition(0), (Float3{5, 0, 0}));
    EXPECT_EQ(BonePosition(1), (Float3{-5, 0, 3}));
}

}  // namespace
