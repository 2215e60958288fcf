// Memory bounded by the file for every block type: a file of nothing but the
// smallest instance of one type, repeated to about 16 MB, and one instance of
// each array-carrying type with the largest counts its layout allows, must
// load within three times the file's size and 16 MB (the file's image counted).
// The smallest instances take 24 to 80 bytes of the file, so a block object
// and its place in the table must stay under about twice that.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "nif_builder/nif_builder.h"
#include "tests/hostile/hostile_support.h"

namespace {

using WriteBlock = std::function<void(NifBuilder&)>;

void Placement(NifBuilder& b) { b.Short(0).Vector(0, 0, 0).IdentityMatrix33().Float(1).Vector(0, 0, 0).LinkList({}); }
void ControllerFields(NifBuilder& b) { b.Short(0).Floats({1, 0, 0, 1}).Long(-1); }

// The smallest instance of each of the 27 types, links naming no block.
const std::vector<std::pair<std::string, WriteBlock>>& SmallestInstances() {
    static const std::vector<std::pair<std::string, WriteBlock>> kTypes = {
        {"NiNode", [](NifBuilder& b) { NodeBlock(b, ""); }},
        {"NiBSAnimationNode", [](NifBuilder& b) { OtherNodeBlock(b, "NiBSAnimationNode", ""); }},
        {"NiBSParticleNode", [](NifBuilder& b) { OtherNodeBlock(b, "NiBSParticleNode", ""); }},
        {"RootCollisionNode", [](NifBuilder& b) { OtherNodeBlock(b, "RootCollisionNode", ""); }},
        {"NiTriShape", [](NifBuilder& b) { TriShapeBlock(b, "", -1); }},
        {"NiTriShapeData",
         [](NifBuilder& b) {
             b.TypeName("NiTriShapeData").Short(0).Long(0).Long(0).Vector(0, 0, 0).Float(0).Long(0);
             b.Short(0).Long(0).Short(0).Long(0).Short(0);
         }},
        {"NiTexturingProperty",
         [](NifBuilder& b) {
             b.TypeName("NiTexturingProperty").Long(0).Long(-1).Long(-1).Short(0).Long(2).Long(7);
             for (int slot = 0; slot < 7; ++slot) b.Long(0);
         }},
        {"NiSourceTexture",
         [](NifBuilder& b) { b.TypeName("NiSourceTexture").String("").Long(-1).Long(-1).Byte(1).String("").Long(0).Long(0).Long(0).Byte(1); }},
        {"NiMaterialProperty",
         [](NifBuilder& b) { b.TypeName("NiMaterialProperty").String("").Long(-1).Long(-1).Short(0).RepeatFloat(0, 14); }},
        {"NiVertexColorProperty",
         [](NifBuilder& b) { b.TypeName("NiVertexColorProperty").String("").Long(-1).Long(-1).Short(0).Long(0).Long(0); }},
        {"NiAlphaProperty", [](NifBuilder& b) { b.TypeName("NiAlphaProperty").String("").Long(-1).Long(-1).Byte(0).Byte(0).Byte(0); }},
        {"NiZBufferProperty", [](NifBuilder& b) { ZBufferPropertyBlock(b); }},
        {"NiSkinInstance", [](NifBuilder& b) { b.TypeName("NiSkinInstance").Long(-1).Long(-1).Long(0); }},
        {"NiSkinData",
         [](NifBuilder& b) { b.TypeName("NiSkinData").Float(1).Vector(0, 0, 0).IdentityMatrix33().Long(0).Long(-1); }},
        {"NiKeyframeController",
         [](NifBuilder& b) {
             b.TypeName("NiKeyframeController").Long(-1);
             ControllerFields(b);
             b.Long(-1);
         }},
        {"NiKeyframeData", [](NifBuilder& b) { b.TypeName("NiKeyframeData").Long(0).Long(0).Long(0); }},
        {"NiGeomMorpherController",
         [](NifBuilder& b) {
             b.TypeName("NiGeomMorpherController").Long(-1);
             ControllerFields(b);
             b.Long(-1).Byte(0);
         }},
        {"NiMorphData", [](NifBuilder& b) { b.TypeName("NiMorphData").Long(0).Long(0).Byte(1); }},
        {"NiUVController",
         [](NifBuilder& b) {
             b.TypeName("NiUVController").Long(-1);
             ControllerFields(b);
             b.Short(0).Long(-1);
         }},
        {"NiUVData", [](NifBuilder& b) { b.TypeName("NiUVData").Long(0).Long(0).Long(0).Long(0); }},
        {"NiRotatingParticles",
         [](NifBuilder& b) {
             b.TypeName("NiRotatingParticles");
             ObjectHead(b, "");
             b.Long(0).Long(-1).Long(-1);
         }},
        {"NiRotatingParticlesData",
         [](NifBuilder& b) {
             b.TypeName("NiRotatingParticlesData").Short(0).Long(0).Long(0).RepeatFloat(0, 4).Long(0);
             b.Long(0).Short(0).Short(0).Float(0).Short(0).Long(0).Long(0);
         }},
        {"NiParticleSystemController",
         [](NifBuilder& b) {
             b.TypeName("NiParticleSystemController").Long(-1).Short(0).RepeatFloat(0, 4).Long(-1).RepeatFloat(0, 16);
             b.Long(0).Long(0).Long(0).Byte(0).Long(0).Long(0).Long(0).Long(0).Long(0).Float(0).Long(0).Long(0);
             b.Short(0).Short(0).Short(0).Long(-1).Long(-1).Long(-1).Byte(0);
         }},
        {"NiParticleGrowFade", [](NifBuilder& b) { b.TypeName("NiParticleGrowFade").Long(-1).Long(-1).Float(0).Float(0); }},
        {"NiTextureEffect",
         [](NifBuilder& b) {
             b.TypeName("NiTextureEffect").String("").Long(-1).Long(-1);
             Placement(b);
             b.Long(0).Long(0).Vector(0, 0, 0).IdentityMatrix33().Long(0).Long(0).Long(0).Long(0).Long(0).Byte(0);
             b.RepeatFloat(0, 4).Long(0).Short(0);
         }},
        {"NiStringExtraData", [](NifBuilder& b) { b.TypeName("NiStringExtraData").Long(-1).Long(0).String(""); }},
        {"NiTextKeyExtraData", [](NifBuilder& b) { b.TypeName("NiTextKeyExtraData").Long(-1).Long(0).Long(0); }},
    };
    return kTypes;
}

constexpr size_t kFileBytes = size_t(16) << 20;

NifBuilder ManyCopies(const WriteBlock& write) {
    NifBuilder one;
    write(one);
    const std::string_view instance(reinterpret_cast<const char*>(one.Bytes().data()), one.Size());
    const size_t copies = kFileBytes / one.Size();
    NifBuilder nif;
    nif.FileStart(static_cast<int32_t>(copies));
    for (size_t i = 0; i < copies; ++i) nif.Raw(instance);
    return nif.Footer();
}

TEST(PerTypeMemory, TwentySevenTypesAreCovered) { EXPECT_EQ(SmallestInstances().size(), 27u); }

// One case per type, so that the types load in parallel and a failure names its type.
class ManyCopiesOfTheSmallestInstance : public testing::TestWithParam<size_t> {};

TEST_P(ManyCopiesOfTheSmallestInstance, LoadsWithinTheBound) {
    const auto& [typeName, write] = SmallestInstances()[GetParam()];
    const NifBuilder nif = ManyCopies(write);
    const hostile::LoadOutcome outcome = hostile::LoadBytes(nif);
    EXPECT_TRUE(outcome.loaded) << typeName << ": " << outcome.failure;
    EXPECT_GT(outcome.blockCount, 50000) << typeName;  // the largest smallest instance is under 200 bytes
    // Bytes held per file byte beyond the 16 MB, printed for the record.
    const double held = (static_cast<double>(outcome.peakBytes) - double(16u << 20)) / static_cast<double>(nif.Size());
    std::printf("%-28s %10zu bytes held for %zu file bytes: %.2f x beyond 16 MB\n", typeName.c_str(), outcome.peakBytes,
                nif.Size(), held);
    EXPECT_LE(outcome.peakBytes, hostile::MemoryBound(nif.Size())) << typeName << ": " << outcome.peakBytes << " bytes for a file of " << nif.Size();
    // The same bound for a million copies, where the 16 MB no longer hide
    // what each block costs: the memory held per block beyond the image (its
    // object, its place in the table, what it keeps) must stay under twice
    // the instance's bytes plus its share of 12 MB (the rest of the 16 MB is
    // the process's own).
    NifBuilder one;
    write(one);
    const double heldPerBlock = static_cast<double>(outcome.peakBytes - nif.Size()) / std::max(outcome.blockCount, 1);
    const double allowedPerBlock = 2.0 * static_cast<double>(one.Size()) + double(12u << 20) / 1e6;
    EXPECT_LE(heldPerBlock, allowedPerBlock) << typeName << ": " << heldPerBlock << " bytes held per block of " << one.Size();
}

INSTANTIATE_TEST_SUITE_P(PerTypeMemory, ManyCopiesOfTheSmallestInstance, testing::Range(size_t(0), SmallestInstances().size()),
                         [](const testing::TestParamInfo<size_t>& info) { return SmallestInstances()[info.param].first; });

// The largest counts each array-carrying layout allows (16-bit counts at
// 65,535; 32-bit counts filling about 24 to 32 MB), in one block, and the
// most blocks of the smallest kind of block.
TEST(PerTypeMemory, LargestCountsOfTheArrayCarryingTypes) {
    // Each file is loaded as soon as it is written and dropped before the
    // next: held together they crowd a 32-bit address space under ASan.
    const auto loadsWithinTheBound = [](const std::string& typeName, const NifBuilder& nif) {
        const hostile::LoadOutcome outcome = hostile::LoadBytes(nif);
        EXPECT_TRUE(outcome.loaded) << typeName << ": " << outcome.failure;
        EXPECT_LE(outcome.peakBytes, hostile::MemoryBound(nif.Size()))
            << typeName << ": " << outcome.peakBytes << " bytes for a file of " << nif.Size();
    };
    {
        NifBuilder b;
        b.FileStart(1).TypeName("NiTriShapeData").Short(65535).Long(1).RepeatFloat(1, 3 * 65535).Long(1).RepeatFloat(0, 3 * 65535);
        b.Vector(0, 0, 0).Float(1).Long(1).RepeatFloat(1, 4 * 65535).Short(4).Long(1).RepeatFloat(0, 8 * 65535);
        b.Short(21845).Long(3 * 21845);
        for (int i = 0; i < 3 * 21845; ++i) b.Short(i % 65535);
        b.Short(65535);
        for (int i = 0; i < 65535; ++i) b.Short(0);
        loadsWithinTheBound("NiTriShapeData", b.Footer());
    }
    {
        NifBuilder b;
        const int32_t targets = 4000000;  // empty targets of 8 bytes each
        b.FileStart(1).TypeName("NiMorphData").Long(targets).Long(0).Byte(1);
        for (int32_t i = 0; i < targets; ++i) b.Long(0).Long(1);
        loadsWithinTheBound("NiMorphData", b.Footer());
    }
    {
        // As many blocks as possible: a million of four empty groups each.
        const int32_t blocks = 1000000;
        NifBuilder b;
        b.FileStart(blocks);
        for (int32_t i = 0; i < blocks; ++i) b.TypeName("NiUVData").Long(0).Long(0).Long(0).Long(0);
        loadsWithinTheBound("1,000,000 empty NiUVData", b.Footer());
    }
    {
        NifBuilder b;
        b.FileStart(1).TypeName("NiUVData");
        for (int group = 0; group < 4; ++group) b.Long(750000).Long(1).RepeatFloat(0.5f, 2 * 750000);
        loadsWithinTheBound("NiUVData", b.Footer());
    }
    {
        NifBuilder b;
        const int32_t keys = 3000000;
        b.FileStart(1).TypeName("NiTextKeyExtraData").Long(-1).Long(0).Long(keys);
        for (int32_t i = 0; i < keys; ++i) b.Long(i).String("");
        loadsWithinTheBound("NiTextKeyExtraData", b.Footer());
    }
    {
        NifBuilder b;
        const int32_t bones = 100000;
        b.FileStart(1).TypeName("NiSkinData").Float(1).Vector(0, 0, 0).IdentityMatrix33().Long(bones).Long(-1);
        for (int32_t i = 0; i < bones; ++i) b.IdentityMatrix33().Vector(0, 0, 0).Float(1).Vector(0, 0, 0).Float(1).Short(32).RepeatFloat(0, 48);
        loadsWithinTheBound("NiSkinData", b.Footer());
    }
    {
        NifBuilder b;
        b.FileStart(1).TypeName("NiParticleSystemController").Long(-1).Short(0).RepeatFloat(0, 4).Long(-1).RepeatFloat(0, 16);
        b.Long(0).Long(0).Long(0).Byte(0).Long(0).Long(0).Long(0).Long(0).Long(0).Float(0).Long(0).Long(0);
        b.Short(0).Short(65535).Short(0).RepeatFloat(0, 10 * 65535).Long(-1).Long(-1).Long(-1).Byte(0);
        loadsWithinTheBound("NiParticleSystemController", b.Footer());
    }
}

}  // namespace
