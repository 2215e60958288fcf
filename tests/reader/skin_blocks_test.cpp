// Skin blocks: bone marking and bone data across forward and backward links.
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "importer/nif/node_blocks.h"
#include "importer/nif/skin_blocks.h"
#include "nif_builder/nif_builder.h"
#include "tests/reader/reader_test_support.h"

namespace {

class SkinBlocks : public ::testing::Test {
protected:
    void SetUp() override { platform::headless::Reset(); }
};

// Skin data whose bone i has identity rotation and translation (0, 0, translationsZ[i]), with no weights.
NifBuilder& SkinDataAlongZ(NifBuilder& b, std::initializer_list<float> translationsZ, int32_t partition = -1) {
    std::vector<BoneRecord> bones;
    for (float z : translationsZ) {
        bones.emplace_back();
        bones.back().translation = {0, 0, z};
    }
    return SkinDataBlock(b, bones, partition);
}

const NiNode& Node(const Loaded& loaded, int index) { return *static_cast<const NiNode*>(loaded.file->GetBlock(index)); }

TEST_F(SkinBlocks, SkinnedShapeMarksBonesAndAppliesBoneData) {
    NifBuilder b;
    b.FileStart(6);
    NodeBlock(b, "root", {1, 3});
    NodeBlock(b, "A", {2});
    NodeBlock(b, "B");
    TriShapeBlock(b, "skin", -1, 4);
    SkinInstanceBlock(b, 5, 0, {1, 2});
    SkinDataAlongZ(b, {-1, -3});
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_EQ(platform::headless::DebugText(), "");
    EXPECT_FALSE(Node(loaded, 0).IsBone());
    EXPECT_TRUE(Node(loaded, 1).IsBone());
    EXPECT_TRUE(Node(loaded, 2).IsBone());
    EXPECT_EQ(Node(loaded, 1).BoneTranslation().z, -1.0f);
    EXPECT_EQ(Node(loaded, 2).BoneTranslation().z, -3.0f);
    EXPECT_EQ(loaded.file->GetBlock(4)->GetParent(), loaded.file->GetBlock(3));
    EXPECT_EQ(loaded.file->GetBlock(5)->GetParent(), loaded.file->GetBlock(4));
    EXPECT_EQ(loaded.file->GetBlock(4)->GetBoneBlock(1), loaded.file->GetBlock(2));
    EXPECT_EQ(loaded.file->GetBlock(4)->GetBoneBlock(2), nullptr);
    EXPECT_EQ(loaded.file->GetBlock(4)->GetBoneBlock(-1), nullptr);
    EXPECT_TRUE(platform::headless::MessageBoxes().empty());
}

TEST_F(SkinBlocks, SkinDataBeforeItsInstanceStillApplies) {
    NifBuilder b;
    b.FileStart(5);
    NodeBlock(b, "root", {3, 4});
    SkinDataAlongZ(b, {7});
    SkinInstanceBlock(b, 1, 0, {4});
    TriShapeBlock(b, "skin", -1, 2);
    NodeBlock(b, "bone");
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_TRUE(Node(loaded, 4).IsBone());
    EXPECT_EQ(Node(loaded, 4).BoneTranslation().z, 7.0f);
}

TEST_F(SkinBlocks, MoreBonesThanNodesSkipsTheRestFewerLeavesLastNodesWithoutData) {
    NifBuilder more;
    more.FileStart(5);
    NodeBlock(more, "root", {1, 4});
    TriShapeBlock(more, "skin", -1, 2);
    SkinInstanceBlock(more, 3, -1, {4});
    SkinDataAlongZ(more, {1, 2, 3});
    NodeBlock(more, "bone");
    more.Footer();
    Loaded loadedMore(more);
    ASSERT_EQ(loadedMore.failure, "");
    EXPECT_EQ(Node(loadedMore, 4).BoneTranslation().z, 1.0f);
    EXPECT_TRUE(platform::headless::MessageBoxes().empty());

    NifBuilder fewer;
    fewer.FileStart(6);
    NodeBlock(fewer, "root", {1, 4, 5});
    TriShapeBlock(fewer, "skin", -1, 2);
    SkinInstanceBlock(fewer, 3, -1, {4, 5});
    SkinDataAlongZ(fewer, {9});
    NodeBlock(fewer, "first");
    NodeBlock(fewer, "second");
    fewer.Footer();
    Loaded loadedFewer(fewer);
    ASSERT_EQ(loadedFewer.failure, "");
    EXPECT_EQ(Node(loadedFewer, 4).BoneTranslation().z, 9.0f);
    EXPECT_TRUE(Node(loadedFewer, 5).IsBone());
    EXPECT_EQ(Node(loadedFewer, 5).BoneTranslation().z, 0.0f);
}

TEST_F(SkinBlocks, BoneEntriesThatNameNoBlockAreSkipped) {
    NifBuilder b;
    b.FileStart(5);
    NodeBlock(b, "root", {1, 4});
    TriShapeBlock(b, "skin", -1, 2);
    SkinInstanceBlock(b, 3, 77, {-1, 50, 4});
    SkinDataAlongZ(b, {1, 2, 3});
    NodeBlock(b, "bone");
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_EQ(platform::headless::DebugText(), "");
    EXPECT_EQ(Node(loaded, 4).BoneTranslation().z, 3.0f);
}

TEST_F(SkinBlocks, AnimationNodeBoneIsMarkedAndRefusesBoneData) {
    NifBuilder b;
    b.FileStart(5);
    NodeBlock(b, "root", {1, 4});
    TriShapeBlock(b, "skin", -1, 2);
    SkinInstanceBlock(b, 3, 0, {4});
    SkinDataAlongZ(b, {1});
    OtherNodeBlock(b, "NiBSAnimationNode", "anim");
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_EQ(platform::headless::DebugText(), "");  // passes the Node check
    EXPECT_TRUE(loaded.file->GetBlock(4)->IsBone());
    EXPECT_EQ(MessageBoxLog(), "NiBSAnimationNode|SetBoneData - ARGH\n");
}

TEST_F(SkinBlocks, SkinBelowAnimationNodeIsNeverApplied) {
    NifBuilder b;
    b.FileStart(6);
    NodeBlock(b, "root", {1, 5});
    OtherNodeBlock(b, "NiBSAnimationNode", "anim", {2});
    TriShapeBlock(b, "skin", -1, 3);
    SkinInstanceBlock(b, 4, 0, {5});
    SkinDataAlongZ(b, {1});
    NodeBlock(b, "bone");
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_FALSE(Node(loaded, 5).IsBone());
    EXPECT_EQ(loaded.file->GetBlock(3)->GetParent(), nullptr);
}

TEST_F(SkinBlocks, SkinDataAsFirstBlockAppliesNothing) {
    NifBuilder b;
    b.FileStart(1);
    SkinDataAlongZ(b, {1, 2});
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_TRUE(platform::headless::MessageBoxes().empty());
}

TEST_F(SkinBlocks, SkinInstanceChecksBonesThenDataThenSkeletonRoot) {
    NifBuilder b;
    b.FileStart(2);
    SkinInstanceBlock(b, 1, 1, {1, 1});
    ZBufferPropertyBlock(b);
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_EQ(platform::headless::DebugText(),
              "Wanted Node, but got: NiZBufferProperty\n"
              "Wanted Node, but got: NiZBufferProperty\n"
              "Wanted SkinData, but got: NiZBufferProperty\n"
              "Wanted Node, but got: NiZBufferProperty\n");
}

TEST_F(SkinBlocks, PartitionLinkMustBeNone) {
    NifBuilder b;
    b.Float(1).Vector(0, 0, 0).IdentityMatrix33().Long(0).Long(2);
    EXPECT_EQ(ReadAlone<NiSkinData>(b, BlockKind::NiSkinData).failure,
              "Unexpected Long value - was 0x00000002 (2) expected 0xFFFFFFFF (-1)");
}

TEST_F(SkinBlocks, BoneWeightsAreSixBytesAndCountsAreSigned) {
    NifBuilder b;
    b.Float(1).Vector(0, 0, 0).IdentityMatrix33().Long(3).Long(-1);
    b.IdentityMatrix33().Vector(1, 2, 3).Float(1).Vector(0, 0, 0).Float(1).Short(2).Short(5).Float(0.5f).Short(6).Float(0.25f);
    b.IdentityMatrix33().Vector(4, 5, 6).Float(1).Vector(0, 0, 0).Float(1).Short(0);
    b.IdentityMatrix33().Vector(7, 8, 9).Float(1).Vector(0, 0, 0).Float(1).Short(0xFFFF);
    ReadAlone<NiSkinData> data(b, BlockKind::NiSkinData);
    ASSERT_EQ(data.failure, "");
    EXPECT_EQ(data.BytesRead(), b.Size());
    ASSERT_EQ(data.block->Bones().size(), 3u);
    EXPECT_EQ(data.block->Bones()[0].weights.size(), 2u);
    EXPECT_EQ(data.block->Bones()[0].weights[1].vertex, 6);
    EXPECT_EQ(data.block->Bones()[0].weights[1].weight, 0.25f);
    EXPECT_TRUE(data.block->Bones()[1].weights.empty());
    EXPECT_EQ(data.block->Bones()[1].translation.y, 5.0f);
    EXPECT_TRUE(data.block->Bones()[2].weights.empty());
}

TEST_F(SkinBlocks, HugeBoneCountFailsAtTheEndOfData) {
    NifBuilder b;
    b.Float(1).Vector(0, 0, 0).IdentityMatrix33().Long(0x7FFFFFFF).Long(-1).RepeatFloat(0, 3);
    EXPECT_EQ(ReadAlone<NiSkinData>(b, BlockKind::NiSkinData).failure, "Attempted to copy too much data (4 bytes).");
}

TEST_F(SkinBlocks, BoneDataReachedTwiceIsAppliedAgainHarmlessly) {
    // Two shapes share one skin instance: the walk applies the same data twice.
    NifBuilder b;
    b.FileStart(6);
    NodeBlock(b, "root", {1, 2, 5});
    TriShapeBlock(b, "first", -1, 3);
    TriShapeBlock(b, "second", -1, 3);
    SkinInstanceBlock(b, 4, 0, {5});
    SkinDataAlongZ(b, {2});
    NodeBlock(b, "bone");
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_EQ(loaded.file->GetBlock(3)->GetParent(), loaded.file->GetBlock(2));
    EXPECT_EQ(Node(loaded, 5).BoneTranslation().z, 2.0f);
}

TEST_F(SkinBlocks, LastApplicationWinsWhenSkinsShareABone) {
    // Shapes A, B, C in walk order: A and C use skin 1 (z = 1), B uses skin 2 (z = 2).
    NifBuilder b;
    b.FileStart(9);
    NodeBlock(b, "root", {1, 2, 3, 8});
    TriShapeBlock(b, "A", -1, 4);
    TriShapeBlock(b, "B", -1, 5);
    TriShapeBlock(b, "C", -1, 4);
    SkinInstanceBlock(b, 6, 0, {8});
    SkinInstanceBlock(b, 7, 0, {8});
    SkinDataAlongZ(b, {1});
    SkinDataAlongZ(b, {2});
    NodeBlock(b, "bone");
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_EQ(Node(loaded, 8).BoneTranslation().z, 1.0f);
    EXPECT_EQ(loaded.file->GetBlock(4)->GetParent(), loaded.file->GetBlock(3));
}

TEST_F(SkinBlocks, SkinDataReachedThroughAnotherParentAppliesAgain) {
    // One skin data under two instances with different bone lists: the later instance decides.
    NifBuilder b;
    b.FileStart(8);
    NodeBlock(b, "root", {1, 2, 6, 7});
    TriShapeBlock(b, "A", -1, 3);
    TriShapeBlock(b, "B", -1, 4);
    SkinInstanceBlock(b, 5, 0, {6});
    SkinInstanceBlock(b, 5, 0, {7});
    SkinDataAlongZ(b, {4});
    NodeBlock(b, "first");
    NodeBlock(b, "second");
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_EQ(Node(loaded, 6).BoneTranslation().z, 4.0f);
    EXPECT_EQ(Node(loaded, 7).BoneTranslation().z, 4.0f);
    EXPECT_EQ(loaded.file->GetBlock(5)->GetParent(), loaded.file->GetBlock(4));
}

TEST_F(SkinBlocks, RefusedBoneDataIsOfferedOnEveryArrivalAndItsBoxShownOnce) {
    NifBuilder b;
    b.FileStart(6);
    NodeBlock(b, "root", {1, 2, 5});
    TriShapeBlock(b, "A", -1, 3);
    TriShapeBlock(b, "B", -1, 3);
    SkinInstanceBlock(b, 4, 0, {5});
    SkinDataAlongZ(b, {1});
    OtherNodeBlock(b, "NiBSAnimationNode", "anim");
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_EQ(MessageBoxLog(), "NiBSAnimationNode|SetBoneData - ARGH\n");
    EXPECT_EQ(loaded.printer.BoxesHeldBack(), 1);
}

TEST_F(SkinBlocks, SkinReachedOnManyPathsLoads) {
    // 16 levels of doubled child links reach the skinned shape 32768 times;
    // its skin names 3000 bones. Repeated arrivals must not redo the same work.
    const int levels = 16, bones = 3000;
    NifBuilder b;
    b.FileStart(levels + 4);
    for (int i = 0; i < levels; ++i) NodeBlock(b, "n", {i + 1, i + 1});
    TriShapeBlock(b, "shape", -1, levels + 1);
    b.TypeName("NiSkinInstance").Long(levels + 2).Long(-1).Long(bones);
    for (int i = 0; i < bones; ++i) b.Long(levels + 3);
    b.TypeName("NiSkinData").Float(1).Vector(0, 0, 0).IdentityMatrix33().Long(bones).Long(-1);
    for (int i = 0; i < bones; ++i) b.IdentityMatrix33().Vector(0, 0, float(i)).Float(1).Vector(0, 0, 0).Float(1).Short(0);
    NodeBlock(b, "bone");
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_EQ(Node(loaded, levels + 3).BoneTranslation().z, float(bones - 1));
}

}  // namespace
