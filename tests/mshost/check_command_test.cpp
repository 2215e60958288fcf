// mshost check in-process: its stdout lines, its stderr echo of the reader's
// debugger output, and its exit status.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "mshost/cli/commands.h"
#include "nif_builder/nif_builder.h"
#include "tests/support/shared_corpus.h"

namespace {

struct CheckResult {
    int status;
    std::string out;
    std::string err;
};

CheckResult Check(const std::string& path) {
    CheckResult result;
    result.status = mshost::RunCheck(path, &result.out, &result.err);
    return result;
}

TEST(CheckCommand, FileWithNoBlocksLoads) {
    NifBuilder nif;
    nif.FileStart(0).Footer();
    TempNifFile file(nif);
    const CheckResult result = Check(file.Path());
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "ok: 0 blocks\n");
    EXPECT_EQ(result.err, "");
}

TEST(CheckCommand, NegativeBlockCountLoadsAsNoBlocks) {
    NifBuilder nif;
    nif.FileStart(-5).Footer();
    TempNifFile file(nif);
    const CheckResult result = Check(file.Path());
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "ok: 0 blocks\n");
}

TEST(CheckCommand, RejectedFileGivesOneErrorLineAndTheEchoOnStderr) {
    NifBuilder nif;
    nif.FileStart(0).Footer().Raw("abc");
    TempNifFile file(nif);
    const CheckResult result = Check(file.Path());
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "error: File data left at end of file - 3 bytes left\n");
    EXPECT_EQ(result.err, "File data left at end of file - 3 bytes left\n");
}

TEST(CheckCommand, WrongVersionNamesBothValues) {
    NifBuilder nif;
    nif.HeaderLine().Long(0x04000003).Long(0).Footer();
    TempNifFile file(nif);
    const CheckResult result = Check(file.Path());
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out,
              "error: Unexpected Long value - was 0x04000003 (67108867) expected 0x04000002 (67108866)\n");
}

TEST(CheckCommand, UnknownBlockTypeIsRejected) {
    NifBuilder nif;
    nif.FileStart(1).TypeName("NiBillboardNode").Footer();
    TempNifFile file(nif);
    const CheckResult result = Check(file.Path());
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "error: Unknown Block type 'NiBillboardNode'.\n");
}

TEST(CheckCommand, MissingFileIsRejectedWithoutEcho) {
    const CheckResult result = Check("/nonexistent/file.nif");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "error: Unable to open file '/nonexistent/file.nif'.\n");
    EXPECT_EQ(result.err, "");
}

TEST(CheckCommand, UsageProblemsExitWithTwo) {
    std::string out;
    std::string err;
    EXPECT_EQ(mshost::RunMshost({"check"}, &out, &err), 2);
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, "mshost: check takes 1 or more paths, got 0; see mshost --help\n");
}

TEST(CheckCommand, EveryCorpusFileLoadsOrIsRejectedWithOneLine) {
    const std::filesystem::path folder = std::filesystem::path(NIF_SHARED_DIR) / "corpus" / "nif";
    NIF_NEED_SHARED_CORPUS("nif");
    int loaded = 0;
    int rejected = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const CheckResult result = Check(entry.path().string());
        SCOPED_TRACE(entry.path().filename().string());
        ASSERT_TRUE(result.status == 0 || result.status == 1) << result.err;
        if (result.status == 1) {
            ++rejected;
            EXPECT_EQ(result.out.rfind("error: ", 0), 0u);
            EXPECT_EQ(result.out.find('\n'), result.out.size() - 1);
            continue;
        }
        ++loaded;
        std::istringstream lines(result.out);
        std::string line;
        std::getline(lines, line);
        int count = -1;
        ASSERT_EQ(std::sscanf(line.c_str(), "ok: %d blocks", &count), 1) << line;
        int listed = 0;
        while (std::getline(lines, line)) {
            const std::string index = std::to_string(listed) + " ";
            EXPECT_TRUE(line.rfind(index + "Ni", 0) == 0 || line.rfind(index + "RootCollisionNode", 0) == 0) << line;
            ++listed;
        }
        EXPECT_EQ(listed, count);
    }
    EXPECT_GT(loaded, 0);
    std::printf("corpus: %d files loaded, %d rejected\n", loaded, rejected);
}

}  // namespace
