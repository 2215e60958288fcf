// Counts and lengths of 2^31 - 1 (and -1) where the file holds far fewer
// entries: every load ends with a reader message, or loads, and never holds
// more memory than the bytes could fill.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "nif_builder/nif_builder.h"
#include "tests/hostile/damaged_files.h"
#include "tests/hostile/hostile_support.h"
#include "tests/support/shared_corpus.h"

namespace {

constexpr int32_t kLargestLong = 0x7FFFFFFF;

void PutLong(std::vector<unsigned char>& bytes, size_t at, int32_t value) { std::memcpy(&bytes[at], &value, 4); }

// Writes 2^31 - 1 over each 4 bytes at every offset in [from, to) and loads
// the result. Returns one line per load that ended badly (no message of the
// reader, or too much memory held).
std::string OverwriteEachLong(const std::vector<unsigned char>& original, size_t from, size_t to, const std::string& name) {
    std::string problems;
    for (size_t at = from; at < to && at + 4 <= original.size(); ++at) {
        std::vector<unsigned char> bytes = original;
        PutLong(bytes, at, kLargestLong);
        const hostile::LoadOutcome outcome = hostile::LoadBytes(bytes);
        const std::string where = name + " at " + std::to_string(at) + ": ";
        if (!outcome.loaded && !hostile::IsReaderMessage(outcome.failure)) problems += where + "message '" + outcome.failure + "'\n";
        if (outcome.peakBytes > hostile::MemoryBound(bytes.size()))
            problems += where + std::to_string(outcome.peakBytes) + " bytes held\n";
    }
    return problems;
}

}  // namespace

TEST(HugeCounts, BlockCountOfLargestLongWithOneBlock_fail) {
    NifBuilder nif;
    nif.FileStart(kLargestLong);
    ZBufferPropertyBlock(nif);
    const hostile::LoadOutcome outcome = hostile::LoadBytes(nif);
    EXPECT_EQ(outcome.failure, "Attempted to copy too much data (4 bytes).");
    EXPECT_LE(outcome.peakBytes, hostile::MemoryBound(nif.Size()));
}

TEST(HugeCounts, ImportOfBlockCountOfLargestLongLeavesModelAlone_fail) {
    NifBuilder nif;
    nif.FileStart(kLargestLong);
    NodeBlock(nif, "root");
    const hostile::ImportOutcome outcome = hostile::ImportBytes(nif);
    EXPECT_EQ(outcome.failure, "Attempted to copy too much data (4 bytes).");
    EXPECT_TRUE(outcome.modelUnchanged);
    EXPECT_LE(outcome.peakBytes, hostile::MemoryBound(nif.Size()));
}

TEST(HugeCounts, TypeNameOfLengthLargestLong_fail) {
    NifBuilder nif;
    nif.FileStart(1).Long(kLargestLong).Raw("NiNode");
    const hostile::LoadOutcome outcome = hostile::LoadBytes(nif);
    EXPECT_EQ(outcome.failure, "Attempted to copy too much data (2147483647 bytes).");
    EXPECT_EQ(outcome.debugText, "Attempted to copy too much data (2147483647 bytes).\n");
    EXPECT_LE(outcome.peakBytes, hostile::MemoryBound(nif.Size()));
}

TEST(HugeCounts, TypeNameOfLengthMinusOne_fail) {
    NifBuilder nif;
    nif.FileStart(1).Long(-1).Raw("NiNode");
    const hostile::LoadOutcome outcome = hostile::LoadBytes(nif);
    EXPECT_EQ(outcome.failure, "Attempted to copy too much data (-1 bytes).");
}

TEST(HugeCounts, ImportOfNodeNameOfLengthLargestLongLeavesModelAlone_fail) {
    NifBuilder nif;
    nif.FileStart(1).TypeName("NiNode").Long(kLargestLong).Raw("root").Long(-1).Long(-1);
    const hostile::ImportOutcome outcome = hostile::ImportBytes(nif);
    EXPECT_EQ(outcome.failure, "Attempted to copy too much data (2147483647 bytes).");
    EXPECT_TRUE(outcome.modelUnchanged);
}

TEST(HugeCounts, ImportOfNodeNameOfLengthMinusOneLeavesModelAlone_fail) {
    NifBuilder nif;
    nif.FileStart(1).TypeName("NiNode").Long(-1).Raw("root").Long(-1).Long(-1);
    const hostile::ImportOutcome outcome = hostile::ImportBytes(nif);
    EXPECT_EQ(outcome.failure, "Attempted to copy too much data (-1 bytes).");
    EXPECT_TRUE(outcome.modelUnchanged);
}

// Every Long of every block of the generated and sample files, the counts
// among them, in turn set to 2^31 - 1.
TEST(HugeCounts, LargestLongAtEveryOffsetOfGeneratedAndSampleFiles) {
    const std::vector<hostile::NamedFile> files = hostile::GeneratedAndSampleFiles();
    ASSERT_GE(files.size(), 6u) << "the sample files are missing: build the example_files target";
    for (const hostile::NamedFile& file : files) {
        const std::vector<hostile::BlockSpan> blocks = hostile::FindBlocks(file.bytes);
        ASSERT_FALSE(blocks.empty()) << file.name;
        EXPECT_EQ(OverwriteEachLong(file.bytes, blocks.front().bodyStart, file.bytes.size(), file.name), "");
    }
}

// The same for one block of each of the 27 types, taken from the smallest
// real file that holds one.
TEST(HugeCounts, LargestLongAtEveryOffsetOfEachTypeInRealFiles) {
    NIF_NEED_SHARED_CORPUS("nif");
    const std::vector<hostile::TypeExample> examples = hostile::SmallestSharedFilePerType();
    // The corpus's loadable files hold 22 of the 27 types.
    EXPECT_GE(examples.size(), 22u);
    for (const hostile::TypeExample& example : examples) {
        const std::vector<hostile::BlockSpan> blocks = hostile::FindBlocks(example.file.bytes);
        const hostile::BlockSpan* span = nullptr;
        for (const hostile::BlockSpan& block : blocks)
            if (block.typeName == example.typeName) {
                span = &block;
                break;
            }
        ASSERT_NE(span, nullptr) << example.typeName << " in " << example.file.name;
        // Long blocks (geometry) are damaged in their first 2 KB: the counts come first.
        const size_t end = std::min(span->end, span->bodyStart + 2048);
        EXPECT_EQ(OverwriteEachLong(example.file.bytes, span->bodyStart, end, example.file.name + " " + example.typeName), "");
    }
}
