// mshost check of several paths in-process: which files a folder stands for,
// the sorted lines, the summary of rejections by block type, what goes to
// stderr, and the exit status; one file keeps the single-file output.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "mshost/cli/check_file.h"
#include "mshost/cli/commands.h"
#include "nif_builder/nif_builder.h"
#include "tests/exporter/temp_folder.h"

namespace {

namespace fs = std::filesystem;

struct CheckResult {
    int status;
    std::string out;
    std::string err;
};

CheckResult CheckPaths(const std::vector<std::string>& paths) {
    CheckResult result;
    result.status = mshost::RunCheckCommand(paths, &result.out, &result.err);
    return result;
}

std::string Bytes(const NifBuilder& nif) { return std::string(nif.Bytes().begin(), nif.Bytes().end()); }

// A file that loads with one block.
std::string OneNode() {
    NifBuilder nif;
    nif.FileStart(1);
    NodeBlock(nif, "Root");
    nif.Footer();
    return Bytes(nif);
}

// A file rejected for the block type `type`.
std::string UnknownType(const char* type) {
    NifBuilder nif;
    nif.FileStart(1).TypeName(type).Footer();
    return Bytes(nif);
}

// A file rejected for bytes after its footer.
std::string LeftOver() {
    NifBuilder nif;
    nif.FileStart(0).Footer().Raw("xy");
    return Bytes(nif);
}

// A tree of NIF files: folders, names in several cases, files that are not
// NIF files, links to a file and to a folder.
class CheckPathsTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(folder.Root() / "models/deep/deeper");
        fs::create_directories(folder.Root() / "elsewhere");
        TempFolder::WriteAll(folder.Path("models/b.nif"), OneNode());
        TempFolder::WriteAll(folder.Path("models/A.NIF"), UnknownType("NiSwitchNode"));
        TempFolder::WriteAll(folder.Path("models/deep/c.Nif"), UnknownType("NiStencilProperty"));
        TempFolder::WriteAll(folder.Path("models/deep/deeper/d.nif"), UnknownType("NiSwitchNode"));
        TempFolder::WriteAll(folder.Path("models/deep/e.nif"), LeftOver());
        TempFolder::WriteAll(folder.Path("models/readme.txt"), "not a model");
        TempFolder::WriteAll(folder.Path("models/nif"), "no extension");
        TempFolder::WriteAll(folder.Path("elsewhere/outside.nif"), OneNode());
        fs::create_directory_symlink(folder.Root() / "elsewhere", folder.Root() / "models/linked_folder.nif");
        fs::create_symlink(folder.Root() / "elsewhere/outside.nif", folder.Root() / "models/linked_file.nif");
    }
    std::string In(const std::string& name) const { return folder.Path(name); }

    TempFolder folder;
};

TEST_F(CheckPathsTest, FolderGivesSortedLinesThenTheSummary) {
    const CheckResult result = CheckPaths({In("models")});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "");
    // Byte order: upper case first; the link to a file is a file, the link to
    // a folder is not followed; other extensions are left out.
    EXPECT_EQ(result.out,
              In("models/A.NIF") + ": rejected: Unknown Block type 'NiSwitchNode'.\n" +
                  In("models/b.nif") + ": loaded, 1 blocks\n" +
                  In("models/deep/c.Nif") + ": rejected: Unknown Block type 'NiStencilProperty'.\n" +
                  In("models/deep/deeper/d.nif") + ": rejected: Unknown Block type 'NiSwitchNode'.\n" +
                  In("models/deep/e.nif") + ": rejected: File data left at end of file - 2 bytes left\n" +
                  In("models/linked_file.nif") + ": loaded, 1 blocks\n" +
                  "summary: 6 files, 2 loaded, 4 rejected\n"
                  "rejected for block type NiSwitchNode: 2 files\n"
                  "rejected for block type NiStencilProperty: 1 file\n"
                  "rejected for other errors: 1 file\n");
}

