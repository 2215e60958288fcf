// The scene container: header line, version, block count, blocks in list
// order, the root record; and when it refuses to write.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "exporter/nif4/nif4_file.h"
#include "exporter/nif4/node_blocks.h"
#include "exporter/nif4/property_blocks.h"
#include "tests/exporter/byte_helpers.h"

using bytes::Concat;
using bytes::Hex;
using bytes::Text;

namespace {

const bytes::Bytes kHeaderLineAndVersion =
    Concat({Text("NetImmerse File Format, Version 4.0.0.2"), Hex("0A 02000004")});

}  // namespace

TEST(WriterFile, WithoutHeaderWritesNothing) {
    CNIF4_File file;
    file.AddBlock(std::make_unique<CNIF4_ZBufferProperty>());
    Nif4Output out;
    EXPECT_FALSE(file.Write(&out));
    EXPECT_EQ(out.Size(), 0u);
}

TEST(WriterFile, WithoutStreamReportsFailure) {
    CNIF4_File file;
    file.SetHeader(std::make_unique<CNIF4_Header>());
    EXPECT_FALSE(file.Write(nullptr));
}

TEST(WriterFile, EmptyContainerIsHeaderCountAndRoot) {
    CNIF4_File file;
    file.SetHeader(std::make_unique<CNIF4_Header>());
    file.SetFooter(std::make_unique<CNIF4_Footer>());
    Nif4Output out;
    ASSERT_TRUE(file.Write(&out));
    EXPECT_EQ(out.Bytes(), Concat({kHeaderLineAndVersion, Hex("00000000 01000000 00000000")}));
}

TEST(WriterFile, BlocksFollowTheHeaderInListOrder) {
    CNIF4_File file;
    file.SetHeader(std::make_unique<CNIF4_Header>());
    EXPECT_EQ(file.AddBlock(std::make_unique<CNIF4_ZBufferProperty>()), 0);
    EXPECT_EQ(file.AddBlock(std::make_unique<CNIF4_VertexColorProperty>()), 1);
    file.SetFooter(std::make_unique<CNIF4_Footer>());
    Nif4Output out;
    ASSERT_TRUE(file.Write(&out));
    const bytes::Bytes& written = out.Bytes();
    ASSERT_EQ(written.size(), 48u + 35u + 47u + 8u);
    EXPECT_EQ(bytes::Slice(written, 0, 44), kHeaderLineAndVersion);
    EXPECT_EQ(bytes::U32At(written, 44), 2u);
    EXPECT_EQ(bytes::Slice(written, 48, 21), Concat({Hex("11000000"), Text("NiZBufferProperty")}));
    EXPECT_EQ(bytes::Slice(written, 83, 25), Concat({Hex("15000000"), Text("NiVertexColorProperty")}));
    EXPECT_EQ(bytes::Slice(written, written.size() - 8, 8), Hex("01000000 00000000"));
    EXPECT_EQ(file.ByteSize(), written.size());
}

TEST(WriterFile, BlockAddedFirstIsWrittenFirstAndCounted) {
    CNIF4_File file;
    file.SetHeader(std::make_unique<CNIF4_Header>());
    for (int i = 0; i < 3; ++i) file.AddBlock(std::make_unique<CNIF4_ZBufferProperty>());
    file.AddBlockFirst(std::make_unique<CNIF4_TexturingProperty>(6));
    ASSERT_EQ(file.BlockCount(), 4u);
    EXPECT_EQ(file.BlockAt(0)->TypeName(), "NiTexturingProperty");
    EXPECT_EQ(file.BlockAt(3)->TypeName(), "NiZBufferProperty");
    Nif4Output out;
    ASSERT_TRUE(file.Write(&out));
    EXPECT_EQ(bytes::U32At(out.Bytes(), 44), 4u);
    EXPECT_EQ(bytes::Slice(out.Bytes(), 52, 19), Text("NiTexturingProperty"));
    EXPECT_EQ(out.Size(), 48u + 95u + 3u * 35u + 8u);
}

TEST(WriterFile, ReplacedHeaderAndFooterAreReleased) {
    // The sanitizer build reports the earlier objects if they leak.
    CNIF4_File file;
    file.SetHeader(std::make_unique<CNIF4_Header>());
    file.SetHeader(std::make_unique<CNIF4_Header>());
    file.SetFooter(std::make_unique<CNIF4_Footer>());
    file.SetFooter(std::make_unique<CNIF4_Footer>());
    file.AddBlock(std::make_unique<CNIF4_Node>(1, "a", 1, Nif4LinkArray(new int32_t[1]{1}), 0, nullptr, 0, nullptr));
    Nif4Output out;
    EXPECT_TRUE(file.Write(&out));
    EXPECT_EQ(bytes::U32At(out.Bytes(), 44), 1u);
}

