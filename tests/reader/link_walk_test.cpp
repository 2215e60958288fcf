// Link checks (warnings, their order, the cap) and the parent-linking walk (parents, bounds).
#include <gtest/gtest.h>

#include "importer/nif/nif_block.h"
#include "nif_builder/nif_builder.h"
#include "tests/reader/reader_test_support.h"

namespace {

class Links : public ::testing::Test {
protected:
    void SetUp() override { platform::headless::Reset(); }
};

TEST_F(Links, MistypedChildIsOneWarningLineAndLoadGoesOn) {
    NifBuilder b;
    b.FileStart(2);
    NodeBlock(b, "root", {1});
    SourceTextureBlock(b, "t.bmp");
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_EQ(platform::headless::DebugText(), "Wanted Child, but got: NiSourceTexture\n");
    EXPECT_EQ(platform::headless::PauseMilliseconds(), 3u);  // three writes
    // The link stays: the texture is still the node's child and got it as parent.
    EXPECT_EQ(loaded.file->GetRoot()->GetChild(0), loaded.file->GetBlock(1));
    EXPECT_EQ(loaded.file->GetBlock(1)->GetParent(), loaded.file->GetRoot());
}

TEST_F(Links, NodeChecksItsLinksInOrder) {
    // Every link of block 0 names a wrong type: extra data, controller, property, child, effect.
    NifBuilder b;
    b.FileStart(2);
    NodeBlock(b, "root", {1}, {1}, 1, 1, {1});
    NodeBlock(b, "other");
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_EQ(platform::headless::DebugText(),
              "Wanted ExtraData, but got: NiNode\n"
              "Wanted TimeController, but got: NiNode\n"
              "Wanted Property, but got: NiNode\n"
              "Wanted DynamicEffect, but got: NiNode\n");
}

TEST_F(Links, ShapeChecksItsLinksInOrder) {
    NifBuilder b;
    b.FileStart(2);
    TriShapeBlock(b, "shape", 1, 1, {1}, 1, 1);
    ZBufferPropertyBlock(b);
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_EQ(platform::headless::DebugText(),
              "Wanted ExtraData, but got: NiZBufferProperty\n"
              "Wanted TimeController, but got: NiZBufferProperty\n"
              "Wanted TriShapeData, but got: NiZBufferProperty\n"
              "Wanted SkinInstance, but got: NiZBufferProperty\n");
}

TEST_F(Links, ForwardAndBackwardLinksAreCheckedAlike) {
    NifBuilder b;
    b.FileStart(3);
    NodeBlock(b, "root", {2});
    SourceTextureBlock(b, "back.bmp");
    NodeBlock(b, "later", {1});
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_EQ(platform::headless::DebugText(), "Wanted Child, but got: NiSourceTexture\n");
    EXPECT_EQ(loaded.file->GetBlock(2)->GetParent(), loaded.file->GetRoot());
    EXPECT_EQ(loaded.file->GetBlock(1)->GetParent(), loaded.file->GetBlock(2));
}

TEST_F(Links, LinksThatNameNoBlockAreSilentAndSkipped) {
    NifBuilder b;
    b.FileStart(2);
    NodeBlock(b, "root", {-1, 99, -7, 2, 1}, {5, -2});
    NodeBlock(b, "child");
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_EQ(platform::headless::DebugText(), "");
    const NifBlock* root = loaded.file->GetRoot();
    EXPECT_EQ(root->GetNumberChildren(), 5);
    EXPECT_EQ(root->GetChild(0), nullptr);
    EXPECT_EQ(root->GetChild(1), nullptr);
    EXPECT_EQ(root->GetChild(2), nullptr);
    EXPECT_EQ(root->GetChild(3), nullptr);
    EXPECT_EQ(root->GetChild(4), loaded.file->GetBlock(1));
    EXPECT_EQ(loaded.file->GetBlock(1)->GetParent(), root);
}

NifBuilder NodeWithMistypedChildren(int mistyped) {
    NifBuilder b;
    b.FileStart(2);
    b.TypeName("NiNode");
    ObjectHead(b, "root");
    b.Long(0).Long(mistyped);
    for (int i = 0; i < mistyped; ++i) b.Long(1);
    b.LinkList({});
    ZBufferPropertyBlock(b);
    b.Footer();
    return b;
}

TEST_F(Links, AtMostHundredWarningLinesThenOneSummary) {
    Loaded loaded(NodeWithMistypedChildren(150));
    ASSERT_EQ(loaded.failure, "");
    std::string expected;
    for (int i = 0; i < 100; ++i) expected += "Wanted Child, but got: NiZBufferProperty\n";
    expected += "50 further link warnings not shown\n";
    EXPECT_EQ(platform::headless::DebugText(), expected);
}

TEST_F(Links, ExactlyHundredWarningsNeedNoSummary) {
    Loaded loaded(NodeWithMistypedChildren(100));
    ASSERT_EQ(loaded.failure, "");
    std::string expected;
    for (int i = 0; i < 100; ++i) expected += "Wanted Child, but got: NiZBufferProperty\n";
    EXPECT_EQ(platform::headless::DebugText(), expected);

    platform::headless::Reset();
    Loaded oneMore(NodeWithMistypedChildren(101));
    EXPECT_EQ(platform::headless::DebugText(), expected + "1 further link warnings not shown\n");
}

TEST_F(Links, ResolutionSetsEachBlockIndex) {
    NifBuilder b;
    b.FileStart(3);
    NodeBlock(b, "a");
    NodeBlock(b, "b");
    NodeBlock(b, "c");
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    for (int i = 0; i < 3; ++i) EXPECT_EQ(loaded.file->GetBlock(i)->GetBlockIndex(), i);
}

// ---------------------------------------------------------------- the walk

TEST_F(Links, AnimationNodesDoNotPassTheWalkOn) {
    NifBuilder b;
    b.FileStart(4);
    NodeBlock(b, "root", {1, 2});
    OtherNodeBlock(b, "NiBSAnimationNode", "anim", {3});
    OtherNodeBlock(b, "RootCollisionNode", "collision", {3});
    NodeBlock(b, "leaf");
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_EQ(loaded.file->GetRoot()->GetParent(), nullptr);
    EXPECT_EQ(loaded.file->GetBlock(1)->GetParent(), loaded.file->GetRoot());
    // Only the collision node passes the walk on to the shared leaf.
    EXPECT_EQ(loaded.file->GetBlock(3)->GetParent(), loaded.file->GetBlock(2));
}

TEST_F(Links, UnreachedBlocksKeepNoParent) {
    NifBuilder b;
    b.FileStart(3);
    NodeBlock(b, "root");
    NodeBlock(b, "island", {2});
    NodeBlock(b, "leaf");
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_EQ(loaded.file->GetBlock(2)->GetParent(), nullptr);
}

// A chain of `count` nodes, each the only child of the one before.
NifBuilder NodeChain(int count, int lastChild) {
    NifBuilder b;
    b.FileStart(count);
    for (int i = 0; i < count; ++i) {
        if (i + 1 < count) {
            NodeBlock(b, "n", {i + 1});
        } else if (lastChild >= 0) {
            NodeBlock(b, "n", {lastChild});
        } else {
            NodeBlock(b, "n");
        }
    }
    return b.Footer();
}

TEST_F(Links, ThousandLevelsLoad) {
    Loaded loaded(NodeChain(1000, -1));
    ASSERT_EQ(loaded.failure, "");
    EXPECT_EQ(loaded.file->GetBlock(999)->GetParent(), loaded.file->GetBlock(998));
}

TEST_F(Links, ThousandAndOneLevelsAreRejected) {
    Loaded loaded(NodeChain(1001, -1));
    EXPECT_EQ(loaded.failure, "Scene graph nested too deeply (more than 1000 levels).");
    EXPECT_EQ(platform::headless::DebugText(), "Scene graph nested too deeply (more than 1000 levels).\n");
}

TEST_F(Links, ChildLoopEndsAsTooDeep) {
    NifBuilder self;
    self.FileStart(1);
    NodeBlock(self, "self", {0});
    self.Footer();
    EXPECT_EQ(LoadFailure(self), "Scene graph nested too deeply (more than 1000 levels).");

    EXPECT_EQ(LoadFailure(NodeChain(3, 0)), "Scene graph nested too deeply (more than 1000 levels).");
}

// `nodes` chained nodes, then a shape with a skin instance and its skin data.
NifBuilder SkinnedChain(int nodes) {
    NifBuilder b;
    b.FileStart(nodes + 3);
    for (int i = 0; i < nodes; ++i) NodeBlock(b, "n", {i + 1});
    TriShapeBlock(b, "shape", -1, nodes + 1);
    b.TypeName("NiSkinInstance").Long(nodes + 2).Long(-1).LinkList({});
    b.TypeName("NiSkinData").Float(1).Vector(0, 0, 0).IdentityMatrix33().Long(0).Long(-1);
    return b.Footer();
}

TEST_F(Links, SkinLinksCountAsLevels) {
    // 997 nodes, the shape at depth 998, its skin instance at 999, the skin data at 1000.
    Loaded deepest(SkinnedChain(997));
    ASSERT_EQ(deepest.failure, "");
    EXPECT_EQ(deepest.file->GetBlock(999)->GetParent(), deepest.file->GetBlock(998));
    // One node more puts the skin data at 1001.
    EXPECT_EQ(LoadFailure(SkinnedChain(998)), "Scene graph nested too deeply (more than 1000 levels).");
}

// Block 0 with `children` child entries, all naming block 1 (a shape with no skin).
NifBuilder WideRoot(int children) {
    NifBuilder b;
    b.FileStart(2);
    b.TypeName("NiNode");
    ObjectHead(b, "root");
    b.Long(0).Long(children);
    for (int i = 0; i < children; ++i) b.Long(1);
    b.LinkList({});
    TriShapeBlock(b, "shape", -1);
    return b.Footer();
}

TEST_F(Links, MillionVisitsLoad) {
    Loaded loaded(WideRoot(999999));  // block 0 and 999,999 arrivals at block 1
    EXPECT_EQ(loaded.failure, "");
}

TEST_F(Links, MillionAndOneVisitsAreRejected) {
    Loaded loaded(WideRoot(1000000));
    EXPECT_EQ(loaded.failure, "Scene graph too large (more than 1000000 block visits).");
    EXPECT_EQ(platform::headless::DebugText(), "Scene graph too large (more than 1000000 block visits).\n");
}

TEST_F(Links, SharedChildrenLevelAfterLevelAreRejected) {
    // 25 nodes, each listing the next one twice: 2^25 paths, stopped at the visit bound.
    const int levels = 25;
    NifBuilder b;
    b.FileStart(levels);
    for (int i = 0; i + 1 < levels; ++i) NodeBlock(b, "n", {i + 1, i + 1});
    NodeBlock(b, "n");
    b.Footer();
    EXPECT_EQ(LoadFailure(b), "Scene graph too large (more than 1000000 block visits).");
}

TEST_F(Links, EntriesNamingNoBlockCostNothingOnRepeatedArrivals) {
    // The last of 17 doubled levels is reached 65536 times and lists 100000
    // entries that name no block besides one real child.
    const int levels = 17, empties = 100000;
    NifBuilder b;
    b.FileStart(levels + 1);
    for (int i = 0; i + 1 < levels; ++i) NodeBlock(b, "n", {i + 1, i + 1});
    b.TypeName("NiNode");
    ObjectHead(b, "last");
    b.Long(0).Long(empties + 1);
    for (int i = 0; i < empties; ++i) b.Long(i % 2 ? -1 : 1000000);
    b.Long(levels);
    b.LinkList({});
    NodeBlock(b, "leaf");
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_EQ(loaded.file->GetBlock(levels)->GetParent(), loaded.file->GetBlock(levels - 1));
    EXPECT_EQ(loaded.file->GetBlock(levels - 1)->GetNumberChildren(), empties + 1);
}

}  // namespace