TEST_F(CheckPathsTest, ExitStatusFollowsTheWorstOutcome) {
    const struct {
        std::vector<std::string> paths;
        int status;
        std::string err;
    } cases[] = {
        {{In("models/b.nif"), In("elsewhere")}, 0, ""},                       // all loaded
        {{In("models/b.nif"), In("models/A.NIF")}, 1, ""},                    // one rejected
        {{In("models/b.nif"), In("missing")}, 2,                              // a path cannot be read
         "mshost: cannot read '" + In("missing") + "': No such file or directory\n"},
        {{In("models/A.NIF"), In("missing")}, 2,                              // that outranks a rejection
         "mshost: cannot read '" + In("missing") + "': No such file or directory\n"},
        {{In("elsewhere/none")}, 1, ""},  // one missing file: today's single-file check
    };
    for (const auto& c : cases) {
        const CheckResult result = CheckPaths(c.paths);
        EXPECT_EQ(result.status, c.status) << c.paths.back();
        EXPECT_EQ(result.err, c.err) << c.paths.back();
    }
}

TEST_F(CheckPathsTest, OneFileKeepsTheSingleFileOutputAndAFolderDoesNot) {
    for (const char* name : {"models/b.nif", "models/A.NIF", "models/deep/e.nif", "models/readme.txt"}) {
        CheckResult single;
        single.status = mshost::RunCheck(In(name), &single.out, &single.err);
        const CheckResult command = CheckPaths({In(name)});
        EXPECT_EQ(command.status, single.status) << name;
        EXPECT_EQ(command.out, single.out) << name;
        EXPECT_EQ(command.err, single.err) << name;
    }
    EXPECT_EQ(CheckPaths({In("elsewhere")}).out,
              In("elsewhere/outside.nif") + ": loaded, 1 blocks\nsummary: 1 file, 1 loaded, 0 rejected\n");
}

TEST_F(CheckPathsTest, FilesNamedTwiceAreCheckedOnceAndNamedFilesNeedNoExtension) {
    const CheckResult result = CheckPaths({In("elsewhere/outside.nif"), In("elsewhere"), In("models/nif")});
    EXPECT_EQ(result.out, In("elsewhere/outside.nif") + ": loaded, 1 blocks\n" + In("models/nif") +
                              ": rejected: Unable to find end of String.\n"
                              "summary: 2 files, 1 loaded, 1 rejected\nrejected for other errors: 1 file\n");
}

TEST(CheckPaths, LinkToNothingIsAPathProblemAndTheOthersAreStillChecked) {
    TempFolder folder;
    TempFolder::WriteAll(folder.Path("good.nif"), OneNode());
    std::filesystem::create_symlink(folder.Path("gone.nif"), folder.Path("dangling.nif"));
    const CheckResult result = CheckPaths({folder.Root().string()});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, folder.Path("good.nif") + ": loaded, 1 blocks\nsummary: 1 file, 1 loaded, 0 rejected\n");
    EXPECT_EQ(result.err, "mshost: cannot read '" + folder.Path("dangling.nif") + "': No such file or directory\n");
}

TEST(CheckPaths, EmptyFolderHasOnlyTheSummary) {
    TempFolder folder;
    const CheckResult result = CheckPaths({folder.Root().string()});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "summary: 0 files, 0 loaded, 0 rejected\n");
}

TEST(CheckPaths, UnknownBlockTypeIsReadFromTheReaderMessageOnly) {
    const struct {
        const char* message;
        const char* type;
    } cases[] = {
        {"Unknown Block type 'NiSwitchNode'.", "NiSwitchNode"},
        {"Unknown Block type ''.", ""},
        {"Unknown Block type 'it's'.", "it's"},
        {"Unknown Block type 'NiLODNode'", ""},
        {"Unable to open file 'x'.", ""},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(mshost::UnknownBlockTypeOf(c.message), c.type) << c.message;
}

}  // namespace
