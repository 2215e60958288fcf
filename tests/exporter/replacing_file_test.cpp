// The output is complete or untouched: every write, the close and the move
// are checked, and a failure at any of them leaves no file behind. The
// temporary file is the run's own, and only a regular file is ever replaced.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "exporter/replacing_file.h"
#include "tests/exporter/temp_folder.h"

namespace {

// Failure switches for the injected file operations.
struct Faults {
    bool failWrite = false;
    bool failClose = false;
    bool failReplace = false;
};
Faults gFaults;

bool FaultyWrite(const platform::TemporaryFile& file, const void* data, size_t size) {
    if (gFaults.failWrite) {
        platform::WriteTemporaryFile(file, data, size / 2);  // part of it reached the disk
        return false;
    }
    return platform::WriteTemporaryFile(file, data, size);
}
bool FaultyClose(platform::TemporaryFile* file) {
    const bool closed = platform::CloseTemporaryFile(file);
    return !gFaults.failClose && closed;
}
bool FaultyReplace(platform::TemporaryFile* file, const char* target) {
    return !gFaults.failReplace && platform::ReplaceWithTemporaryFile(file, target);
}

ReplacingFile::Calls FaultyCalls() {
    ReplacingFile::Calls calls = ReplacingFile::StandardCalls();
    calls.write = &FaultyWrite;
    calls.close = &FaultyClose;
    calls.replace = &FaultyReplace;
    return calls;
}

unsigned ModeOf(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 ? info.st_mode : 0;
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
    // Its own name in the output's folder, whatever the output's name is.
    EXPECT_EQ(file.TemporaryName().rfind(folder.Path(ReplacingFile::kTemporaryPrefix), 0), 0u) << file.TemporaryName();
    ASSERT_EQ(folder.Entries().size(), 1u);
    ASSERT_TRUE(file.Commit("abc", 3));
    EXPECT_EQ(TempFolder::ReadAll(output), "abc");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"boat.nif"});
}

TEST_F(ReplacingFileTest, TwoOpenFilesForOneOutputNeverShareATemporaryName) {
    const std::string output = folder.Path("boat.nif");
    ReplacingFile first;
    ReplacingFile second;
    ASSERT_TRUE(first.Open(output));
    ASSERT_TRUE(second.Open(output));
    EXPECT_NE(first.TemporaryName(), second.TemporaryName());
    ASSERT_TRUE(second.Commit("second", 6));
    ASSERT_TRUE(first.Commit("first", 5));
    EXPECT_EQ(TempFolder::ReadAll(output), "first");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"boat.nif"});
}

TEST_F(ReplacingFileTest, CommitReplacesAnExistingOutputKeepingItsPermissionBits) {
    const std::string output = folder.Path("boat.nif");
    TempFolder::WriteAll(output, "old contents");
    ASSERT_EQ(chmod(output.c_str(), 0640), 0);
    ReplacingFile file;
    ASSERT_TRUE(file.Open(output));
    EXPECT_EQ(TempFolder::ReadAll(output), "old contents");
    ASSERT_TRUE(file.Commit("new", 3));
    EXPECT_EQ(TempFolder::ReadAll(output), "new");
    EXPECT_EQ(ModeOf(output) & 07777, 0640u);
}

