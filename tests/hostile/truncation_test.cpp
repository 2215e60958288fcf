// Every prefix of several generated, sample and real files: the reader must
// fail cleanly at each cut, and the import must leave the model alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/hostile/damaged_files.h"
#include "tests/hostile/hostile_support.h"
#include "tests/support/shared_corpus.h"

namespace {

// Loads each proper prefix of `bytes`; one line per prefix that did not fail
// with a reader message or that held too much memory.
std::string LoadEveryPrefix(const hostile::NamedFile& file) {
    std::string problems;
    for (size_t cut = 0; cut < file.bytes.size(); ++cut) {
        const hostile::LoadOutcome outcome = hostile::LoadBytes(file.bytes.data(), cut);
        const std::string where = file.name + " cut at " + std::to_string(cut) + ": ";
        if (outcome.loaded) problems += where + "loaded\n";
        else if (!hostile::IsReaderMessage(outcome.failure)) problems += where + "message '" + outcome.failure + "'\n";
        if (outcome.peakBytes > hostile::MemoryBound(cut)) problems += where + std::to_string(outcome.peakBytes) + " bytes held\n";
    }
    return problems;
}

}  // namespace

TEST(Truncation, EveryCutOfGeneratedAndSampleFiles_fail) {
    const std::vector<hostile::NamedFile> files = hostile::GeneratedAndSampleFiles();
    ASSERT_GE(files.size(), 6u) << "the sample files are missing: build the example_files target";
    for (const hostile::NamedFile& file : files) {
        ASSERT_TRUE(hostile::LoadBytes(file.bytes).loaded) << file.name << " must load whole";
        EXPECT_EQ(LoadEveryPrefix(file), "");
    }
}

// A cut inside the header line has no line end; everywhere else the read
// past the end fails. Checked exactly on the nested-nodes file.
TEST(Truncation, CutsEndWithTheMessageOfTheReadThatRanOut_fail) {
    const std::vector<unsigned char> bytes = hostile::GeneratedAndSampleFiles().at(1).bytes;
    EXPECT_EQ(hostile::LoadBytes(bytes.data(), 0).failure, "Unable to find end of String.");
    EXPECT_EQ(hostile::LoadBytes(bytes.data(), 39).failure, "Unable to find end of String.");
    EXPECT_EQ(hostile::LoadBytes(bytes.data(), 40).failure, "Attempted to copy too much data (4 bytes).");  // the version
    EXPECT_EQ(hostile::LoadBytes(bytes.data(), 47).failure, "Attempted to copy too much data (4 bytes).");  // the block count
    EXPECT_EQ(hostile::LoadBytes(bytes.data(), 54).failure, "Attempted to copy too much data (6 bytes).");  // "NiNode"
    EXPECT_EQ(hostile::LoadBytes(bytes.data(), bytes.size() - 1).failure, "Attempted to copy too much data (4 bytes).");
}

TEST(Truncation, ImportOfEveryCutOfGeneratedFilesLeavesModelAlone_fail) {
    for (const hostile::NamedFile& file : hostile::GeneratedAndSampleFiles()) {
        std::string problems;
        for (size_t cut = 0; cut < file.bytes.size(); ++cut) {
            const std::vector<unsigned char> prefix(file.bytes.begin(), file.bytes.begin() + static_cast<long>(cut));
            const hostile::ImportOutcome outcome = hostile::ImportBytes(prefix);
            if (!hostile::IsReaderMessage(outcome.failure) || !outcome.modelUnchanged)
                problems += file.name + " cut at " + std::to_string(cut) + ": '" + outcome.failure + "'\n";
        }
        EXPECT_EQ(problems, "");
    }
}

// Real files up to 12 KB among the smallest per known type (every cut of a
// file costs a load of up to its size, so the work grows with the size squared).
TEST(Truncation, EveryCutOfRealFiles_fail) {
    NIF_NEED_SHARED_CORPUS("nif");
    std::vector<hostile::NamedFile> files;
    for (const hostile::TypeExample& example : hostile::SmallestSharedFilePerType()) {
        if (example.file.bytes.size() > 12 * 1024) continue;
        if (std::none_of(files.begin(), files.end(), [&](const hostile::NamedFile& f) { return f.name == example.file.name; }))
            files.push_back(example.file);
    }
    ASSERT_FALSE(files.empty());
    for (const hostile::NamedFile& file : files) {
        ASSERT_TRUE(hostile::LoadBytes(file.bytes).loaded) << file.name << " must load whole";
        EXPECT_EQ(LoadEveryPrefix(file), "");
    }
}
