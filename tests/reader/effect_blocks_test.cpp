// Particle, effect and extra-data blocks: layouts, verify failures, link checks.
#include <gtest/gtest.h>

#include "importer/nif/effect_blocks.h"
#include "nif_builder/nif_builder.h"
#include "tests/reader/reader_test_support.h"

namespace {

class EffectBlocks : public ::testing::Test {
protected:
    void SetUp() override { platform::headless::Reset(); }
};

// Rotating particles data with V = `count`, no colours.
NifBuilder ParticlesData(int count, int particleCount, bool vertices, bool rotations) {
    NifBuilder b;
    b.Short(count).Long(vertices ? 1 : 0);
    if (vertices) b.RepeatFloat(1, 3 * count);
    b.Long(0).Floats({0, 0, 0, 1}).Long(0).Long(9).Short(3).Short(particleCount).Float(1).Short(2);
    b.Long(rotations ? 1 : 0);
    if (rotations) b.RepeatFloat(2, 5 * count);
    return b.Long(0);
}

TEST_F(EffectBlocks, RotatingParticlesDataReadsVerticesAndRotations) {
    NifBuilder b = ParticlesData(2, 2, true, true);
    ReadAlone<NiRotatingParticlesData> data(b, BlockKind::NiRotatingParticlesData);
    ASSERT_EQ(data.failure, "");
    EXPECT_EQ(data.BytesRead(), b.Size());
    EXPECT_EQ(data.BytesRead(), ParticlesData(2, 2, false, false).Size() + 24 + 40);
    EXPECT_EQ(data.block->Rotations().size(), 10u);
}

TEST_F(EffectBlocks, ParticleCountMustEqualVertexCount) {
    EXPECT_EQ(ReadAlone<NiRotatingParticlesData>(ParticlesData(2, 3, false, false), BlockKind::NiRotatingParticlesData).failure,
              "Unexpected Short value - was 0x0003 (3) expected 0x0002 (2)");
}

TEST_F(EffectBlocks, RotatingParticlesDataNormalsMustBeAbsent) {
    NifBuilder b;
    b.Short(0).Long(0).Long(1);
    EXPECT_EQ(ReadAlone<NiRotatingParticlesData>(b, BlockKind::NiRotatingParticlesData).failure,
              "Unexpected Long value - was 0x00000001 (1) expected 0x00000000 (0)");
}

NifBuilder& ParticleControllerBlock(NifBuilder& b, int particles, int32_t modifier) {
    b.TypeName("NiParticleSystemController").Long(-1).Short(0).Floats({0, 0, 0, 1}).Long(-1);
    b.RepeatFloat(0, 16).Long(0).Long(0).Long(0).Byte(0).Long(0).Long(0).Long(0).Long(0).Long(0).Float(0).Long(0).Long(0);
    b.Short(4).Short(particles).Short(4).RepeatFloat(0, 10 * particles);
    return b.Long(-1).Long(modifier).Long(-1).Byte(7);
}

TEST_F(EffectBlocks, ParticleControllerReadsItsParticleRecords) {
    for (int particles : {0, 2}) {
        NifBuilder b;
        b.FileStart(2);
        ParticleControllerBlock(b, particles, 1);
        b.TypeName("NiParticleGrowFade").Long(-1).Long(-1).Float(1).Float(2);
        b.Footer();
        Loaded loaded(b);
        ASSERT_EQ(loaded.failure, "") << particles;
        const auto* controller = static_cast<const NiParticleSystemController*>(loaded.file->GetRoot());
        EXPECT_EQ(controller->Particles().size(), 10u * particles);
        EXPECT_EQ(controller->LastValue(), 7);
        EXPECT_EQ(platform::headless::DebugText(), "");
    }
}

TEST_F(EffectBlocks, ParticleControllerChecksNextThenModifier) {
    NifBuilder b;
    b.FileStart(2);
    ParticleControllerBlock(b, 0, 1);
    NodeBlock(b, "n");
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_EQ(platform::headless::DebugText(), "Wanted ParticleGrowFade, but got: NiNode\n");
}

TEST_F(EffectBlocks, ParticleControllerVerifies) {
    NifBuilder next;
    next.Long(0);
    EXPECT_EQ(ReadAlone<NiParticleSystemController>(next, BlockKind::NiParticleSystemController).failure,
              "Unexpected Long value - was 0x00000000 (0) expected 0xFFFFFFFF (-1)");
}

TEST_F(EffectBlocks, GrowFadeNextModifierIsCheckedAsController) {
    NifBuilder b;
    b.FileStart(3);
    b.TypeName("NiParticleGrowFade").Long(1).Long(5).Float(1).Float(2);
    KeyframeControllerBlock(b, -1, -1, -1);
    b.TypeName("NiParticleGrowFade").Long(0).Long(-1).Float(1).Float(2);
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_EQ(platform::headless::DebugText(), "Wanted TimeController, but got: NiParticleGrowFade\n");
}

TEST_F(EffectBlocks, RotatingParticlesChecksDataExtraControllerProperties) {
    NifBuilder b;
    b.FileStart(2);
    b.TypeName("NiRotatingParticles");
    ObjectHead(b, "p", {1}, 1, 1);
    b.Long(0).Long(1).Long(-1);
    NodeBlock(b, "n");
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_EQ(platform::headless::DebugText(),
              "Wanted RotatingParticlesData, but got: NiNode\n"
              "Wanted ExtraData, but got: NiNode\n"
              "Wanted TimeController, but got: NiNode\n"
              "Wanted Property, but got: NiNode\n");
}

TEST_F(EffectBlocks, RotatingParticlesSkinMustBeNone) {
    NifBuilder b;
    ObjectHead(b, "p");
    b.Long(0).Long(1).Long(0);
    EXPECT_EQ(ReadAlone<NiRotatingParticles>(b, BlockKind::NiRotatingParticles).failure,
              "Unexpected Long value - was 0x00000000 (0) expected 0xFFFFFFFF (-1)");
}

TEST_F(EffectBlocks, TextureEffectReadsItsWholeLayout) {
    NifBuilder b;
    ObjectHead(b, "effect", {3, 4});
    b.Long(0).LinkList({1, 2}).Vector(1, 2, 3).IdentityMatrix33();
    b.Long(0).Long(0).Long(0).Long(0).Long(0).Byte(0).Floats({0, 0, 1, 0}).Long(0).Short(0);
    ReadAlone<NiTextureEffect> effect(b, BlockKind::NiTextureEffect);
    ASSERT_EQ(effect.failure, "");
    EXPECT_EQ(effect.BytesRead(), b.Size());
    EXPECT_EQ(effect.block->AffectedNodes().Count(), 2);
}

TEST_F(EffectBlocks, TextureEffectIsChildAndDynamicEffect) {
    NifBuilder b;
    b.FileStart(2);
    NodeBlock(b, "root", {1}, {}, -1, -1, {1});
    b.TypeName("NiTextureEffect");
    ObjectHead(b, "effect");
    b.Long(0).LinkList({}).Vector(0, 0, 0).IdentityMatrix33();
    b.Long(0).Long(0).Long(0).Long(0).Long(0).Byte(0).Floats({0, 0, 1, 0}).Long(0).Short(0);
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_EQ(platform::headless::DebugText(), "");
    EXPECT_EQ(loaded.file->GetBlock(1)->GetParent(), loaded.file->GetRoot());
    EXPECT_EQ(loaded.file->GetBlock(1)->GetNumberChildren(), 0);
}

TEST_F(EffectBlocks, StringExtraDataKeepsItsLongWhateverItHolds) {
    for (int32_t storedLength : {0, 9, -4}) {
        NifBuilder b;
        b.Long(-1).Long(storedLength).String("sound");
        ReadAlone<NiStringExtraData> extra(b, BlockKind::NiStringExtraData);
        ASSERT_EQ(extra.failure, "");
        EXPECT_EQ(extra.BytesRead(), b.Size());
        EXPECT_EQ(extra.block->StoredLength(), storedLength);
        EXPECT_EQ(extra.block->Text(), "sound");
    }
}

TEST_F(EffectBlocks, TextKeysAreTimesAndTexts) {
    NifBuilder none;
    none.Long(-1).Long(0).Long(0);
    ReadAlone<NiTextKeyExtraData> empty(none, BlockKind::NiTextKeyExtraData);
    ASSERT_EQ(empty.failure, "");
    EXPECT_EQ(empty.BytesRead(), 12u);

    NifBuilder b;
    b.Long(-1).Long(0).Long(2).Float(0.5f).String("start").Long(7).String("end");
    ReadAlone<NiTextKeyExtraData> keys(b, BlockKind::NiTextKeyExtraData);
    ASSERT_EQ(keys.failure, "");
    EXPECT_EQ(keys.BytesRead(), b.Size());
    ASSERT_EQ(keys.block->Keys().size(), 2u);
    EXPECT_EQ(keys.block->Keys()[0].time, 0x3F000000);  // the raw bits of 0.5
    EXPECT_EQ(keys.block->Keys()[1].text, "end");

    NifBuilder bad;
    bad.Long(-1).Long(3);
    EXPECT_EQ(ReadAlone<NiTextKeyExtraData>(bad, BlockKind::NiTextKeyExtraData).failure,
              "Unexpected Long value - was 0x00000003 (3) expected 0x00000000 (0)");
}

TEST_F(EffectBlocks, ExtraDataChainsWithoutWarning) {
    NifBuilder b;
    b.FileStart(3);
    NodeBlock(b, "root", {}, {}, 1);
    StringExtraDataBlock(b, 2, "text", 8);
    b.TypeName("NiTextKeyExtraData").Long(-1).Long(0).Long(0);
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_EQ(platform::headless::DebugText(), "");

    platform::headless::Reset();
    NifBuilder wrong;
    wrong.FileStart(2);
    StringExtraDataBlock(wrong, 1, "text", 8);
    NodeBlock(wrong, "n");
    wrong.Footer();
    Loaded warned(wrong);
    ASSERT_EQ(warned.failure, "");
    EXPECT_EQ(platform::headless::DebugText(), "Wanted ExtraData, but got: NiNode\n");
}

TEST_F(EffectBlocks, RemainingVerifiedFieldsNameTheirExpectedValues) {
    const std::string wasZeroWantedNone = "Unexpected Long value - was 0x00000000 (0) expected 0xFFFFFFFF (-1)";
    const std::string wasOneWantedZero = "Unexpected Long value - was 0x00000001 (1) expected 0x00000000 (0)";

    NifBuilder particlesFlag;
    ObjectHead(particlesFlag, "p");
    particlesFlag.Long(1);
    EXPECT_EQ(ReadAlone<NiRotatingParticles>(particlesFlag, BlockKind::NiRotatingParticles).failure, wasOneWantedZero);

    NifBuilder dataLast = ParticlesData(0, 0, false, false);
    NifBuilder badLast;  // the same bytes with the last Long set to 1
    badLast.Raw(std::string(reinterpret_cast<const char*>(dataLast.Data()), dataLast.Size() - 4)).Long(1);
    EXPECT_EQ(ReadAlone<NiRotatingParticlesData>(badLast, BlockKind::NiRotatingParticlesData).failure, wasOneWantedZero);

    NifBuilder controllerHead;
    controllerHead.Long(-1).Short(0).Floats({0, 0, 0, 1}).Long(-1);
    controllerHead.RepeatFloat(0, 16).Long(0).Long(0).Long(0).Byte(0).Long(0).Long(0).Long(0).Long(0).Long(0).Float(0).Long(0).Long(0);
    controllerHead.Short(0).Short(0).Short(0);
    NifBuilder unknown21 = controllerHead;
    unknown21.Long(0);
    EXPECT_EQ(ReadAlone<NiParticleSystemController>(unknown21, BlockKind::NiParticleSystemController).failure, wasZeroWantedNone);
    NifBuilder unknown23 = controllerHead;
    unknown23.Long(-1).Long(-1).Long(0);
    EXPECT_EQ(ReadAlone<NiParticleSystemController>(unknown23, BlockKind::NiParticleSystemController).failure, wasZeroWantedNone);

    NifBuilder effectExtra;
    effectExtra.String("e").Long(0);
    EXPECT_EQ(ReadAlone<NiTextureEffect>(effectExtra, BlockKind::NiTextureEffect).failure, wasZeroWantedNone);
    NifBuilder effectController;
    effectController.String("e").Long(-1).Long(0);
    EXPECT_EQ(ReadAlone<NiTextureEffect>(effectController, BlockKind::NiTextureEffect).failure, wasZeroWantedNone);
    NifBuilder effectFlag;
    ObjectHead(effectFlag, "e");
    effectFlag.Long(1);
    EXPECT_EQ(ReadAlone<NiTextureEffect>(effectFlag, BlockKind::NiTextureEffect).failure, wasOneWantedZero);
}

}  // namespace