// While written, the new contents are readable by nobody the old ones were
// not readable by: the temporary file starts with the target's bits at most.
TEST_F(ReplacingFileTest, TemporaryFileIsNoWiderThanTheTarget) {
    const std::string output = folder.Path("boat.nif");
    for (const unsigned mode : {0600u, 0640u, 0400u}) {
        TempFolder::WriteAll(output, "old");
        ASSERT_EQ(chmod(output.c_str(), mode), 0);
        ReplacingFile file;
        ASSERT_TRUE(file.Open(output));
        EXPECT_EQ(ModeOf(file.TemporaryName()) & 0777 & ~mode, 0u) << std::oct << mode;
        ASSERT_TRUE(file.Commit("new", 3));
        EXPECT_EQ(ModeOf(output) & 07777, mode);
        EXPECT_EQ(TempFolder::ReadAll(output), "new");
        ASSERT_EQ(chmod(output.c_str(), 0600), 0);
    }
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

TEST_F(ReplacingFileTest, FilesAndLinksNamedLikeOldTemporaryNamesAreNeverTouched) {
    const std::string output = folder.Path("boat.nif");
    TempFolder::WriteAll(output + ".tmp", "someone's file");
    TempFolder::WriteAll(folder.Path("victim"), "secret");
    ASSERT_EQ(symlink(folder.Path("victim").c_str(), (output + ".1.tmp").c_str()), 0);
    ReplacingFile file;
    ASSERT_TRUE(file.Open(output));
    ASSERT_TRUE(file.Commit("x", 1));
    EXPECT_EQ(TempFolder::ReadAll(output + ".tmp"), "someone's file");
    EXPECT_EQ(TempFolder::ReadAll(folder.Path("victim")), "secret");
    EXPECT_TRUE(S_ISLNK(ModeOf(output + ".1.tmp")));
    EXPECT_TRUE(S_ISREG(ModeOf(output)));
}

TEST_F(ReplacingFileTest, CannotOpenInAMissingFolderOrWithoutAName) {
    ReplacingFile file;
    EXPECT_FALSE(file.Open(folder.Path("missing/boat.nif")));
    EXPECT_FALSE(file.Open(""));
    EXPECT_FALSE(file.Open(folder.Path("sub") + "/"));
    EXPECT_FALSE(file.Commit("x", 1));
    EXPECT_TRUE(folder.Entries().empty());
}

// A pipe, a folder, a link to a device or to a folder: none of them is
// replaced by a regular file, and none is written into.
TEST_F(ReplacingFileTest, OutputsThatAreNotRegularFilesCannotBeOpened) {
    ASSERT_EQ(mkfifo(folder.Path("pipe.nif").c_str(), 0644), 0);
    std::filesystem::create_directory(folder.Path("folder.nif"));
    ASSERT_EQ(symlink("/dev/null", folder.Path("null.nif").c_str()), 0);
    ASSERT_EQ(symlink(folder.Path("folder.nif").c_str(), folder.Path("dirlink.nif").c_str()), 0);
    const std::vector<std::string> before = folder.Entries();
    for (const char* name : {"pipe.nif", "folder.nif", "null.nif", "dirlink.nif"}) {
        const unsigned mode = ModeOf(folder.Path(name));
        ReplacingFile file;
        EXPECT_FALSE(file.Open(folder.Path(name))) << name;
        EXPECT_EQ(ModeOf(folder.Path(name)), mode) << name;
    }
    EXPECT_EQ(folder.Entries(), before);
}

TEST_F(ReplacingFileTest, AnOutputThatTurnsIntoAPipeBeforeCommitIsLeftAlone) {
    const std::string output = folder.Path("boat.nif");
    ReplacingFile file;
    ASSERT_TRUE(file.Open(output));
    ASSERT_EQ(mkfifo(output.c_str(), 0644), 0);
    EXPECT_FALSE(file.Commit("x", 1));
    EXPECT_TRUE(S_ISFIFO(ModeOf(output)));
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"boat.nif"});
}

TEST_F(ReplacingFileTest, EachFailingStepLeavesTheOutputUntouchedAndNoFileBehind) {
    const std::string output = folder.Path("boat.nif");
    for (int step = 0; step < 3; ++step) {
        TempFolder::WriteAll(output, "old");
        gFaults = {};
        gFaults.failWrite = step == 0;
        gFaults.failClose = step == 1;
        gFaults.failReplace = step == 2;
        ReplacingFile file(FaultyCalls());
        ASSERT_TRUE(file.Open(output));
        EXPECT_FALSE(file.Commit("new bytes", 9)) << "step " << step;
        EXPECT_EQ(TempFolder::ReadAll(output), "old") << "step " << step;
        EXPECT_EQ(folder.Entries(), std::vector<std::string>{"boat.nif"}) << "step " << step;
    }
}

TEST_F(ReplacingFileTest, TemporaryFilesStillOpenAreRemovedOnInterrupt) {
    ReplacingFile file;
    ASSERT_TRUE(file.Open(folder.Path("boat.nif")));
    ASSERT_EQ(folder.Entries().size(), 1u);
    platform::RemoveTemporaryFilesNow();
    EXPECT_TRUE(folder.Entries().empty());
}

TEST_F(ReplacingFileTest, DebugLogIsNeverWrittenThroughALinkIntoAPipeOrASecondName) {
    const std::string log = folder.Path("debug.log");
    TempFolder::WriteAll(folder.Path("victim"), "secret");
    ASSERT_EQ(symlink(folder.Path("victim").c_str(), log.c_str()), 0);
    EXPECT_FALSE(platform::OverwriteRegularFile(log.c_str(), "name", 4));
    EXPECT_EQ(TempFolder::ReadAll(folder.Path("victim")), "secret");
    ASSERT_EQ(unlink(log.c_str()), 0);
    ASSERT_EQ(mkfifo(log.c_str(), 0644), 0);
    EXPECT_FALSE(platform::OverwriteRegularFile(log.c_str(), "name", 4));  // returns at once: nobody reads the pipe
    ASSERT_EQ(unlink(log.c_str()), 0);
    // A second name of someone's file planted under the log's name.
    ASSERT_EQ(link(folder.Path("victim").c_str(), log.c_str()), 0);
    EXPECT_FALSE(platform::OverwriteRegularFile(log.c_str(), "name", 4));
    EXPECT_EQ(TempFolder::ReadAll(folder.Path("victim")), "secret");
    ASSERT_EQ(unlink(log.c_str()), 0);
    TempFolder::WriteAll(log, "a longer earlier text");
    EXPECT_TRUE(platform::OverwriteRegularFile(log.c_str(), "name", 4));
    EXPECT_EQ(TempFolder::ReadAll(log), "name");
}
