// Controller and animation-data blocks: key group sizes, real-file layouts, link checks.
#include <gtest/gtest.h>

#include "importer/nif/controller_blocks.h"
#include "nif_builder/nif_builder.h"
#include "tests/reader/reader_test_support.h"

namespace {

class ControllerBlocks : public ::testing::Test {
protected:
    void SetUp() override { platform::headless::Reset(); }
};

// A keyframe data block whose translation and scale groups are empty.
NifBuilder RotationOnly(int32_t count, int32_t keyType, int floats) {
    NifBuilder b;
    b.Long(count).Long(keyType).RepeatFloat(0.5f, floats);
    return b.Long(0).Long(0);
}

TEST_F(ControllerBlocks, RotationKeySizesByKeyType) {
    ReadAlone<NiKeyframeData> linear(RotationOnly(3, 1, 15), BlockKind::NiKeyframeData);
    ASSERT_EQ(linear.failure, "");
    EXPECT_EQ(linear.block->Rotation().keys.size(), 15u);
    EXPECT_EQ(linear.BytesRead(), 8u + 60 + 8);

    ReadAlone<NiKeyframeData> fallback(RotationOnly(3, 2, 24), BlockKind::NiKeyframeData);
    ASSERT_EQ(fallback.failure, "");
    EXPECT_EQ(fallback.block->Rotation().floatsPerKey, 8);
    EXPECT_EQ(fallback.BytesRead(), 8u + 96 + 8);

    ReadAlone<NiKeyframeData> tbc(RotationOnly(2, 3, 16), BlockKind::NiKeyframeData);
    ASSERT_EQ(tbc.failure, "");
    EXPECT_EQ(tbc.BytesRead(), tbc.stream.Position());
    EXPECT_EQ(tbc.stream.Remaining(), 0u);
}

TEST_F(ControllerBlocks, TranslationAndScaleKeySizes) {
    NifBuilder b;
    b.Long(0);                                            // rotation: empty
    b.Long(2).Long(5).RepeatFloat(1, 20);                 // translation, fallback 10 per key
    b.Long(3).Long(4).RepeatFloat(2, 12);                 // scale, fallback 4 per key
    ReadAlone<NiKeyframeData> data(b, BlockKind::NiKeyframeData);
    ASSERT_EQ(data.failure, "");
    EXPECT_EQ(data.BytesRead(), b.Size());
    EXPECT_EQ(data.block->Translation().floatsPerKey, 10);
    EXPECT_EQ(data.block->Scale().keys.size(), 12u);

    NifBuilder listed;
    listed.Long(0).Long(1).Long(1).RepeatFloat(1, 4).Long(1).Long(3).RepeatFloat(1, 5);
    ReadAlone<NiKeyframeData> listedData(listed, BlockKind::NiKeyframeData);
    ASSERT_EQ(listedData.failure, "");
    EXPECT_EQ(listedData.BytesRead(), listed.Size());
}

TEST_F(ControllerBlocks, EmptyGroupIsFourBytesAndNegativeCountReadsOnlyKeyType) {
    NifBuilder empty;
    empty.Long(0).Long(0).Long(0);
    ReadAlone<NiKeyframeData> data(empty, BlockKind::NiKeyframeData);
    ASSERT_EQ(data.failure, "");
    EXPECT_EQ(data.BytesRead(), 12u);

    NifBuilder negative;
    negative.Long(-3).Long(1).Long(-1).Long(2).Long(0);
    ReadAlone<NiKeyframeData> negativeData(negative, BlockKind::NiKeyframeData);
    ASSERT_EQ(negativeData.failure, "");
    EXPECT_EQ(negativeData.BytesRead(), negative.Size());
}

TEST_F(ControllerBlocks, AxisRotationKeysAreThreeFloatGroups) {
    NifBuilder b;
    b.Long(1).Long(4).Float(0.25f);
    b.Long(2).Long(2).RepeatFloat(1, 8);   // x: 4 Floats per key
    b.Long(0);                             // y: empty
    b.Long(1).Long(3).RepeatFloat(3, 5);   // z: 5 Floats per key
    b.Long(1).Long(1).RepeatFloat(0, 4);   // translation
    b.Long(0);                             // scale
    ReadAlone<NiKeyframeData> data(b, BlockKind::NiKeyframeData);
    ASSERT_EQ(data.failure, "");
    EXPECT_EQ(data.BytesRead(), b.Size());
    ASSERT_TRUE(data.block->HasAxisRotation());
    EXPECT_EQ(data.block->AxisRotation().value, 0.25f);
    EXPECT_EQ(data.block->AxisRotation().axes[0].keys.size(), 8u);
    EXPECT_EQ(data.block->AxisRotation().axes[1].keyCount, 0);
    EXPECT_EQ(data.block->AxisRotation().axes[2].floatsPerKey, 5);
    EXPECT_EQ(data.block->Translation().keys.size(), 4u);

    NifBuilder linearAxes;
    linearAxes.Long(1).Long(4).Float(0).Long(1).Long(1).RepeatFloat(0, 2).Long(0).Long(0).Long(0).Long(0);
    ReadAlone<NiKeyframeData> linear(linearAxes, BlockKind::NiKeyframeData);
    ASSERT_EQ(linear.failure, "");
    EXPECT_EQ(linear.BytesRead(), linearAxes.Size());
}

TEST_F(ControllerBlocks, AxisRotationWithNegativeCountReadsNothingMore) {
    NifBuilder b;
    b.Long(-1).Long(4).Long(0).Long(0);
    ReadAlone<NiKeyframeData> data(b, BlockKind::NiKeyframeData);
    ASSERT_EQ(data.failure, "");
    EXPECT_EQ(data.BytesRead(), b.Size());
    EXPECT_FALSE(data.block->HasAxisRotation());
}

TEST_F(ControllerBlocks, HugeKeyCountFailsAtTheEndOfData) {
    NifBuilder b;
    b.Long(0x7FFFFFFF).Long(3).Float(1);
    EXPECT_EQ(ReadAlone<NiKeyframeData>(b, BlockKind::NiKeyframeData).failure, "Attempted to copy too much data (4 bytes).");
}

// ---------------------------------------------------------------- NiMorphData

TEST_F(ControllerBlocks, MorphTargetsHoldKeysThenVertices) {
    NifBuilder b;
    b.Long(3).Long(2).Byte(1);
    b.Long(0).Long(0).RepeatFloat(0, 6);              // base: no keys, 2 vectors
    b.Long(2).Long(1).RepeatFloat(1, 4).RepeatFloat(2, 6);  // 2 keys of 2 Floats
    b.Long(1).Long(3).RepeatFloat(1, 5).RepeatFloat(3, 6);  // 1 key of 5 Floats
    ReadAlone<NiMorphData> data(b, BlockKind::NiMorphData);
    ASSERT_EQ(data.failure, "");
    EXPECT_EQ(data.BytesRead(), b.Size());
    ASSERT_EQ(data.block->MorphCount(), 3u);
    EXPECT_EQ(data.block->Morph(1).keyCount, 2);
    EXPECT_EQ(data.block->Morph(1).keyType, 1);
    EXPECT_EQ(data.block->Morph(1).keys.size(), 4u);
    EXPECT_EQ(data.block->Morph(1).vertices[1].z, 2.0f);
    EXPECT_EQ(data.block->Morph(2).keys.size(), 5u);
    EXPECT_EQ(data.block->Morph(2).vertices[0].x, 3.0f);
    EXPECT_TRUE(data.block->Morph(0).keys.empty());

    NifBuilder quadratic;
    quadratic.Long(1).Long(1).Byte(1).Long(2).Long(2).RepeatFloat(0, 8).Vector(0, 0, 0);
    ReadAlone<NiMorphData> quadraticData(quadratic, BlockKind::NiMorphData);
    ASSERT_EQ(quadraticData.failure, "");
    EXPECT_EQ(quadraticData.BytesRead(), quadratic.Size());
}

TEST_F(ControllerBlocks, MorphTargetsMustBeRelative) {
    NifBuilder b;
    b.Long(0).Long(0).Byte(0);
    EXPECT_EQ(ReadAlone<NiMorphData>(b, BlockKind::NiMorphData).failure, "Unexpected Byte value - was 0x0000 (0) expected 0x0001 (1)");
}

// ---------------------------------------------------------------- NiUVData

TEST_F(ControllerBlocks, UVGroupsTakeKeyTypesOneToThree) {
    NifBuilder b;
    b.Long(1).Long(1).RepeatFloat(0, 2);
    b.Long(2).Long(2).RepeatFloat(0, 8);
    b.Long(0);
    b.Long(1).Long(3).RepeatFloat(0, 5);
    ReadAlone<NiUVData> data(b, BlockKind::NiUVData);
    ASSERT_EQ(data.failure, "");
    EXPECT_EQ(data.BytesRead(), b.Size());
    EXPECT_EQ(data.block->Group(1).keys.size(), 8u);

    NifBuilder negative;
    negative.Long(-2).Long(0).Long(0).Long(0);
    ReadAlone<NiUVData> negativeData(negative, BlockKind::NiUVData);
    ASSERT_EQ(negativeData.failure, "");
    EXPECT_EQ(negativeData.BytesRead(), 16u);
}

TEST_F(ControllerBlocks, UVGroupWithOtherKeyTypeFailsAsVerifyOfTwo) {
    NifBuilder b;
    b.Long(1).Long(4);
    ReadAlone<NiUVData> data(b, BlockKind::NiUVData);
    EXPECT_EQ(data.failure, "Unexpected Long value - was 0x00000004 (4) expected 0x00000002 (2)");
    EXPECT_EQ(platform::headless::DebugText(), "Unexpected Long value - was 0x00000004 (4) expected 0x00000002 (2)\n");
    NifBuilder zero;
    zero.Long(0).Long(1).Long(0);
    EXPECT_EQ(ReadAlone<NiUVData>(zero, BlockKind::NiUVData).failure,
              "Unexpected Long value - was 0x00000000 (0) expected 0x00000002 (2)");
}

// ---------------------------------------------------------------- controllers

TEST_F(ControllerBlocks, KeyframeControllerChecksNextTargetData) {
    NifBuilder b;
    b.FileStart(2);
    KeyframeControllerBlock(b, 1, 1, 1);
    ZBufferPropertyBlock(b);
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_EQ(platform::headless::DebugText(),
              "Wanted TimeController, but got: NiZBufferProperty\n"
              "Wanted Node, but got: NiZBufferProperty\n"
              "Wanted NiKeyframeData, but got: NiZBufferProperty\n");
}

TEST_F(ControllerBlocks, ControllersChainThroughNextLinks) {
    NifBuilder b;
    b.FileStart(5);
    NodeBlock(b, "root", {}, {}, -1, 1);
    KeyframeControllerBlock(b, 2, 0, 3);
    ControllerHead(b, "NiUVController", 4, -1).Short(0x1234).Long(-1);
    b.TypeName("NiKeyframeData").Long(0).Long(0).Long(0);
    ControllerHead(b, "NiGeomMorpherController", -1, -1).Long(-1).Byte(0);
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_EQ(platform::headless::DebugText(), "");
    const auto* uv = static_cast<const NiUVController*>(loaded.file->GetBlock(2));
    EXPECT_EQ(uv->UnknownShort(), 0x1234);
    EXPECT_EQ(uv->Controller().nextController, 4);
    EXPECT_EQ(uv->Controller().stopTime, 2.0f);
}

TEST_F(ControllerBlocks, GeomMorpherChecksTargetDataNext) {
    NifBuilder b;
    b.FileStart(2);
    ControllerHead(b, "NiGeomMorpherController", 1, 1).Long(1).Byte(0);
    NodeBlock(b, "n");
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_EQ(platform::headless::DebugText(),
              "Wanted TriShape, but got: NiNode\n"
              "Wanted NiMorphData, but got: NiNode\n"
              "Wanted TimeController, but got: NiNode\n");
}

TEST_F(ControllerBlocks, GeomMorpherLastByteMustBeZero) {
    NifBuilder b;
    b.Long(-1).Short(0).Floats({0, 0, 0, 0}).Long(-1).Long(-1).Byte(1);
    EXPECT_EQ(ReadAlone<NiGeomMorpherController>(b, BlockKind::NiGeomMorpherController).failure,
              "Unexpected Byte value - was 0x0001 (1) expected 0x0000 (0)");
}

TEST_F(ControllerBlocks, UVControllerChecksNextTargetData) {
    NifBuilder b;
    b.FileStart(2);
    ControllerHead(b, "NiUVController", 1, 1).Short(0).Long(1);
    NodeBlock(b, "n");
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_EQ(platform::headless::DebugText(),
              "Wanted TimeController, but got: NiNode\n"
              "Wanted TriShape, but got: NiNode\n"
              "Wanted UVData, but got: NiNode\n");
}

}  // namespace