TEST(WriterFile, WritingTwiceGivesTheSameBytes) {
    CNIF4_File file;
    file.SetHeader(std::make_unique<CNIF4_Header>());
    file.AddBlock(std::make_unique<CNIF4_SourceTexture>(5, "a.bmp"));
    Nif4Output first;
    Nif4Output second;
    ASSERT_TRUE(file.Write(&first));
    ASSERT_TRUE(file.Write(&second));
    EXPECT_EQ(first.Bytes(), second.Bytes());
}

TEST(WriterFile, ReservedPlaceKeepsItsIndexAndIsWrittenThere) {
    CNIF4_File file;
    file.SetHeader(std::make_unique<CNIF4_Header>());
    const int32_t first = file.ReserveBlock();
    EXPECT_EQ(first, 0);
    EXPECT_EQ(file.AddBlock(std::make_unique<CNIF4_ZBufferProperty>()), 1);
    EXPECT_EQ(file.ReserveBlock(), 2);
    EXPECT_EQ(file.BlockAt(0), nullptr);
    file.PlaceBlock(2, std::make_unique<CNIF4_VertexColorProperty>());
    file.PlaceBlock(first, std::make_unique<CNIF4_TexturingProperty>(2));
    Nif4Output out;
    ASSERT_TRUE(file.Write(&out));
    EXPECT_EQ(bytes::U32At(out.Bytes(), 44), 3u);
    EXPECT_EQ(bytes::Slice(out.Bytes(), 52, 19), Text("NiTexturingProperty"));
    EXPECT_EQ(bytes::I32At(out.Bytes(), 48 + 49), 2);  // the link given before the block existed
    EXPECT_EQ(bytes::Slice(out.Bytes(), 48 + 95 + 4, 17), Text("NiZBufferProperty"));
    EXPECT_EQ(bytes::Slice(out.Bytes(), 48 + 95 + 35 + 4, 21), Text("NiVertexColorProperty"));
    EXPECT_EQ(out.Size(), 48u + 95u + 35u + 47u + 8u);
}

TEST(WriterFile, EmptyOrMisplacedBlockStopsTheWrite) {
    {
        CNIF4_File file;
        file.SetHeader(std::make_unique<CNIF4_Header>());
        file.ReserveBlock();
        file.AddBlock(std::make_unique<CNIF4_ZBufferProperty>());
        Nif4Output out;
        EXPECT_FALSE(file.Write(&out)) << "a reserved place left empty";
        EXPECT_EQ(out.Size(), 0u);
    }
    for (int32_t index : {-1, 1, 2}) {
        SCOPED_TRACE("placed at " + std::to_string(index));
        CNIF4_File file;
        file.SetHeader(std::make_unique<CNIF4_Header>());
        file.PlaceBlock(file.ReserveBlock(), std::make_unique<CNIF4_ZBufferProperty>());
        file.AddBlock(std::make_unique<CNIF4_ZBufferProperty>());
        // Index 1 is taken, 2 and -1 were never handed out.
        file.PlaceBlock(index, std::make_unique<CNIF4_VertexColorProperty>());
        EXPECT_EQ(file.BlockCount(), 2u);
        EXPECT_EQ(file.BlockAt(1)->TypeName(), "NiZBufferProperty");
        Nif4Output out;
        EXPECT_FALSE(file.Write(&out));
        EXPECT_EQ(out.Size(), 0u);
    }
}

TEST(WriterFile, CountingStreamCountsEveryWriteAndStoresNothing) {
    const auto writeAll = [](Nif4Output& out) {
        out.WriteUInt8(1);
        out.WriteUInt16(2);
        out.WriteInt16(-3);
        out.WriteUInt32(4);
        out.WriteInt32(-5);
        out.WriteFloat(6.0f);
        out.WriteBytes("abc", 3);
        out.WriteCountedText(6, "ab");  // padded to six characters
        out.WriteCountedText(0, "ignored");
    };
    Nif4Output stored;
    writeAll(stored);
    Nif4Output counter = Nif4Output::Counter();
    writeAll(counter);
    EXPECT_EQ(stored.Size(), 1u + 2 + 2 + 4 + 4 + 4 + 3 + 10 + 4);
    EXPECT_EQ(stored.Length(), stored.Size());
    EXPECT_EQ(counter.Length(), stored.Size());
    EXPECT_EQ(counter.Size(), 0u);
    counter.Reserve(1000);
    EXPECT_TRUE(counter.Bytes().empty());
}
