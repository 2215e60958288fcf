// The project's own sample files, as make_examples writes them during the
// build, imported through the plug-in run.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/importer/import_fixture.h"

namespace {

class Examples : public ImportTest {
protected:
    int ImportExample(const char* name) {
        const std::string path = std::string(NIF_BINARY_DIR) + "/examples/" + name;
        if (!std::ifstream(path).good()) {
            ADD_FAILURE() << path << " is missing: the build writes it (target example_files)";
            return -1;
        }
        return ImportNifFile(Model(), path.c_str(), textureDirectory_.c_str());
    }
};

TEST_F(Examples, CrateIsOneTexturedBox) {
    SetTextureDirectory("C:/art");
    ASSERT_EQ(ImportExample("crate.nif"), 0);
    ASSERT_EQ(MeshCount(), 1);
    EXPECT_EQ(MeshName(0), "CrateBox");
    EXPECT_EQ(msMesh_GetVertexCount(Mesh(0)), 24);
    EXPECT_EQ(msMesh_GetTriangleCount(Mesh(0)), 12);
    ASSERT_EQ(MaterialCount(), 1);
    EXPECT_EQ(MaterialName(0), "CrateWood");
    EXPECT_EQ(TexturePath(0), "C:/art/textures/crate.bmp");
    EXPECT_EQ(msMesh_GetMaterialIndex(Mesh(0)), 0);
    EXPECT_EQ(BoneCount(), 0);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(Examples, SharedTextureGivesTwoMeshesWithEqualMaterials) {
    ASSERT_EQ(ImportExample("shared_texture.nif"), 0);
    ASSERT_EQ(MeshCount(), 2);
    EXPECT_EQ(MeshName(0), "PlankA");
    EXPECT_EQ(MeshName(1), "PlankB");
    ASSERT_EQ(MaterialCount(), 2);
    EXPECT_EQ(TexturePath(0), "/plank.tga");
    EXPECT_EQ(TexturePath(1), "/plank.tga");
    EXPECT_EQ(msMesh_GetMaterialIndex(Mesh(1)), 1);
    EXPECT_EQ(Vertex(1, 2), (Float3{4, 0, 2.5f}));
}

TEST_F(Examples, SkinnedArmHasThreeBonesUnderBip01) {
    ASSERT_EQ(ImportExample("skinned_arm.nif"), 0);
    ASSERT_EQ(MeshCount(), 1);
    EXPECT_EQ(MeshName(0), "ArmSkin");
    EXPECT_EQ(msMesh_GetVertexCount(Mesh(0)), 8);
    EXPECT_EQ(msMesh_GetTriangleCount(Mesh(0)), 12);
    EXPECT_EQ(Vertex(0, 7), (Float3{4, 0.25f, 1.25f}));
    EXPECT_EQ(MaterialCount(), 0);
    ASSERT_EQ(BoneCount(), 3);
    EXPECT_EQ(BoneName(0), "Bip01");
    EXPECT_EQ(BoneParent(0), "");
    EXPECT_EQ(BonePosition(0), (Float3{0, 0, 0}));
    EXPECT_EQ(BoneName(1), "UpperArm");
    EXPECT_EQ(BoneParent(1), "Bip01");
    EXPECT_EQ(BonePosition(1), (Float3{0, 0, 1}));
    EXPECT_EQ(BoneName(2), "Forearm");
    EXPECT_EQ(BoneParent(2), "UpperArm");
    EXPECT_EQ(BonePosition(2), (Float3{2, 0, 0}));
    EXPECT_TRUE(Boxes().empty());
}

}  // namespace
