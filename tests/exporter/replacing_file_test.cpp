// The output is complete or untouched: every write, the close and the move
// are checked, and a failure at any of them leaves no file behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "exporter/replacing_file.h"
#include "tests/exporter/temp_folder.h"

namespace {

// Failure switches for the injected file operations.
struct Faults {
    bool failWrite = false;
    bool shortWrite = false;
    bool failClose = false;
    bool failMove = false;
};
Faults gFaults;

size_t FaultyWrite(const void* data, size_t size, size_t count, std::FILE* file) {
    if (gFaults.failWrite) return 0;
    if (gFaults.shortWrite) return std::fwrite(data, size, count > 0 ? count - 1 : 0, file);
    return std::fwrite(data, size, count, file);
}
int FaultyClose(std::FILE* file) {
    const int result = std::fclose(file);
    return gFaults.failClose ? EOF : result;
}
bool FaultyMove(const char* from, const char* to) {
    if (gFaults.failMove) return false;
    return ReplacingFile::StandardCalls().move(from, to);
}

ReplacingFile::Calls FaultyCalls() {
    ReplacingFile::Calls calls = ReplacingFile::StandardCalls();
    calls.write = &FaultyWrite;
    calls.close = &FaultyClose;
    calls.move = &FaultyMove;
    return calls;
}

class ReplacingFileTest : public ::testing::Test {
protected:
    void SetUp() override { gFaults = {}; }
    TempFolder folder;
};

}  // namespace

TEST_F(ReplacingFileTest, CommitPutsTheBytesUnderTheOutputName) {
    ReplacingFile file;
    const std::string output = folder.Path("boat.nif");
    ASSERT_TRUE(file.Open(output));
    EXPECT_EQ(file.TemporaryName(), output + ".tmp");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"boat.nif.tmp"});
    ASSERT_TRUE(file.Commit("abc", 3));
    EXPECT_EQ(TempFolder::ReadAll(output), "abc");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"boat.nif"});
}

TEST_F(ReplacingFileTest, CommitReplacesAnExistingOutput) {
    const std::string output = folder.Path("boat.nif");
    TempFolder::WriteAll(output, "old contents");
    ReplacingFile file;
    ASSERT_TRUE(file.Open(output));
    EXPECT_EQ(TempFolder::ReadAll(output), "old contents");
    ASSERT_TRUE(file.Commit("new", 3));
    EXPECT_EQ(TempFolder::ReadAll(output), "new");
}

TEST_F(ReplacingFileTest, DroppedWithoutCommitLeavesNothing) {
    const std::string output = folder.Path("boat.nif");
    TempFolder::WriteAll(output, "old");
    {
        ReplacingFile file;
        ASSERT_TRUE(file.Open(output));
    }
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"boat.nif"});
    EXPECT_EQ(TempFolder::ReadAll(output), "old");
}

TEST_F(ReplacingFileTest, NeverTruncatesAFileCarryingTheTemporaryName) {
    const std::string output = folder.Path("boat.nif");
    TempFolder::WriteAll(output + ".tmp", "someone's file");
    ReplacingFile file;
    ASSERT_TRUE(file.Open(output));
    EXPECT_EQ(file.TemporaryName(), output + ".1.tmp");
    ASSERT_TRUE(file.Commit("x", 1));
    EXPECT_EQ(TempFolder::ReadAll(output + ".tmp"), "someone's file");
}

TEST_F(ReplacingFileTest, CannotOpenInAMissingFolderOrWithoutAName) {
    ReplacingFile file;
    EXPECT_FALSE(file.Open(folder.Path("missing/boat.nif")));
    EXPECT_FALSE(file.Open(""));
    EXPECT_FALSE(file.Open(folder.Path("sub") + "/"));
    EXPECT_FALSE(file.Commit("x", 1));
    EXPECT_TRUE(folder.Entries().empty());
}

TEST_F(ReplacingFileTest, EachFailingStepLeavesTheOutputUntouchedAndNoFileBehind) {
    const std::string output = folder.Path("boat.nif");
    for (int step = 0; step < 4; ++step) {
        TempFolder::WriteAll(output, "old");
        gFaults = {};
        gFaults.failWrite = step == 0;
        gFaults.shortWrite = step == 1;
        gFaults.failClose = step == 2;
        gFaults.failMove = step == 3;
        ReplacingFile file(FaultyCalls());
        ASSERT_TRUE(file.Open(output));
        EXPECT_FALSE(file.Commit("new bytes", 9)) << "step " << step;
        EXPECT_EQ(TempFolder::ReadAll(output), "old") << "step " << step;
        EXPECT_EQ(folder.Entries(), std::vector<std::string>{"boat.nif"}) << "step " << step;
    }
}
