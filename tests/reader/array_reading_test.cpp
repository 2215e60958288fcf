// Arrays taken whole as views into the file's bytes: the same values, the
// same failure and the same bytes consumed as reading them entry by entry.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "importer/nif/qiv_stream.h"
#include "importer/nif/skin_blocks.h"
#include "nif_builder/nif_builder.h"
#include "platform/headless.h"
#include "tests/reader/stream_fixture.h"

namespace {

using ArrayReading = StreamTest;

TEST_F(ArrayReading, VectorsTakenWholeKeepFileOrderAndExactBits) {
    NifBuilder b;
    const float nan = std::nanf("");
    b.Vector(1, 2, 3).Vector(-0.0f, nan, 1e-40f).Long(77);
    Open(b);
    const FileArray<NifVector> vectors = stream.Array<NifVector>(2);
    ASSERT_EQ(vectors.size(), 2u);
    EXPECT_EQ(vectors.Bytes(), b.Data());  // a view into the bytes, not a copy
    EXPECT_EQ(vectors[0].x, 1.0f);
    EXPECT_EQ(vectors[0].z, 3.0f);
    EXPECT_TRUE(std::signbit(vectors[1].x));
    EXPECT_TRUE(std::isnan(vectors[1].y));
    EXPECT_EQ(vectors[1].z, 1e-40f);
    EXPECT_EQ(stream.Long(), 77);  // exactly 24 bytes consumed
}

TEST_F(ArrayReading, ArrayOneFloatShortFailsAtTheMissingFloatAfterTheEntriesThatFit) {
    NifBuilder b;
    b.Vector(1, 2, 3).Vector(4, 5, 6).Float(7).Float(8);  // 2 vectors and 2 of the third's 3 floats
    Open(b);
    EXPECT_EQ(FailureOf([&] { stream.Array<NifVector>(3); }), "Attempted to copy too much data (4 bytes).");
    EXPECT_EQ(platform::headless::DebugText(), "Attempted to copy too much data (4 bytes).\n");
    EXPECT_EQ(stream.Remaining(), 0u);  // the third vector's two floats were read before the failure
}

TEST_F(ArrayReading, ShortArrayWithAnOddByteLeftFailsOnTheLastShort) {
    NifBuilder b;
    b.Short(10).Short(20).Byte(30);
    Open(b);
    EXPECT_EQ(FailureOf([&] { stream.Array<uint16_t>(3); }), "Attempted to copy too much data (2 bytes).");
    EXPECT_EQ(stream.Remaining(), 1u);
}

TEST_F(ArrayReading, MixedEntriesFailAtTheFieldThatNoLongerFits) {
    // Weights are a Short and a Float: with 1 byte over it is the Short that
    // fails, with 3 bytes over the Float.
    for (const int extra : {1, 3}) {
        NifBuilder b;
        b.Short(0xFFFE).Float(-1.5f);
        for (int i = 0; i < extra; ++i) b.Byte(0);
        Open(b);
        EXPECT_EQ(FailureOf([&] { stream.Array<SkinVertexWeight>(2); }),
                  extra == 1 ? "Attempted to copy too much data (2 bytes)." : "Attempted to copy too much data (4 bytes).");
        EXPECT_EQ(stream.Remaining(), 1u) << extra;  // with 3 over, the second Short was read first
    }
    NifBuilder b;
    b.Short(0xFFFE).Float(-1.5f).Short(3).Float(2.0f);
    Open(b);
    const FileArray<SkinVertexWeight> weights = stream.Array<SkinVertexWeight>(2);
    EXPECT_EQ(weights[0].vertex, 0xFFFE);
    EXPECT_EQ(weights[0].weight, -1.5f);
    EXPECT_EQ(weights[1].vertex, 3);
    EXPECT_EQ(weights[1].weight, 2.0f);
}

TEST_F(ArrayReading, CountsWhoseByteSizeWouldOverflowFailLikeAnyCountTooLarge) {
    NifBuilder b;
    b.Long(1).Long(2).Long(3);
    Open(b);
    // 2^62 entries of 12 bytes wrap around to a small product when multiplied.
    EXPECT_EQ(FailureOf([&] { stream.Array<NifVector>(int64_t(1) << 62); }), "Attempted to copy too much data (4 bytes).");
    EXPECT_EQ(stream.Remaining(), 0u);
    Open(b);
    EXPECT_EQ(FailureOf([&] { stream.TakeEntries(UINT64_MAX, FileEntry<float>::kLayout); }),
              "Attempted to copy too much data (4 bytes).");
}

TEST_F(ArrayReading, AnArrayOnAnUnopenedStreamFailsWithItsFirstReadsGuard) {
    EXPECT_TRUE(stream.Array<float>(0).empty());
    EXPECT_EQ(FailureOf([&] { stream.Array<SkinVertexWeight>(1); }),
              "Attempt to access uninitialised Qiv_Stream from function 'Short'.");
    EXPECT_EQ(FailureOf([&] { stream.Array<NifTexCoord>(1); }),
              "Attempt to access uninitialised Qiv_Stream from function 'Float'.");
}

TEST_F(ArrayReading, ZeroOrNegativeCountsReadNothing) {
    NifBuilder b;
    b.Long(5);
    Open(b);
    EXPECT_TRUE(stream.Array<NifTexCoord>(0).empty());
    EXPECT_TRUE(stream.Array<NifTexCoord>(-3).empty());
    EXPECT_TRUE(stream.Array<float>(-1).empty());
    EXPECT_EQ(stream.Remaining(), 4u);
}

TEST_F(ArrayReading, ColoursAndLongsKeepTheirFieldsAtAnyAlignment) {
    NifBuilder b;
    b.Byte(9).Floats({0.25f, 0.5f, 0.75f, 1.0f}).Long(-2).Long(0x12345678);  // every value at an odd address
    Open(b);
    stream.Byte();
    const FileArray<NifColour> colours = stream.Array<NifColour>(1);
    ASSERT_EQ(colours.size(), 1u);
    EXPECT_EQ(colours[0].r, 0.25f);
    EXPECT_EQ(colours[0].g, 0.5f);
    EXPECT_EQ(colours[0].b, 0.75f);
    EXPECT_EQ(colours[0].a, 1.0f);
    EXPECT_EQ(stream.Array<int32_t>(2).ToVector(), (std::vector<int32_t>{-2, 0x12345678}));
}

TEST_F(ArrayReading, AnExactlySizedBufferIsReadToItsLastByteAndNoFurther) {
    // The bytes in a heap block of exactly their size: a read one byte past
    // the end would be caught by the address sanitizer.
    const size_t size = 14;
    std::unique_ptr<unsigned char[]> exact(new unsigned char[size]);
    for (size_t i = 0; i < size; ++i) exact[i] = static_cast<unsigned char>(i + 1);
    stream.OpenBytes(exact.get(), size, "exact");
    const FileArray<uint16_t> shorts = stream.Array<uint16_t>(6);
    EXPECT_EQ(shorts[5], 0x0C0B);
    EXPECT_EQ(FailureOf([&] { stream.Array<int32_t>(1); }), "Attempted to copy too much data (4 bytes).");
    EXPECT_EQ(stream.Short(), 0x0E0D);
    EXPECT_EQ(FailureOf([&] { stream.Byte(); }), "Attempted to copy too much data (1 bytes).");
    EXPECT_EQ(FailureOf([&] { stream.LengthString(); }), "Attempted to copy too much data (4 bytes).");
}

}  // namespace
