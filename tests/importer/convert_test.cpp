// Scene-to-model conversion: meshes, materials, texture paths, vertices,
// triangles and the walk, checked on the stand-in model after a real import.
#include <gtest/gtest.h>

#include "nif_builder/nif_builder.h"
#include "tests/importer/import_fixture.h"


namespace {

using Convert = ImportTest;

// A root node with a textured, coloured shape:
// 0 NiNode "Root" -> 1 NiTriShape "Box" (properties 2, 4; data 5)
// 2 NiTexturingProperty -> 3 NiSourceTexture `fileName`; 4 NiMaterialProperty "Wood"
NifBuilder TexturedShape(const std::string& fileName, const MaterialValues& values = {}) {
    NifBuilder nif;
    nif.FileStart(6);
    NodeBlock(nif, "Root", {1});
    TriShapeBlock(nif, "Box", 5, -1, {2, 4});
    TexturingPropertyBlock(nif, 3);
    SourceTextureBlock(nif, fileName, 3, 1, 3);
    MaterialPropertyBlock(nif, "Wood", -1, 1, values);
    TriShapeDataBlock(nif, TriangleGeometry({0, 0, 0}, {1, 0, 0}, {0, 1, 0}));
    nif.Footer();
    return nif;
}

TEST_F(Convert, RootShapeImportsOneMeshAndReportsIt) {
    NifBuilder nif;
    nif.FileStart(2);
    TriShapeBlock(nif, "Alone", 1);
    TriShapeDataBlock(nif, TriangleGeometry({0, 0, 0}, {1, 0, 0}, {0, 1, 0}));
    nif.Footer();

    EXPECT_EQ(Import(nif), 0);
    ASSERT_EQ(MeshCount(), 1);
    EXPECT_EQ(MeshName(0), "Alone");
    EXPECT_EQ(MaterialCount(), 0);
    EXPECT_EQ(BoneCount(), 0);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(Convert, ChildShapesBecomeMeshesInChildOrderWithoutMaterials) {
    NifBuilder nif;
    nif.FileStart(5);
    NodeBlock(nif, "Root", {3, 1});
    TriShapeBlock(nif, "Second", 2);
    TriShapeDataBlock(nif, TriangleGeometry({0, 0, 0}, {1, 0, 0}, {0, 1, 0}));
    TriShapeBlock(nif, "First", 4);
    TriShapeDataBlock(nif, TriangleGeometry({0, 0, 0}, {1, 0, 0}, {0, 1, 0}));
    nif.Footer();

    EXPECT_EQ(Import(nif), 0);
    ASSERT_EQ(MeshCount(), 2);
    EXPECT_EQ(MeshName(0), "First");
    EXPECT_EQ(MeshName(1), "Second");
    EXPECT_EQ(MaterialCount(), 0);
    EXPECT_EQ(msMesh_GetMaterialIndex(Mesh(0)), -1);
}

TEST_F(Convert, NodesOnlyAddNothingAndReportNoMesh) {
    NifBuilder nif;
    nif.FileStart(2);
    NodeBlock(nif, "Root", {1});
    NodeBlock(nif, "Leaf");
    nif.Footer();

    EXPECT_EQ(Import(nif), 1);
    EXPECT_EQ(MeshCount(), 0);
    EXPECT_EQ(BoneCount(), 0);
}

TEST_F(Convert, FileWithoutBlocksAddsNothingAndReportsNoMesh) {
    NifBuilder nif;
    nif.FileStart(0).Footer();
    EXPECT_EQ(Import(nif), 1);
    EXPECT_EQ(MeshCount(), 0);
}

TEST_F(Convert, VerticesTexCoordsAndTrianglesGoToTheHostAsStored) {
    // The node's translation (10, 0, 0) is not applied, and v is not flipped.
    NifBuilder nif;
    nif.FileStart(3);
    NodeBlock(nif, "Root", {1}, {}, -1, -1, {}, PlacedAt({10, 0, 0}));
    TriShapeBlock(nif, "Quad", 2);
    Geometry quad;
    quad.vertices = {{0, 0, 0}, {2, 0, 0}, {2, 3, 0}, {0, 3, -1.5f}};
    quad.uvSets = {{{0, 0}, {1, 0}, {1, 0.25f}, {0, 1}}};
    quad.triangles = {0, 1, 2, 0, 2, 3};
    TriShapeDataBlock(nif, quad);
    nif.Footer();

    ASSERT_EQ(Import(nif), 0);
    ASSERT_EQ(msMesh_GetVertexCount(Mesh(0)), 4);
    EXPECT_EQ(Vertex(0, 1), (Float3{2, 0, 0}));
    EXPECT_EQ(Vertex(0, 3), (Float3{0, 3, -1.5f}));
    EXPECT_EQ(TexCoords(0, 2), (Float2{1, 0.25f}));
    EXPECT_EQ(TexCoords(0, 3), (Float2{0, 1}));
    ASSERT_EQ(msMesh_GetTriangleCount(Mesh(0)), 2);
    EXPECT_EQ(TriangleIndices(0, 0), (Index3{0, 1, 2}));
    EXPECT_EQ(TriangleIndices(0, 1), (Index3{0, 2, 3}));
}

TEST_F(Convert, TexCoordsComeFromSetZeroOnly) {
    NifBuilder good;
    good.FileStart(2);
    TriShapeBlock(good, "TwoSets", 1);
    Geometry g = TriangleGeometry({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
    g.uvSets = {{{0.1f, 0.2f}, {0.3f, 0.4f}, {0.5f, 0.6f}}, {{9, 9}, {8, 8}, {7, 7}}};
    TriShapeDataBlock(good, g);
    good.Footer();

    ASSERT_EQ(Import(good), 0);
    EXPECT_EQ(TexCoords(0, 0), (Float2{0.1f, 0.2f}));
    EXPECT_EQ(TexCoords(0, 2), (Float2{0.5f, 0.6f}));
}

TEST_F(Convert, EmptyShapeStillAddsANamedMeshAndCountsAsAMesh) {
    NifBuilder nif;
    nif.FileStart(3);
    NodeBlock(nif, "Root", {1});
    TriShapeBlock(nif, "Empty", 2);
    TriShapeDataBlock(nif, Geometry{});
    nif.Footer();

    EXPECT_EQ(Import(nif), 0);
    ASSERT_EQ(MeshCount(), 1);
    EXPECT_EQ(MeshName(0), "Empty");
    EXPECT_EQ(msMesh_GetVertexCount(Mesh(0)), 0);
    EXPECT_EQ(msMesh_GetTriangleCount(Mesh(0)), 0);
}

TEST_F(Convert, MaterialTakesNameColoursGlossinessAlphaAndTheMeshGetsItsIndex) {
    // One material is already in the model: the new one gets index 1.
    msModel_AddMaterial(Model());
    MaterialValues values;
    values.diffuse = {0.5f, 0.5f, 0.5f};
    values.emissive = {0.0f, 0.25f, 0.0f};
    values.glossiness = 12.5f;
    SetTextureDirectory("C:\\Game\\Textures");
    ASSERT_EQ(Import(TexturedShape("crate.dds", values)), 0);

    ASSERT_EQ(MaterialCount(), 2);
    msMaterial* material = MaterialAt(1);
    EXPECT_EQ(MaterialName(1), "Wood");
    EXPECT_EQ(Colour(&msMaterial_GetAmbient, material), (Float4{0.1f, 0.2f, 0.3f, 1.0f}));
    EXPECT_EQ(Colour(&msMaterial_GetDiffuse, material), (Float4{0.5f, 0.5f, 0.5f, 1.0f}));
    EXPECT_EQ(Colour(&msMaterial_GetSpecular, material), (Float4{0.7f, 0.8f, 0.9f, 1.0f}));
    EXPECT_EQ(Colour(&msMaterial_GetEmissive, material), (Float4{0.0f, 0.25f, 0.0f, 1.0f}));
    EXPECT_EQ(msMaterial_GetShininess(material), 12.5f);
    EXPECT_EQ(msMaterial_GetTransparency(material), 0.75f);
    EXPECT_EQ(TexturePath(1), "C:\\Game\\Textures/crate.dds");
    EXPECT_EQ(msMesh_GetMaterialIndex(Mesh(0)), 1);
}

TEST_F(Convert, TexturePathKeepsTheFileNameAsStored) {
    SetTextureDirectory("/data/tex");
    ASSERT_EQ(Import(TexturedShape("textures\\sub\\Crate.TGA")), 0);
    EXPECT_EQ(TexturePath(0), "/data/tex/textures\\sub\\Crate.TGA");
}

TEST_F(Convert, EmptyTextureDirectoryGivesASlashBeforeTheFileName) {
    ASSERT_EQ(Import(TexturedShape("crate.bmp")), 0);
    EXPECT_EQ(TexturePath(0), "/crate.bmp");
}

TEST_F(Convert, ShapesSharingPropertiesGetMaterialsOfTheirOwn) {
    // 0 Root -> 1 "A", 2 "B"; both use 3 (texturing -> 4) and 5 (material); data 6.
    NifBuilder nif;
    nif.FileStart(7);
    NodeBlock(nif, "Root", {1, 2});
    TriShapeBlock(nif, "A", 6, -1, {3, 5});
    TriShapeBlock(nif, "B", 6, -1, {5, 3});
    TexturingPropertyBlock(nif, 4);
    SourceTextureBlock(nif, "shared.tga", 3, 1, 3);
    MaterialPropertyBlock(nif, "Shared");
    TriShapeDataBlock(nif, TriangleGeometry({0, 0, 0}, {1, 0, 0}, {0, 1, 0}));
    nif.Footer();

    ASSERT_EQ(Import(nif), 0);
    ASSERT_EQ(MaterialCount(), 2);
    EXPECT_EQ(msMesh_GetMaterialIndex(Mesh(0)), 0);
    EXPECT_EQ(msMesh_GetMaterialIndex(Mesh(1)), 1);
    EXPECT_EQ(MaterialName(0), "Shared");
    EXPECT_EQ(MaterialName(1), "Shared");
    EXPECT_EQ(TexturePath(1), "/shared.tga");
}

TEST_F(Convert, MaterialPropertyWithoutTexturingGivesNoMaterial) {
    NifBuilder nif;
    nif.FileStart(3);
    TriShapeBlock(nif, "Plain", 2, -1, {1});
    MaterialPropertyBlock(nif, "Unused");
    TriShapeDataBlock(nif, TriangleGeometry({0, 0, 0}, {1, 0, 0}, {0, 1, 0}));
    nif.Footer();

    ASSERT_EQ(Import(nif), 0);
    EXPECT_EQ(MaterialCount(), 0);
    EXPECT_EQ(msMesh_GetMaterialIndex(Mesh(0)), -1);
}

TEST_F(Convert, WalkIsDepthFirstPreOrder) {
    // 0 Root -> 1 "Outer" (NiNode) -> 2 "Deep" shape; then 3 "Late" shape.
    // Pre-order: Deep (below the first child) comes before Late.
    NifBuilder nif;
    nif.FileStart(5);
    NodeBlock(nif, "Root", {1, 3});
    NodeBlock(nif, "Outer", {2});
    TriShapeBlock(nif, "Deep", 4);
    TriShapeBlock(nif, "Late", 4);
    TriShapeDataBlock(nif, TriangleGeometry({0, 0, 0}, {1, 0, 0}, {0, 1, 0}));
    nif.Footer();

    ASSERT_EQ(Import(nif), 0);
    ASSERT_EQ(MeshCount(), 2);
    EXPECT_EQ(MeshName(0), "Deep");
    EXPECT_EQ(MeshName(1), "Late");
}

TEST_F(Convert, ChildEntriesThatNameNoBlockAreSkipped) {
    NifBuilder nif;
    nif.FileStart(3);
    NodeBlock(nif, "Root", {-1, 1});
    TriShapeBlock(nif, "Kept", 2);
    TriShapeDataBlock(nif, TriangleGeometry({0, 0, 0}, {1, 0, 0}, {0, 1, 0}));
    nif.Footer();

    ASSERT_EQ(Import(nif), 0);
    ASSERT_EQ(MeshCount(), 1);
    EXPECT_EQ(MeshName(0), "Kept");
}

TEST_F(Convert, DoesNotEnterAnimationParticleOrCollisionNodes) {
    // 0 Root -> 1 NiBSAnimationNode -> 4, 2 NiBSParticleNode -> 4, 3 RootCollisionNode -> 4.
    NifBuilder nif;
    nif.FileStart(6);
    NodeBlock(nif, "Root", {1, 2, 3});
    OtherNodeBlock(nif, "NiBSAnimationNode", "Anim", {4});
    OtherNodeBlock(nif, "NiBSParticleNode", "Particles", {4});
    OtherNodeBlock(nif, "RootCollisionNode", "Collision", {4});
    TriShapeBlock(nif, "Hidden", 5);
    TriShapeDataBlock(nif, TriangleGeometry({0, 0, 0}, {1, 0, 0}, {0, 1, 0}));
    nif.Footer();

    EXPECT_EQ(Import(nif), 1);
    EXPECT_EQ(MeshCount(), 0);
}

TEST_F(Convert, ShapeReachedOnlyThroughAPropertyLinkProducesNothing) {
    // The shape is listed among the root's properties (a wrong-type link,
    // only warned about), never as a child.
    NifBuilder nif;
    nif.FileStart(3);
    NodeBlock(nif, "Root", {}, {1});
    TriShapeBlock(nif, "NotAChild", 2);
    TriShapeDataBlock(nif, TriangleGeometry({0, 0, 0}, {1, 0, 0}, {0, 1, 0}));
    nif.Footer();

    EXPECT_EQ(Import(nif), 1);
    EXPECT_EQ(MeshCount(), 0);
}

TEST_F(Convert, SharedChildIsImportedOncePerReference) {
    NifBuilder nif;
    nif.FileStart(3);
    NodeBlock(nif, "Root", {1, 1});
    TriShapeBlock(nif, "Twice", 2);
    TriShapeDataBlock(nif, TriangleGeometry({0, 0, 0}, {1, 0, 0}, {0, 1, 0}));
    nif.Footer();

    ASSERT_EQ(Import(nif), 0);
    ASSERT_EQ(MeshCount(), 2);
    EXPECT_EQ(MeshName(1), "Twice");
}

TEST_F(Convert, ShapeAtTheDeepestLevelTheLoadAcceptsIsImported) {
    // Blocks 0..998 are a chain of nodes; the shape is block 999, at depth
    // 1000, the deepest the load accepts. The walk goes down just as far.
    constexpr int kNodes = 999;
    NifBuilder nif;
    nif.FileStart(kNodes + 2);
    for (int i = 0; i < kNodes; ++i) NodeBlock(nif, "Level", {i + 1});
    TriShapeBlock(nif, "Deepest", kNodes + 1);
    TriShapeDataBlock(nif, TriangleGeometry({0, 0, 0}, {1, 0, 0}, {0, 1, 0}));
    nif.Footer();

    ASSERT_EQ(Import(nif), 0);
    ASSERT_EQ(MeshCount(), 1);
    EXPECT_EQ(MeshName(0), "Deepest");
}

}  // namespace
