// The byte stream: bounds, verify messages, echo to the printer.
#include <gtest/gtest.h>

#include <string>

#include "importer/nif/debug_printer.h"
#include "importer/nif/qiv_stream.h"
#include "importer/nif/text_exception.h"
#include "nif_builder/nif_builder.h"
#include "platform/headless.h"
#include "tests/reader/stream_fixture.h"

namespace {

using Stream = StreamTest;

TEST_F(Stream, EmptyFileOpensAndFirstLongFails) {
    NifBuilder empty;
    TempNifFile file(empty);
    EXPECT_TRUE(stream.OpenFile(file.Path().c_str()));
    EXPECT_EQ(FailureOf([&] { stream.Long(); }), "Attempted to copy too much data (4 bytes).");
    EXPECT_EQ(platform::headless::DebugText(), "Attempted to copy too much data (4 bytes).\n");
}

TEST_F(Stream, ReadsLittleEndianValues) {
    NifBuilder bytes;
    bytes.Long(0x12345678).Short(0xABCD).Byte(0x7F).Float(-2.5f).Long(-2);
    Open(bytes);
    EXPECT_EQ(stream.Long(), 0x12345678);
    EXPECT_EQ(stream.Short(), 0xABCD);
    EXPECT_EQ(stream.Byte(), 0x7F);
    EXPECT_EQ(stream.Float(), -2.5f);
    EXPECT_EQ(stream.Long(), -2);
    EXPECT_EQ(stream.Remaining(), 0u);
}

TEST_F(Stream, FourByteFileGivesOneLongAndFinishes) {
    NifBuilder bytes;
    bytes.Long(7);
    TempNifFile file(bytes);
    stream.OpenFile(file.Path().c_str());
    EXPECT_EQ(stream.Long(), 7);
    EXPECT_NO_THROW(stream.CheckFinished());
}

TEST_F(Stream, ShortAndByteThatDoNotFitNameTheirSizes) {
    NifBuilder one;
    one.Byte(1);
    Open(one);
    EXPECT_EQ(FailureOf([&] { stream.Short(); }), "Attempted to copy too much data (2 bytes).");
    EXPECT_EQ(stream.Remaining(), 1u);  // a failed copy consumes nothing
    EXPECT_EQ(stream.Byte(), 1);
    EXPECT_EQ(FailureOf([&] { stream.Byte(); }), "Attempted to copy too much data (1 bytes).");
    EXPECT_EQ(FailureOf([&] { stream.Float(); }), "Attempted to copy too much data (4 bytes).");
}

TEST_F(Stream, EmptyLengthStringConsumesOnlyItsLength) {
    NifBuilder bytes;
    bytes.String("").Byte(9);
    Open(bytes);
    EXPECT_EQ(stream.LengthString(), "");
    EXPECT_EQ(stream.Position(), 4u);
}

TEST_F(Stream, LengthStringKeepsBytesAndEndsAtZero) {
    NifBuilder bytes;
    bytes.String("abc").String(std::string("ab\0cd", 5)).String("\xE9t\xE9");
    Open(bytes);
    EXPECT_EQ(stream.LengthString(), "abc");
    EXPECT_EQ(stream.LengthString(), "ab");
    EXPECT_EQ(stream.LengthString(), "\xE9t\xE9");
    EXPECT_EQ(stream.Remaining(), 0u);
}

TEST_F(Stream, LengthStringLongerThanRestFailsAfterItsLength) {
    NifBuilder bytes;
    bytes.Long(10).Raw("abc");
    Open(bytes);
    EXPECT_EQ(FailureOf([&] { stream.LengthString(); }), "Attempted to copy too much data (10 bytes).");
    EXPECT_EQ(stream.Position(), 4u);
}

TEST_F(Stream, HugeOrNegativeLengthStringFailsWithoutAllocating) {
    NifBuilder bytes;
    bytes.Long(0x7FFFFFFF).Long(-5);
    Open(bytes);
    EXPECT_EQ(FailureOf([&] { stream.LengthString(); }), "Attempted to copy too much data (2147483647 bytes).");
    EXPECT_EQ(FailureOf([&] { stream.LengthString(); }), "Attempted to copy too much data (-5 bytes).");
}

TEST_F(Stream, StringUptoVerifyReadsUpToTerminator) {
    NifBuilder bytes;
    bytes.Raw("abc\n");
    Open(bytes);
    EXPECT_EQ(stream.StringUptoVerify('\n', "abc"), "abc");
    EXPECT_EQ(stream.Remaining(), 0u);
}

TEST_F(Stream, StringUptoVerifyRejectsOtherText) {
    NifBuilder bytes;
    bytes.Raw("abd\n");
    Open(bytes);
    EXPECT_EQ(FailureOf([&] { stream.StringUptoVerify('\n', "abc"); }), "Unexpected String Data 'abd' expected 'abc'");
    EXPECT_EQ(stream.Remaining(), 0u);
}

TEST_F(Stream, StringUptoVerifyWithoutTerminatorFails) {
    NifBuilder bytes;
    bytes.Raw("abc");
    Open(bytes);
    EXPECT_EQ(FailureOf([&] { stream.StringUptoVerify('\n', "abc"); }), "Unable to find end of String.");
    EXPECT_EQ(stream.Remaining(), 3u);
}

TEST_F(Stream, StringUptoVerifySearchesOnlyUnreadBytes) {
    NifBuilder bytes;
    bytes.Raw("\nab");
    Open(bytes);
    stream.Byte();
    EXPECT_EQ(FailureOf([&] { stream.StringUptoVerify('\n', "ab"); }), "Unable to find end of String.");
}

TEST_F(Stream, LongVerifyMessageShowsBothValuesTwice) {
    NifBuilder bytes;
    bytes.Long(0x04000003).Long(5).Long(-1);
    Open(bytes);
    EXPECT_EQ(FailureOf([&] { stream.LongVerify(0x04000002); }),
              "Unexpected Long value - was 0x04000003 (67108867) expected 0x04000002 (67108866)");
    EXPECT_EQ(FailureOf([&] { stream.LongVerify(-1); }), "Unexpected Long value - was 0x00000005 (5) expected 0xFFFFFFFF (-1)");
    EXPECT_EQ(stream.LongVerify(-1), -1);
}

TEST_F(Stream, ShortVerifyShowsSignedWidenedValues) {
    NifBuilder bytes;
    bytes.Short(0xFFFF).Short(0x8000).Short(1);
    Open(bytes);
    EXPECT_EQ(FailureOf([&] { stream.ShortVerify(1); }), "Unexpected Short value - was 0xFFFFFFFF (-1) expected 0x0001 (1)");
    EXPECT_EQ(FailureOf([&] { stream.ShortVerify(0); }), "Unexpected Short value - was 0xFFFF8000 (-32768) expected 0x0000 (0)");
    EXPECT_EQ(stream.ShortVerify(1), 1);
}

TEST_F(Stream, ShortVerifyComparesLow16Bits) {
    NifBuilder bytes;
    bytes.Short(0xFFFF);
    Open(bytes);
    EXPECT_EQ(stream.ShortVerify(-1), 0xFFFF);
}

TEST_F(Stream, ByteVerifyShowsUnsignedValues) {
    NifBuilder bytes;
    bytes.Byte(0x80).Byte(0);
    Open(bytes);
    EXPECT_EQ(FailureOf([&] { stream.ByteVerify(1); }), "Unexpected Byte value - was 0x0080 (128) expected 0x0001 (1)");
    EXPECT_EQ(FailureOf([&] { stream.ByteVerify(1); }), "Unexpected Byte value - was 0x0000 (0) expected 0x0001 (1)");
}

TEST_F(Stream, CheckFinishedReportsBytesLeft) {
    NifBuilder bytes;
    bytes.Raw("xyz");
    Open(bytes);
    EXPECT_EQ(FailureOf([&] { stream.CheckFinished(); }), "File data left at end of file - 3 bytes left");
}

TEST_F(Stream, CopyAndSkipRejectNegativeAndOversizedCounts) {
    NifBuilder bytes;
    bytes.Raw("abcd");
    Open(bytes);
    char buffer[8] = {};
    EXPECT_EQ(FailureOf([&] { stream.Copy(buffer, 5); }), "Attempted to copy too much data (5 bytes).");
    EXPECT_EQ(FailureOf([&] { stream.Copy(buffer, -1); }), "Attempted to copy too much data (-1 bytes).");
    EXPECT_EQ(FailureOf([&] { stream.Skip(5); }), "Attempted to skip too much data (5 bytes).");
    EXPECT_EQ(FailureOf([&] { stream.Skip(-1); }), "Attempted to skip too much data (-1 bytes).");
    EXPECT_EQ(stream.Remaining(), 4u);
    stream.Skip(1);
    stream.Copy(buffer, 3);
    EXPECT_EQ(std::string(buffer), "bcd");
}

TEST_F(Stream, UnopenableFileIsNotEchoedAndLeavesStreamUninitialised) {
    const std::string path = std::string(NIF_BINARY_DIR) + "/no/such/folder/missing.nif";
    EXPECT_EQ(FailureOf([&] { stream.OpenFile(path.c_str()); }), "Unable to open file '" + path + "'.");
    EXPECT_EQ(platform::headless::DebugText(), "");
    EXPECT_FALSE(stream.IsInitialised());
    EXPECT_EQ(FailureOf([&] { stream.Float(); }), "Attempt to access uninitialised Qiv_Stream from function 'Float'.");
    EXPECT_EQ(platform::headless::DebugText(), "Attempt to access uninitialised Qiv_Stream from function 'Float'.\n");
}

TEST_F(Stream, FolderCannotBeOpenedAsFile) {
    const std::string folder = NIF_BINARY_DIR;
    EXPECT_EQ(FailureOf([&] { stream.OpenFile(folder.c_str()); }), "Unable to open file '" + folder + "'.");
    EXPECT_FALSE(stream.IsInitialised());
}

TEST_F(Stream, EveryGuardedReadNamesItselfWhenUninitialised) {
    const std::string prefix = "Attempt to access uninitialised Qiv_Stream from function '";
    EXPECT_EQ(FailureOf([&] { stream.Long(); }), prefix + "Long'.");
    EXPECT_EQ(FailureOf([&] { stream.Short(); }), prefix + "Short'.");
    EXPECT_EQ(FailureOf([&] { stream.Byte(); }), prefix + "Byte'.");
    EXPECT_EQ(FailureOf([&] { stream.LengthString(); }), prefix + "LengthString'.");
    EXPECT_EQ(FailureOf([&] { stream.LongVerify(0); }), prefix + "LongVerify'.");
    EXPECT_EQ(FailureOf([&] { stream.ShortVerify(0); }), prefix + "ShortVerify'.");
    EXPECT_EQ(FailureOf([&] { stream.ByteVerify(0); }), prefix + "ByteVerify'.");
    EXPECT_EQ(FailureOf([&] { stream.StringUptoVerify('\n', ""); }), prefix + "StringUptoVerify'.");
    EXPECT_EQ(FailureOf([&] { stream.CheckFinished(); }), prefix + "CheckFinished'.");
}

TEST_F(Stream, LongPathAppearsWholeInOpenFailure) {
    const std::string path = std::string(NIF_BINARY_DIR) + "/" + std::string(3000, 'p') + "/x.nif";
    EXPECT_EQ(FailureOf([&] { stream.OpenFile(path.c_str()); }), "Unable to open file '" + path + "'.");
}

TEST_F(Stream, LongStringDataAppearsWholeInMismatch) {
    const std::string text(5000, 'q');
    NifBuilder bytes;
    bytes.Raw(text).Byte('\n');
    Open(bytes);
    EXPECT_EQ(FailureOf([&] { stream.StringUptoVerify('\n', "x"); }), "Unexpected String Data '" + text + "' expected 'x'");
}

TEST_F(Stream, ErrorIsEchoedAsTextThenLineEnd) {
    NifBuilder bytes;
    Open(bytes);
    FailureOf([&] { stream.Long(); });
    EXPECT_EQ(platform::headless::DebugText(), "Attempted to copy too much data (4 bytes).\n");
    EXPECT_EQ(platform::headless::PauseMilliseconds(), 2u);  // two writes, one pause each
}

}  // namespace
