// The arena that holds block objects and kept names: aligned, separate
// pieces that stay where they are, and no memory for an empty text.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "importer/nif/block_arena.h"
#include "tests/support/allocation_meter.h"

namespace {

struct Request {
    size_t bytes;
    size_t alignment;
};

TEST(BlockArena, PiecesAreAlignedSeparateAndStay) {
    // Small and odd sizes, pieces that fill several growing chunks, and
    // requests larger than any chunk in between.
    std::vector<Request> requests;
    for (int round = 0; round < 400; ++round) {
        requests.push_back({1, 1});
        requests.push_back({56, 8});
        requests.push_back({static_cast<size_t>(3 + round % 250), 4});
        if (round % 100 == 0) requests.push_back({size_t(40) << 10, 16});
    }
    BlockArena arena;
    std::vector<unsigned char*> pieces;
    for (size_t i = 0; i < requests.size(); ++i) {
        auto* piece = static_cast<unsigned char*>(arena.Allocate(requests[i].bytes, requests[i].alignment));
        ASSERT_NE(piece, nullptr);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(piece) % requests[i].alignment, 0u) << "request " << i;
        std::memset(piece, static_cast<int>(i % 251), requests[i].bytes);
        pieces.push_back(piece);
    }
    // Every piece still holds its own pattern: none overlapped a later one.
    for (size_t i = 0; i < requests.size(); ++i) {
        for (size_t b = 0; b < requests[i].bytes; ++b) {
            ASSERT_EQ(pieces[i][b], i % 251) << "request " << i << ", byte " << b;
        }
    }
}

TEST(BlockArena, KeptTextsAreClosedCopies) {
    BlockArena arena;
    std::string source = "Bip01 Head";
    const char* kept = arena.KeepText(source);
    source[0] = 'X';
    EXPECT_STREQ(kept, "Bip01 Head");
    EXPECT_STREQ(arena.KeepText(std::string_view("abc", 2)), "ab");
    const std::string longText(20000, 'n');  // larger than a quarter of the largest chunk
    EXPECT_EQ(arena.KeepText(longText), longText);
}

TEST(BlockArena, AnEmptyTextTakesNoMemory) {
    BlockArena arena;
    AllocationMeter meter;
    EXPECT_STREQ(arena.KeepText(""), "");
    EXPECT_EQ(meter.PeakBytes(), 0u);
}

TEST(BlockArena, ASmallUseTakesASmallChunk) {
    AllocationMeter meter;
    {
        BlockArena arena;
        arena.Allocate(48, 8);
        arena.Allocate(48, 8);
    }
    EXPECT_LE(meter.PeakBytes(), 1024u);
}

}  // namespace
