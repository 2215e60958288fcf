// Arrays read whole: the same values, the same failure and the same bytes
// consumed as reading them entry by entry.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "importer/nif/debug_printer.h"
#include "importer/nif/qiv_stream.h"
#include "importer/nif/record_reading.h"
#include "importer/nif/text_exception.h"
#include "platform/headless.h"
#include "tests/reader/stream_fixture.h"
#include "tests/support/nif_builder.h"

namespace {

using ArrayReading = StreamTest;

TEST_F(ArrayReading, TakeEntriesMovesPastAWholeArrayThatFits) {
    NifBuilder b;
    b.Long(1).Long(2).Long(3);
    Open(b);
    const unsigned char* start = stream.TakeEntries(3, 4);
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(start[4], 2);
    EXPECT_EQ(stream.Position(), 12u);
    EXPECT_EQ(stream.Remaining(), 0u);
}

TEST_F(ArrayReading, TakeEntriesConsumesNothingWhenOneByteIsMissing) {
    NifBuilder b;
    b.Long(1).Long(2).Short(3).Byte(4);  // 11 bytes: not 3 Longs
    Open(b);
    EXPECT_EQ(stream.TakeEntries(3, 4), nullptr);
    EXPECT_EQ(stream.Position(), 0u);
    EXPECT_EQ(stream.Remaining(), 11u);
}

TEST_F(ArrayReading, TakeEntriesRefusesCountsWhoseByteSizeWouldOverflow) {
    NifBuilder b;
    b.Long(1).Long(2).Long(3);
    Open(b);
    // 2^62 entries of 12 bytes wrap around to a small product when multiplied.
    EXPECT_EQ(stream.TakeEntries(uint64_t(1) << 62, 12), nullptr);
    EXPECT_EQ(stream.TakeEntries(UINT64_MAX, 4), nullptr);
    EXPECT_EQ(stream.Remaining(), 12u);
}

TEST_F(ArrayReading, TakeEntriesOnAnUnopenedStreamGivesNothing) {
    EXPECT_EQ(stream.TakeEntries(0, 4), nullptr);
    EXPECT_EQ(stream.TakeEntries(1, 4), nullptr);
}

TEST_F(ArrayReading, VectorsReadWholeKeepFileOrderAndExactBits) {
    NifBuilder b;
    const float nan = std::nanf("");
    b.Vector(1, 2, 3).Vector(-0.0f, nan, 1e-40f).Long(77);
    Open(b);
    std::vector<NifVector> vectors;
    ReadVectors(stream, vectors, 2);
    ASSERT_EQ(vectors.size(), 2u);
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
    std::vector<NifVector> vectors;
    EXPECT_EQ(FailureOf([&] { ReadVectors(stream, vectors, 3); }), "Attempted to copy too much data (4 bytes).");
    EXPECT_EQ(platform::headless::DebugText(), "Attempted to copy too much data (4 bytes).\n");
    EXPECT_EQ(vectors.size(), 2u);
    EXPECT_EQ(stream.Remaining(), 0u);  // the third vector's two floats were read before the failure
}

TEST_F(ArrayReading, ShortArrayWithAnOddByteLeftFailsOnTheLastShort) {
    NifBuilder b;
    b.Short(10).Short(20).Byte(30);
    Open(b);
    std::vector<uint16_t> values;
    EXPECT_EQ(FailureOf([&] { ReadShorts(stream, values, 3); }), "Attempted to copy too much data (2 bytes).");
    EXPECT_EQ(values, (std::vector<uint16_t>{10, 20}));
    EXPECT_EQ(stream.Remaining(), 1u);
}

TEST_F(ArrayReading, ArraysAppendAfterEntriesAlreadyHeld) {
    NifBuilder b;
    b.Short(0xBEEF).Short(2);
    Open(b);
    std::vector<uint16_t> values{7};
    ReadShorts(stream, values, 2);
    EXPECT_EQ(values, (std::vector<uint16_t>{7, 0xBEEF, 2}));
}

TEST_F(ArrayReading, ZeroOrNegativeCountsReadNothing) {
    NifBuilder b;
    b.Long(5);
    Open(b);
    std::vector<NifTexCoord> coords;
    ReadTexCoords(stream, coords, 0);
    ReadTexCoords(stream, coords, -3);
    EXPECT_TRUE(coords.empty());
    EXPECT_TRUE(ReadFloats(stream, -1).empty());
    EXPECT_EQ(stream.Remaining(), 4u);
}

TEST_F(ArrayReading, ColoursAndLongsReadWholeKeepTheirFields) {
    NifBuilder b;
    b.Floats({0.25f, 0.5f, 0.75f, 1.0f}).Long(-2).Long(0x12345678);
    Open(b);
    std::vector<NifColour> colours;
    ReadColoursRgba(stream, colours, 1);
    ASSERT_EQ(colours.size(), 1u);
    EXPECT_EQ(colours[0].r, 0.25f);
    EXPECT_EQ(colours[0].g, 0.5f);
    EXPECT_EQ(colours[0].b, 0.75f);
    EXPECT_EQ(colours[0].a, 1.0f);
    EXPECT_EQ(ReadLongs(stream, 2), (std::vector<int32_t>{-2, 0x12345678}));
}

TEST_F(ArrayReading, DecodedEntriesReadWholeMatchEntryByEntry) {
    struct Pair {
        uint16_t index;
        float value;
    };
    auto readPair = [](Qiv_Stream& s) {
        Pair pair;
        pair.index = s.Short();
        pair.value = s.Float();
        return pair;
    };
    auto decodePair = [](const unsigned char* bytes) { return Pair{LoadShort(bytes), LoadFloat(bytes + 2)}; };
    NifBuilder b;
    b.Short(0xFFFE).Float(-1.5f).Short(3).Float(2.0f).Short(9);
    Open(b);
    std::vector<Pair> pairs;
    ReadEntriesWhole(stream, pairs, 2, 6, readPair, decodePair);
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_EQ(pairs[0].index, 0xFFFE);
    EXPECT_EQ(pairs[0].value, -1.5f);
    EXPECT_EQ(pairs[1].index, 3);
    EXPECT_EQ(pairs[1].value, 2.0f);
    // One more pair does not fit: read entry by entry, it fails at its Float.
    EXPECT_EQ(FailureOf([&] { ReadEntriesWhole(stream, pairs, 1, 6, readPair, decodePair); }),
              "Attempted to copy too much data (4 bytes).");
    EXPECT_EQ(stream.Remaining(), 0u);
}

}  // namespace
