// The file envelope: header, version, block count, type names, footer, end check.
#include <gtest/gtest.h>

#include "tests/reader/reader_test_support.h"

namespace {

class Envelope : public ::testing::Test {
protected:
    void SetUp() override { platform::headless::Reset(); }
};

TEST_F(Envelope, OtherVersionInHeaderLineIsRejected) {
    NifBuilder bytes;
    bytes.HeaderLine("NetImmerse File Format, Version 4.0.0.1").Long(0x04000002).Long(0).Footer();
    EXPECT_EQ(LoadFailure(bytes),
              "Unexpected String Data 'NetImmerse File Format, Version 4.0.0.1' expected 'NetImmerse File Format, Version 4.0.0.2'");
}

TEST_F(Envelope, HeaderFailureIsWrittenAsTextThenLineFeed) {
    NifBuilder bytes;
    bytes.HeaderLine("Gamebryo");
    LoadFailure(bytes);
    EXPECT_EQ(platform::headless::DebugText(),
              "Unexpected String Data 'Gamebryo' expected 'NetImmerse File Format, Version 4.0.0.2'\n");
    EXPECT_EQ(platform::headless::PauseMilliseconds(), 2u);
}

TEST_F(Envelope, MissingLineFeedIsRejected) {
    NifBuilder bytes;
    bytes.Raw("NetImmerse File Format, Version 4.0.0.2");
    EXPECT_EQ(LoadFailure(bytes), "Unable to find end of String.");
}

TEST_F(Envelope, OtherVersionNumberIsRejected) {
    NifBuilder bytes;
    bytes.HeaderLine().Long(0x04000003).Long(0).Footer();
    EXPECT_EQ(LoadFailure(bytes), "Unexpected Long value - was 0x04000003 (67108867) expected 0x04000002 (67108866)");
}

TEST_F(Envelope, ZeroBlocksLoadWithNoRoot) {
    NifBuilder bytes;
    bytes.FileStart(0).Footer({});
    Loaded loaded(bytes);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_EQ(loaded.file->GetBlockCount(), 0);
    EXPECT_EQ(loaded.file->GetRoot(), nullptr);
    EXPECT_EQ(loaded.file->GetBlock(0), nullptr);
    EXPECT_EQ(loaded.file->GetHeaderText(), "NetImmerse File Format, Version 4.0.0.2");
    EXPECT_EQ(loaded.file->GetVersion(), 0x04000002);
}

TEST_F(Envelope, NegativeBlockCountReadsNoBlockButStillChecksTheEnd) {
    NifBuilder bytes;
    bytes.FileStart(-5).Footer({});
    Loaded loaded(bytes);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_EQ(loaded.file->GetBlockCount(), 0);
    EXPECT_EQ(loaded.file->GetDeclaredBlockCount(), -5);
    EXPECT_EQ(loaded.file->GetRoot(), nullptr);

    NifBuilder extra;
    extra.FileStart(-5).Footer({}).Raw("abc");
    EXPECT_EQ(LoadFailure(extra), "File data left at end of file - 3 bytes left");
}

TEST_F(Envelope, FooterRootsAreKeptUnchecked) {
    NifBuilder bytes;
    bytes.FileStart(0).Footer({7, -3, 99});
    Loaded loaded(bytes);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_EQ(loaded.file->GetRootCount(), 3);
    EXPECT_EQ(loaded.file->GetRootIndices(), (std::vector<int32_t>{7, -3, 99}));
}

TEST_F(Envelope, NegativeRootCountReadsNoRoots) {
    NifBuilder bytes;
    bytes.FileStart(0).Long(-1);
    Loaded loaded(bytes);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_TRUE(loaded.file->GetRootIndices().empty());
}

TEST_F(Envelope, RootCountLargerThanDataFailsAtFirstMissingIndex) {
    NifBuilder bytes;
    bytes.FileStart(0).Long(0x7FFFFFFF).Long(0);
    EXPECT_EQ(LoadFailure(bytes), "Attempted to copy too much data (4 bytes).");
}

TEST_F(Envelope, FooterMissingFails) {
    NifBuilder bytes;
    bytes.FileStart(0).Long(1);
    EXPECT_EQ(LoadFailure(bytes), "Attempted to copy too much data (4 bytes).");
}

TEST_F(Envelope, BytesAfterFooterAreRejected) {
    NifBuilder bytes;
    bytes.FileStart(0).Footer().Raw("xyz");
    EXPECT_EQ(LoadFailure(bytes), "File data left at end of file - 3 bytes left");
}

TEST_F(Envelope, UnknownTypeNameIsRejectedByName) {
    NifBuilder bytes;
    bytes.FileStart(1).TypeName("NiBillboardNode");
    EXPECT_EQ(LoadFailure(bytes), "Unknown Block type 'NiBillboardNode'.");
    EXPECT_EQ(platform::headless::DebugText(), "Unknown Block type 'NiBillboardNode'.\n");
}

TEST_F(Envelope, TypeNamesDifferingInCaseAreUnknown) {
    NifBuilder bytes;
    bytes.FileStart(1).TypeName("ninode");
    EXPECT_EQ(LoadFailure(bytes), "Unknown Block type 'ninode'.");
}

TEST_F(Envelope, TypeNameOver100CharactersIsShownAsPlaceholder) {
    NifBuilder longName;
    longName.FileStart(1).TypeName(std::string(150, 'N'));
    EXPECT_EQ(LoadFailure(longName), "Unknown Block type '<UNKNOWN>'.");

    NifBuilder hundred;
    hundred.FileStart(1).TypeName(std::string(100, 'N'));
    EXPECT_EQ(LoadFailure(hundred), "Unknown Block type '" + std::string(100, 'N') + "'.");
}

TEST_F(Envelope, HugeBlockCountFailsAtTheEndOfDataNotInAllocation) {
    NifBuilder bytes;
    bytes.FileStart(0x7FFFFFFF);
    EXPECT_EQ(LoadFailure(bytes), "Attempted to copy too much data (4 bytes).");
}

TEST_F(Envelope, FileOnDiskLoadsLikeMemory) {
    NifBuilder bytes;
    bytes.FileStart(0).Footer();
    TempNifFile file(bytes);
    DebugPrinter printer;
    Qiv_Stream stream(&printer);
    stream.OpenFile(file.Path().c_str());
    NifFile nif(&stream);
    EXPECT_EQ(nif.GetBlockCount(), 0);
    EXPECT_EQ(nif.GetRootIndices(), (std::vector<int32_t>{0}));
}

}  // namespace
