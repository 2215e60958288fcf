// The import into a model that keeps the host's list sizes: every add the
// host refuses leaves the import running, with what fitted in the model
// and the rest left out.
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "nif_builder/nif_builder.h"
#include "tests/importer/import_fixture.h"


namespace {

class HostLimits : public ImportTest {
protected:
    void SetUp() override {
        ImportTest::SetUp();
        msModel_SetHostLimits(Model(), 1);
    }
};

// Block 0, named `rootName`, lists block 1 `arrivals` times.
void RootListingBlockOne(NifBuilder& nif, const char* rootName, int arrivals) {
    nif.TypeName("NiNode");
    nif.String(rootName).Long(-1).Long(-1).Short(0).Vector(0, 0, 0).IdentityMatrix33().Float(1).Vector(0, 0, 0);
    nif.LinkList({}).Long(0).Long(arrivals);
    for (int i = 0; i < arrivals; ++i) nif.Long(1);
    nif.LinkList({});
}

TEST_F(HostLimits, MeshesAndMaterialsPastTheHostsListsAreLeftOut) {
    // 300 arrivals at one textured shape: each asks for a mesh and a material.
    NifBuilder nif;
    nif.FileStart(5);
    RootListingBlockOne(nif, "Root", 300);
    TriShapeBlock(nif, "Leaf", 2, -1, {3});
    TriShapeDataBlock(nif, TriangleGeometry({0, 0, 0}, {1, 0, 0}, {0, 1, 0}));
    TexturingPropertyBlock(nif, 4);
    SourceTextureBlock(nif, "leaf.bmp", 3, 1, 3);
    nif.Footer();

    EXPECT_EQ(Import(nif), 0);
    EXPECT_TRUE(Boxes().empty());
    ASSERT_EQ(MeshCount(), 255);
    ASSERT_EQ(MaterialCount(), 128);
    for (int m : {0, 127, 128, 254}) {
        SCOPED_TRACE("mesh " + std::to_string(m));
        EXPECT_EQ(MeshName(m), "Leaf");
        EXPECT_EQ(msMesh_GetVertexCount(Mesh(m)), 3);
        EXPECT_EQ(msMesh_GetTriangleCount(Mesh(m)), 1);
        // The first 128 meshes got their own material, the rest none.
        EXPECT_EQ(msMesh_GetMaterialIndex(Mesh(m)), m < 128 ? m : -1);
    }
    EXPECT_EQ(TexturePath(127), "/leaf.bmp");
}

TEST_F(HostLimits, VerticesAndTrianglesPastTheHostsListsAreLeftOut) {
    // 65,535 vertices and 65,535 triangles, the most a file can hold; every
    // triangle names vertices the mesh receives.
    Geometry geometry;
    for (int i = 0; i < 65535; ++i) geometry.vertices.push_back({float(i), float(i % 7), 0});
    for (int k = 0; k < 65535; ++k) geometry.triangles.insert(geometry.triangles.end(), {k % 100, 100, 101 + k % 50});
    NifBuilder nif;
    nif.FileStart(3);
    NodeBlock(nif, "Root", {1});
    TriShapeBlock(nif, "Full", 2);
    TriShapeDataBlock(nif, geometry);
    nif.Footer();

    EXPECT_EQ(Import(nif), 0);
    EXPECT_TRUE(Boxes().empty());
    ASSERT_EQ(MeshCount(), 1);
    EXPECT_EQ(msMesh_GetVertexCount(Mesh(0)), 65534);
    EXPECT_EQ(msMesh_GetTriangleCount(Mesh(0)), 65534);
    EXPECT_EQ(Vertex(0, 65533), (Float3{65533.0f, float(65533 % 7), 0.0f}));
    EXPECT_EQ(TriangleIndices(0, 65533), (Index3{65533 % 100, 100, 101 + 65533 % 50}));
    EXPECT_EQ(platform::headless::DebugText(), "") << "a full list is not a skipped triangle";
}

TEST_F(HostLimits, BonesPastTheHostsListAreLeftOut) {
    // 130 arrivals at one node named Bip01: each asks for a bone.
    NifBuilder nif;
    nif.FileStart(2);
    RootListingBlockOne(nif, "Root", 130);
    NodeBlock(nif, "Bip01");
    nif.Footer();

    EXPECT_EQ(Import(nif), 1);
    EXPECT_TRUE(Boxes().empty());
    ASSERT_EQ(BoneCount(), 128);
    EXPECT_EQ(BoneName(127), "Bip01");
    EXPECT_EQ(MeshCount(), 0);
}

}  // namespace
