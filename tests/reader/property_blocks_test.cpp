// Property and texture blocks: layouts, verify failures, texture file names, material colours.
#include <gtest/gtest.h>

#include "importer/nif/property_blocks.h"
#include "nif_builder/nif_builder.h"
#include "tests/reader/reader_test_support.h"

namespace {

class PropertyBlocks : public ::testing::Test {
protected:
    void SetUp() override { platform::headless::Reset(); }
};

// Texturing property fields up to and including the texture count.
NifBuilder TexturingHead(int32_t nameLength = 0, int32_t extraData = -1, int32_t textureCount = 7) {
    NifBuilder b;
    return b.Long(nameLength).Long(extraData).Long(-1).Short(0).Long(2).Long(textureCount);
}

TEST_F(PropertyBlocks, TexturingWithOnlyBaseSlotReads72Bytes) {
    NifBuilder b = TexturingHead();
    b.Long(1);
    TextureSlotBytes(b, 4);
    for (int slot = 1; slot < 6; ++slot) b.Long(0);
    b.Long(0).Raw("next");
    ReadAlone<NiTexturingProperty> texturing(b, BlockKind::NiTexturingProperty);
    ASSERT_EQ(texturing.failure, "");
    EXPECT_EQ(texturing.BytesRead(), 72u);
    EXPECT_EQ(texturing.block->Slot(0).source, 4);
    EXPECT_EQ(texturing.block->Slot(1).source, -1);
}

TEST_F(PropertyBlocks, BumpMapSlotIsFollowedBySixFloatsThenDecalValue) {
    NifBuilder b = TexturingHead();
    for (int slot = 0; slot < 5; ++slot) b.Long(0);
    b.Long(1);
    TextureSlotBytes(b, 9);
    b.Floats({1, 2, 3, 4, 5, 6}).Long(0);
    ReadAlone<NiTexturingProperty> texturing(b, BlockKind::NiTexturingProperty);
    ASSERT_EQ(texturing.failure, "");
    EXPECT_EQ(texturing.BytesRead(), b.Size());
    EXPECT_EQ(texturing.BytesRead(), 22u + 5 * 4 + 4 + 22 + 24 + 4);
    EXPECT_EQ(texturing.block->Slot(5).source, 9);
    EXPECT_EQ(texturing.block->BumpMapValues()[5], 6.0f);
}

TEST_F(PropertyBlocks, DecalTextureIsASlotLikeTheOthers) {
    NifBuilder b = TexturingHead();
    for (int slot = 0; slot < 6; ++slot) b.Long(0);
    b.Long(1);
    TextureSlotBytes(b, 3);
    ReadAlone<NiTexturingProperty> texturing(b, BlockKind::NiTexturingProperty);
    ASSERT_EQ(texturing.failure, "");
    EXPECT_EQ(texturing.BytesRead(), b.Size());
    EXPECT_TRUE(texturing.block->HasDecal());
    EXPECT_EQ(texturing.block->DecalSlot().source, 3);
}

TEST_F(PropertyBlocks, TexturingVerifyFailures) {
    EXPECT_EQ(ReadAlone<NiTexturingProperty>(TexturingHead(3), BlockKind::NiTexturingProperty).failure,
              "Unexpected Long value - was 0x00000003 (3) expected 0x00000000 (0)");
    EXPECT_EQ(ReadAlone<NiTexturingProperty>(TexturingHead(0, 2), BlockKind::NiTexturingProperty).failure,
              "Unexpected Long value - was 0x00000002 (2) expected 0xFFFFFFFF (-1)");
    EXPECT_EQ(ReadAlone<NiTexturingProperty>(TexturingHead(0, -1, 6), BlockKind::NiTexturingProperty).failure,
              "Unexpected Long value - was 0x00000006 (6) expected 0x00000007 (7)");
}

TEST_F(PropertyBlocks, TexturingChecksControllerThenSlotSourcesThenDecal) {
    NifBuilder b;
    b.FileStart(2);
    b.TypeName("NiTexturingProperty").Long(0).Long(-1).Long(1).Short(0).Long(2).Long(7);
    b.Long(1);
    TextureSlotBytes(b, 1);
    b.Long(0).Long(0).Long(1);
    TextureSlotBytes(b, 1);
    b.Long(0).Long(0);
    b.Long(1);
    TextureSlotBytes(b, 1);
    ZBufferPropertyBlock(b);
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_EQ(platform::headless::DebugText(),
              "Wanted TimeController, but got: NiZBufferProperty\n"
              "Wanted SourceTexture, but got: NiZBufferProperty\n"
              "Wanted SourceTexture, but got: NiZBufferProperty\n"
              "Wanted SourceTexture, but got: NiZBufferProperty\n");
}

TEST_F(PropertyBlocks, TexturingControllerLinkTakesControllers) {
    NifBuilder b;
    b.FileStart(3);
    TexturingPropertyBlock(b, 2, 1);
    b.TypeName("NiUVController").Long(-1).Short(0).Floats({1, 0, 0, 1}).Long(-1).Short(0).Long(-1);
    SourceTextureBlock(b, "a.tga");
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_EQ(platform::headless::DebugText(), "");
}

TEST_F(PropertyBlocks, TexturingFileNameComesFromBaseSource) {
    NifBuilder b;
    b.FileStart(2);
    TexturingPropertyBlock(b, 1);
    SourceTextureBlock(b, "textures\\Stone Wall.dds");
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_STREQ(loaded.file->GetRoot()->getFileName(), "textures\\Stone Wall.dds");
    EXPECT_STREQ(loaded.file->GetBlock(1)->getFileName(), "textures\\Stone Wall.dds");
    EXPECT_TRUE(platform::headless::MessageBoxes().empty());
}

TEST_F(PropertyBlocks, TexturingWithoutBaseSourceHasNoFileName) {
    NifBuilder b;
    b.FileStart(2);
    TexturingPropertyBlock(b, -1);
    TexturingPropertyBlock(b, 42);
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_EQ(loaded.file->GetBlock(0)->getFileName(), nullptr);
    EXPECT_EQ(loaded.file->GetBlock(1)->getFileName(), nullptr);
    EXPECT_TRUE(platform::headless::MessageBoxes().empty());
}

TEST_F(PropertyBlocks, TexturingWhoseSourceIsTexturingAnswersAsBase) {
    NifBuilder b;
    b.FileStart(2);
    TexturingPropertyBlock(b, 0);  // names itself
    TexturingPropertyBlock(b, 0);  // names the first
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_EQ(platform::headless::DebugText(),
              "Wanted SourceTexture, but got: NiTexturingProperty\nWanted SourceTexture, but got: NiTexturingProperty\n");
    EXPECT_EQ(loaded.file->GetBlock(0)->getFileName(), nullptr);
    EXPECT_EQ(loaded.file->GetBlock(1)->getFileName(), nullptr);
    EXPECT_EQ(MessageBoxLog(), "getFileName|ARGH\n");
    EXPECT_EQ(loaded.printer.BoxesHeldBack(), 1);
}

TEST_F(PropertyBlocks, TexturingWhoseSourceIsAnotherKindAsksIt) {
    NifBuilder b;
    b.FileStart(2);
    TexturingPropertyBlock(b, 1);
    NodeBlock(b, "node");
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_EQ(loaded.file->GetRoot()->getFileName(), nullptr);
    EXPECT_EQ(MessageBoxLog(), "getFileName|ARGH\n");
}

// ---------------------------------------------------------------- NiSourceTexture

TEST_F(PropertyBlocks, SourceTextureMustBeExternal) {
    NifBuilder b;
    b.String("").Long(-1).Long(-1).Byte(0);
    EXPECT_EQ(ReadAlone<NiSourceTexture>(b, BlockKind::NiSourceTexture).failure,
              "Unexpected Byte value - was 0x0000 (0) expected 0x0001 (1)");
}

TEST_F(PropertyBlocks, SourceTextureLinksMustBeNone) {
    NifBuilder extra;
    extra.String("").Long(0);
    EXPECT_EQ(ReadAlone<NiSourceTexture>(extra, BlockKind::NiSourceTexture).failure,
              "Unexpected Long value - was 0x00000000 (0) expected 0xFFFFFFFF (-1)");
    NifBuilder controller;
    controller.String("").Long(-1).Long(5);
    EXPECT_EQ(ReadAlone<NiSourceTexture>(controller, BlockKind::NiSourceTexture).failure,
              "Unexpected Long value - was 0x00000005 (5) expected 0xFFFFFFFF (-1)");
}

TEST_F(PropertyBlocks, SourceTextureKeepsAnyLastFlag) {
    for (int flag : {0, 1, 2, 255}) {
        NifBuilder b;
        b.String("name").Long(-1).Long(-1).Byte(1).String("a.bmp").Long(1).Long(2).Long(3).Byte(flag);
        ReadAlone<NiSourceTexture> texture(b, BlockKind::NiSourceTexture);
        ASSERT_EQ(texture.failure, "") << flag;
        EXPECT_EQ(texture.BytesRead(), b.Size());
        EXPECT_EQ(texture.block->LastFlag(), flag);
        EXPECT_EQ(texture.block->FormatValues()[2], 3);
        EXPECT_STREQ(texture.block->getFileName(), "a.bmp");
    }
}

// ---------------------------------------------------------------- NiMaterialProperty

TEST_F(PropertyBlocks, MaterialColoursHaveAlphaOne) {
    NifBuilder b;
    b.FileStart(1);
    MaterialPropertyBlock(b, "Stone");
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    const NifBlock* material = loaded.file->GetRoot();
    EXPECT_STREQ(material->GetId(), "Stone");
    EXPECT_EQ(material->GetAmbientColour().r, 0.1f);
    EXPECT_EQ(material->GetAmbientColour().a, 1.0f);
    EXPECT_EQ(material->GetDiffuseColour().b, 0.6f);
    EXPECT_EQ(material->GetDiffuseColour().a, 1.0f);
    EXPECT_EQ(material->GetSpecularColour().g, 0.8f);
    EXPECT_EQ(material->GetSpecularColour().a, 1.0f);
    EXPECT_EQ(material->GetEmissiveColour().b, 1.0f);
    EXPECT_EQ(material->GetEmissiveColour().a, 1.0f);
    EXPECT_EQ(material->GetGlossiness(), 10.0f);
    EXPECT_EQ(material->GetAlpha(), 0.75f);
}

TEST_F(PropertyBlocks, MaterialKeepsAnyFlags) {
    for (int flags : {0, 1, 0x1234}) {
        NifBuilder b;
        b.FileStart(1);
        MaterialPropertyBlock(b, "m", -1, flags);
        b.Footer();
        Loaded loaded(b);
        ASSERT_EQ(loaded.failure, "") << flags;
        EXPECT_EQ(static_cast<const NiMaterialProperty*>(loaded.file->GetRoot())->UnknownFlags(), flags);
    }
}

TEST_F(PropertyBlocks, MaterialControllerIsCheckedAsTimeController) {
    NifBuilder good;
    good.FileStart(2);
    MaterialPropertyBlock(good, "m", 1);
    KeyframeControllerBlock(good, -1, -1, -1);
    good.Footer();
    Loaded loaded(good);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_EQ(platform::headless::DebugText(), "");

    NifBuilder bad;
    bad.FileStart(2);
    MaterialPropertyBlock(bad, "m", 1);
    NodeBlock(bad, "n");
    bad.Footer();
    Loaded warned(bad);
    ASSERT_EQ(warned.failure, "");
    EXPECT_EQ(platform::headless::DebugText(), "Wanted TimeController, but got: NiNode\n");
}

TEST_F(PropertyBlocks, MaterialExtraDataMustBeNone) {
    NifBuilder b;
    b.String("m").Long(3);
    EXPECT_EQ(ReadAlone<NiMaterialProperty>(b, BlockKind::NiMaterialProperty).failure,
              "Unexpected Long value - was 0x00000003 (3) expected 0xFFFFFFFF (-1)");
}

// ---------------------------------------------------------------- small properties

TEST_F(PropertyBlocks, VertexColourPropertyFlagsMustBeZero) {
    NifBuilder good;
    good.String("").Long(-1).Long(-1).Short(0).Long(1).Long(2);
    ReadAlone<NiVertexColorProperty> property(good, BlockKind::NiVertexColorProperty);
    ASSERT_EQ(property.failure, "");
    EXPECT_EQ(property.BytesRead(), good.Size());
    EXPECT_EQ(property.block->LightingMode(), 2);

    NifBuilder bad;
    bad.String("").Long(-1).Long(-1).Short(8);
    EXPECT_EQ(ReadAlone<NiVertexColorProperty>(bad, BlockKind::NiVertexColorProperty).failure,
              "Unexpected Short value - was 0x0008 (8) expected 0x0000 (0)");
}

TEST_F(PropertyBlocks, VertexColourPropertyChecksItsLinks) {
    NifBuilder b;
    b.FileStart(2);
    b.TypeName("NiVertexColorProperty").String("").Long(1).Long(1).Short(0).Long(0).Long(0);
    NodeBlock(b, "n");
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_EQ(platform::headless::DebugText(), "Wanted ExtraData, but got: NiNode\nWanted TimeController, but got: NiNode\n");
}

TEST_F(PropertyBlocks, AlphaPropertyReadsThreeBytes) {
    NifBuilder b;
    b.String("a").Long(-1).Long(-1).Byte(0xED).Byte(0x10).Byte(0x80);
    ReadAlone<NiAlphaProperty> alpha(b, BlockKind::NiAlphaProperty);
    ASSERT_EQ(alpha.failure, "");
    EXPECT_EQ(alpha.BytesRead(), b.Size());
    EXPECT_EQ(alpha.block->Values()[2], 0x80);

    NifBuilder bad;
    bad.String("a").Long(-1).Long(0);
    EXPECT_EQ(ReadAlone<NiAlphaProperty>(bad, BlockKind::NiAlphaProperty).failure,
              "Unexpected Long value - was 0x00000000 (0) expected 0xFFFFFFFF (-1)");
}

TEST_F(PropertyBlocks, ZBufferPropertyKeepsFlags) {
    NifBuilder b;
    b.String("").Long(-1).Long(-1).Short(0xFFFF);
    ReadAlone<NiZBufferProperty> zbuffer(b, BlockKind::NiZBufferProperty);
    ASSERT_EQ(zbuffer.failure, "");
    EXPECT_EQ(zbuffer.BytesRead(), 14u);
    EXPECT_EQ(zbuffer.block->UnknownFlags(), 0xFFFF);
}

TEST_F(PropertyBlocks, ZBufferLinksMustBeNone) {
    NifBuilder extra;
    extra.String("").Long(2);
    EXPECT_EQ(ReadAlone<NiZBufferProperty>(extra, BlockKind::NiZBufferProperty).failure,
              "Unexpected Long value - was 0x00000002 (2) expected 0xFFFFFFFF (-1)");
    NifBuilder controller;
    controller.String("").Long(-1).Long(2);
    EXPECT_EQ(ReadAlone<NiZBufferProperty>(controller, BlockKind::NiZBufferProperty).failure,
              "Unexpected Long value - was 0x00000002 (2) expected 0xFFFFFFFF (-1)");
    NifBuilder alphaController;
    alphaController.String("").Long(-1).Long(2);
    EXPECT_EQ(ReadAlone<NiAlphaProperty>(alphaController, BlockKind::NiAlphaProperty).failure,
              "Unexpected Long value - was 0x00000002 (2) expected 0xFFFFFFFF (-1)");
}

}  // namespace
