// Bone import: which nodes become bones, their names, parent names and
// positions, and what the walk never reaches.
#include <gtest/gtest.h>

#include "nif_builder/nif_builder.h"
#include "tests/importer/import_fixture.h"


namespace {

using Bones = ImportTest;

// 0 Root -> 1 "A" -> 2 "B";  0 Root -> 3 skinned shape "Skin" (data 4, skin 5)
// 5 NiSkinInstance (data 6, root 1, bones A and B), 6 NiSkinData with `records`.
NifBuilder SkinnedChain(const std::string& nameA, const std::vector<BoneRecord>& records, Point translationA = {}) {
    NifBuilder nif;
    nif.FileStart(7);
    NodeBlock(nif, "Root", {1, 3});
    NodeBlock(nif, nameA, {2}, {}, -1, -1, {}, PlacedAt(translationA));
    NodeBlock(nif, "B");
    TriShapeBlock(nif, "Skin", 4, 5);
    TriShapeDataBlock(nif, TriangleGeometry({0, 0, 0}, {1, 0, 0}, {0, 1, 0}));
    SkinInstanceBlock(nif, 6, 1, {1, 2});
    SkinDataBlock(nif, records);
    nif.Footer();
    return nif;
}

TEST_F(Bones, NodeNamedBip01IsABoneAtTheOriginWithoutParent) {
    // Its own translation does not count: without a bone record the bone
    // matrix is the identity.
    NifBuilder nif;
    nif.FileStart(1);
    NodeBlock(nif, "Bip01", {}, {}, -1, -1, {}, PlacedAt({4, 5, 6}));
    nif.Footer();

    EXPECT_EQ(Import(nif), 1);
    ASSERT_EQ(BoneCount(), 1);
    EXPECT_EQ(BoneName(0), "Bip01");
    EXPECT_EQ(BoneParent(0), "");
    EXPECT_EQ(BonePosition(0), (Float3{0, 0, 0}));
    EXPECT_EQ(BoneRotation(0), (Float3{0, 0, 0}));
}

TEST_F(Bones, NamesDifferingFromBip01AreNotBones) {
    NifBuilder nif;
    nif.FileStart(4);
    NodeBlock(nif, "Root", {1, 2, 3});
    NodeBlock(nif, "bip01");
    NodeBlock(nif, "Bip01 Spine");
    NodeBlock(nif, "BIP01");
    nif.Footer();

    Import(nif);
    EXPECT_EQ(BoneCount(), 0);
}

TEST_F(Bones, SkinBonesArePlacedRelativeToTheirParentBone) {
    BoneRecord a, b;
    a.translation = {0, 0, -1};
    b.translation = {0, 0, -3};
    ASSERT_EQ(Import(SkinnedChain("A", {a, b})), 0);

    ASSERT_EQ(BoneCount(), 2);
    EXPECT_EQ(BoneName(0), "A");
    EXPECT_EQ(BoneParent(0), "");
    EXPECT_EQ(BonePosition(0), (Float3{0, 0, 1}));
    EXPECT_EQ(BoneName(1), "B");
    EXPECT_EQ(BoneParent(1), "A");
    EXPECT_EQ(BonePosition(1), (Float3{0, 0, 2}));
    EXPECT_EQ(BoneRotation(1), (Float3{0, 0, 0}));
    // The skinned shape is still a mesh; its vertices get no bone.
    EXPECT_EQ(MeshCount(), 1);
}

TEST_F(Bones, BoneRecordRotationPlacesTheBone) {
    // The record maps mesh space into bone space: rotation by 90 degrees
    // about z (row-major record for column vectors) then translation.
    BoneRecord a, b;
    a.rotation = {0, -1, 0, 1, 0, 0, 0, 0, 1};
    a.translation = {1, 0, 0};
    b.translation = {0, 0, -3};
    ASSERT_EQ(Import(SkinnedChain("A", {a, b})), 0);
    // Bind matrix K = R^T * T(1, 0, 0); the origin of bone space maps to
    // -(1, 0, 0) * R, which is (0, 1, 0) for this rotation.
    const Float3 position = BonePosition(0);
    EXPECT_NEAR(position[0], 0.0f, 1e-6f);
    EXPECT_NEAR(position[1], 1.0f, 1e-6f);
    EXPECT_NEAR(position[2], 0.0f, 1e-6f);
}

TEST_F(Bones, BoneUnderANonBoneParentIsAbsolute) {
    // Only B is a bone (bone list names just B); its parent A is not.
    NifBuilder nif;
    nif.FileStart(7);
    NodeBlock(nif, "Root", {1, 3});
    NodeBlock(nif, "A", {2}, {}, -1, -1, {}, PlacedAt({7, 7, 7}));
    NodeBlock(nif, "B");
    TriShapeBlock(nif, "Skin", 4, 5);
    TriShapeDataBlock(nif, TriangleGeometry({0, 0, 0}, {1, 0, 0}, {0, 1, 0}));
    SkinInstanceBlock(nif, 6, 1, {2});
    BoneRecord b;
    b.translation = {0, 0, -3};
    SkinDataBlock(nif, {b});
    nif.Footer();

    ASSERT_EQ(Import(nif), 0);
    ASSERT_EQ(BoneCount(), 1);
    EXPECT_EQ(BoneName(0), "B");
    EXPECT_EQ(BoneParent(0), "");
    EXPECT_EQ(BonePosition(0), (Float3{0, 0, 3}));
}

TEST_F(Bones, BoneParentWithAnEmptyNameIsNotNamedButStillSubtracted) {
    BoneRecord a, b;
    a.translation = {0, 0, -1};
    b.translation = {0, 0, -3};
    ASSERT_EQ(Import(SkinnedChain("", {a, b})), 0);

    ASSERT_EQ(BoneCount(), 2);
    EXPECT_EQ(BoneName(0), "");
    EXPECT_EQ(BoneParent(1), "");
    EXPECT_EQ(BonePosition(1), (Float3{0, 0, 2}));
}

TEST_F(Bones, BoneWithoutABoneRecordSitsAtItsBindOrigin) {
    // Two bones listed, one record: B is marked but gets no data, so its bone
    // matrix is the identity and its bind position (0, 0, 0).
    BoneRecord a;
    a.translation = {0, 0, -1};
    ASSERT_EQ(Import(SkinnedChain("A", {a})), 0);
    ASSERT_EQ(BoneCount(), 2);
    EXPECT_EQ(BonePosition(1), (Float3{0, 0, -1}));
}

TEST_F(Bones, SkinBelowAnAnimationNodeMarksNothing) {
    // 0 Root -> 1 NiBSAnimationNode -> 2 skinned shape; 4 skin instance names node 5.
    NifBuilder nif;
    nif.FileStart(7);
    NodeBlock(nif, "Root", {1, 5});
    OtherNodeBlock(nif, "NiBSAnimationNode", "Anim", {2});
    TriShapeBlock(nif, "Skin", 3, 4);
    TriShapeDataBlock(nif, TriangleGeometry({0, 0, 0}, {1, 0, 0}, {0, 1, 0}));
    SkinInstanceBlock(nif, 6, 5, {5});
    NodeBlock(nif, "WouldBeBone");
    SkinDataBlock(nif, {BoneRecord{}});
    nif.Footer();

    EXPECT_EQ(Import(nif), 1);
    EXPECT_EQ(BoneCount(), 0);
    EXPECT_EQ(MeshCount(), 0);
}

TEST_F(Bones, ParentBonesComeBeforeTheirChildren) {
    NifBuilder nif;
    nif.FileStart(2);
    NodeBlock(nif, "Bip01", {1});
    NodeBlock(nif, "Bip01");
    nif.Footer();

    Import(nif);
    ASSERT_EQ(BoneCount(), 2);
    EXPECT_EQ(BoneParent(0), "");
    EXPECT_EQ(BoneParent(1), "Bip01");
}

}  // namespace
