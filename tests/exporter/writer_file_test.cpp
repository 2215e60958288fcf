// The scene container: header line, version, block count, blocks in list
// order, the root record; and when it refuses to write.
#include <gtest/gtest.h>

#include <memory>

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
    EXPECT_TRUE(file.SetHeader(std::make_unique<CNIF4_Header>()));
    EXPECT_TRUE(file.SetFooter(std::make_unique<CNIF4_Footer>()));
    Nif4Output out;
    ASSERT_TRUE(file.Write(&out));
    EXPECT_EQ(out.Bytes(), Concat({kHeaderLineAndVersion, Hex("00000000 01000000 00000000")}));
}

TEST(WriterFile, BlocksFollowTheHeaderInListOrder) {
    CNIF4_File file;
    file.SetHeader(std::make_unique<CNIF4_Header>());
    file.AddBlock(std::make_unique<CNIF4_ZBufferProperty>());
    file.AddBlock(std::make_unique<CNIF4_VertexColorProperty>());
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
    EXPECT_TRUE(file.AddBlockFirst(std::make_unique<CNIF4_TexturingProperty>(6)));
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
