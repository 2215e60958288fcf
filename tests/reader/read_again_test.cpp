// Records that blocks read again when asked: every entry found by its index,
// and a record whose bytes changed after the load read again only within them.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "importer/nif/controller_blocks.h"
#include "importer/nif/effect_blocks.h"
#include "importer/nif/node_blocks.h"
#include "importer/nif/property_blocks.h"
#include "tests/reader/reader_test_support.h"
#include "nif_builder/nif_builder.h"

namespace {

class ReadAgain : public ::testing::Test {
protected:
    void SetUp() override { platform::headless::Reset(); }
};

// NiTriShapeData fields up to its match group count: no vertices, no triangles.
NifBuilder EmptyShapeDataHead() {
    NifBuilder b;
    b.Short(0).Long(0).Long(0).Vector(0, 0, 0).Float(1).Long(0).Short(0).Long(0).Short(0).Long(0);
    return b;
}

TEST_F(ReadAgain, EveryEntryOfARecordListIsFoundByItsIndex) {
    const int count = 300;
    NifBuilder keys;
    keys.Long(-1).Long(0).Long(count);
    for (int i = 0; i < count; ++i) keys.Long(i).String(std::string(size_t(i % 7), char('a' + i % 26)));
    ReadAlone<NiTextKeyExtraData> text(keys, BlockKind::NiTextKeyExtraData);
    ASSERT_EQ(text.failure, "");

    NifBuilder groups = EmptyShapeDataHead();
    groups.Short(count);
    for (int i = 0; i < count; ++i) {
        groups.Short(i % 5);
        for (int k = 0; k < i % 5; ++k) groups.Short(i);
    }
    ReadAlone<NiTriShapeData> shape(groups, BlockKind::NiTriShapeData);
    ASSERT_EQ(shape.failure, "");

    NifBuilder morphs;
    morphs.Long(count).Long(1).Byte(1);
    for (int i = 0; i < count; ++i) morphs.Long(i % 3).Long(1).RepeatFloat(float(i), 2 * (i % 3)).Vector(float(i), 0, 0);
    ReadAlone<NiMorphData> morph(morphs, BlockKind::NiMorphData);
    ASSERT_EQ(morph.failure, "");

    ASSERT_EQ(text.block->Keys().size(), size_t(count));
    ASSERT_EQ(shape.block->MatchGroups().size(), size_t(count));
    ASSERT_EQ(morph.block->MorphCount(), size_t(count));
    for (int i = count - 1; i >= 0; --i) {
        const TextKey key = text.block->Keys()[size_t(i)];
        EXPECT_EQ(key.time, i);
        EXPECT_EQ(key.text, std::string(size_t(i % 7), char('a' + i % 26)));
        EXPECT_EQ(shape.block->MatchGroups()[size_t(i)].ToVector(), std::vector<uint16_t>(size_t(i % 5), uint16_t(i)));
        const MorphTarget target = morph.block->Morph(size_t(i));
        EXPECT_EQ(target.keys.size(), size_t(2 * (i % 3)));
        ASSERT_EQ(target.vertices.size(), 1u);
        EXPECT_EQ(target.vertices[0].x, float(i));
    }
    // Past the last entry: an empty one.
    EXPECT_EQ(text.block->Keys()[count].text, "");
    EXPECT_TRUE(shape.block->MatchGroups()[count].empty());
    EXPECT_EQ(morph.block->Morph(count).keyCount, 0);
}

// Writes `value` as a Long over the image's bytes at `offset`.
void PokeLong(std::vector<unsigned char>& image, size_t offset, int32_t value) {
    ASSERT_LE(offset + 4, image.size());
    std::memcpy(image.data() + offset, &value, 4);  // little-endian machines only build this project
}

// Loads `bytes` as a `Block`, changes the Long at `offset` and asks `ask`: it
// must fail with the stream's error, not read past the record.
template <class Block>
std::string AskAfterChange(const NifBuilder& bytes, BlockKind kind, size_t offset, int32_t value,
                           const std::function<void(const Block&)>& ask) {
    ReadAlone<Block> loaded(bytes, kind);
    if (!loaded.failure.empty()) return "load failed: " + loaded.failure;
    PokeLong(loaded.image, offset, value);
    try {
        ask(*loaded.block);
    } catch (const TextException& error) {
        return error.Text();
    }
    return "no failure";
}

TEST_F(ReadAgain, ARecordChangedAfterTheLoadIsReadAgainOnlyWithinItsBytes) {
    const std::string tooMuch = "Attempted to copy too much data (4 bytes).";

    NifBuilder uv;
    uv.Long(1).Long(2).RepeatFloat(0, 4).Long(0).Long(0).Long(0);
    EXPECT_EQ(AskAfterChange<NiUVData>(uv, BlockKind::NiUVData, 0, 1000, [](const NiUVData& b) { b.Group(0); }), tooMuch);

    NifBuilder keyframes;
    keyframes.Long(0).Long(0).Long(0);
    EXPECT_EQ(AskAfterChange<NiKeyframeData>(keyframes, BlockKind::NiKeyframeData, 4, 1000,
                                             [](const NiKeyframeData& b) { b.Translation(); }),
              tooMuch);

    NifBuilder texturing;
    texturing.Long(0).Long(-1).Long(-1).Short(0).Long(2).Long(7);
    for (int slot = 0; slot < 7; ++slot) texturing.Long(0);
    const size_t firstFlag = 4 + 4 + 4 + 2 + 4 + 4;
    EXPECT_EQ(AskAfterChange<NiTexturingProperty>(texturing, BlockKind::NiTexturingProperty, firstFlag + 5 * 4, 1,
                                                  [](const NiTexturingProperty& b) { b.Slot(5); }),
              tooMuch);

    NifBuilder keys;
    keys.Long(-1).Long(0).Long(2).Long(1).String("a").Long(2).String("b");
    EXPECT_EQ(AskAfterChange<NiTextKeyExtraData>(keys, BlockKind::NiTextKeyExtraData, 12 + 4, 1000,
                                                 [](const NiTextKeyExtraData& b) { b.Keys()[0]; }),
              "Attempted to copy too much data (1000 bytes).");

    NifBuilder morphs;
    morphs.Long(2).Long(0).Byte(1).Long(0).Long(1).Long(0).Long(1);
    EXPECT_EQ(AskAfterChange<NiMorphData>(morphs, BlockKind::NiMorphData, 9, 1000, [](const NiMorphData& b) { b.Morph(0); }),
              tooMuch);

    NifBuilder groups = EmptyShapeDataHead();
    groups.Short(2).Short(1).Short(7).Short(0);
    const size_t firstGroup = EmptyShapeDataHead().Size() + 2;
    EXPECT_EQ(AskAfterChange<NiTriShapeData>(groups, BlockKind::NiTriShapeData, firstGroup, 5,
                                             [](const NiTriShapeData& b) { b.MatchGroups()[0]; }),
              "Attempted to copy too much data (2 bytes).");
}

TEST_F(ReadAgain, EveryTypeNameHasOneKindAndOnlyThose) {
    for (int i = 0; i < kBlockKindCount; ++i) {
        const BlockKind kind = static_cast<BlockKind>(i);
        BlockKind found = BlockKind::NiNode;
        ASSERT_TRUE(FindBlockKind(TypeNameOf(kind), &found)) << TypeNameOf(kind);
        EXPECT_EQ(found, kind) << TypeNameOf(kind);
        std::string lower = TypeNameOf(kind);
        lower[0] = char(lower[0] + ('a' - 'A'));
        EXPECT_FALSE(FindBlockKind(lower, &found)) << lower;
        EXPECT_FALSE(FindBlockKind(std::string(TypeNameOf(kind)) + "x", &found)) << TypeNameOf(kind);
    }
}

}  // namespace
