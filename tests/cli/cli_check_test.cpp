// mshost check and the usage errors, run as a program.
#include <gtest/gtest.h>

#include <string>

#include "run_process.h"
#include "tests/support/nif_builder.h"

namespace {

ProcessResult Mshost(const std::vector<std::string>& args) { return RunProcess(MSHOST_PATH, args); }

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

TEST(CliCheck, EmptyFileListsNoBlocksAndExitsZero) {
    NifBuilder nif;
    nif.FileStart(0).Footer();
    TempNifFile file(nif);
    const ProcessResult result = Mshost({"check", file.Path()});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "ok: 0 blocks\n");
    EXPECT_EQ(result.err, "");
}

TEST(CliCheck, RejectedFileExitsOneWithTheReaderEchoOnStderr) {
    NifBuilder nif;
    nif.FileStart(0).Footer().Raw("xy");
    TempNifFile file(nif);
    const ProcessResult result = Mshost({"check", file.Path()});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "error: File data left at end of file - 2 bytes left\n");
    EXPECT_EQ(result.err, "File data left at end of file - 2 bytes left\n");
}

TEST(CliCheck, TruncatedHeaderIsRejected) {
    NifBuilder nif;
    nif.Raw("NetImmerse File Format");
    TempNifFile file(nif);
    const ProcessResult result = Mshost({"check", file.Path()});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "error: Unable to find end of String.\n");
}

TEST(CliCheck, ExampleCrateListsItsBlocks) {
    const ProcessResult result = Mshost({"check", std::string(EXAMPLES_DIR) + "/crate.nif"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out,
              "ok: 6 blocks\n"
              "0 NiNode\n"
              "1 NiTriShape\n"
              "2 NiTexturingProperty\n"
              "3 NiSourceTexture\n"
              "4 NiMaterialProperty\n"
              "5 NiTriShapeData\n");
}

TEST(CliUsage, NoArgumentsPrintsUsageAndExitsTwo) {
    const ProcessResult result = Mshost({});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(FirstLine(result.err), "mshost: no command given");
    EXPECT_NE(result.err.find("  mshost check FILE.nif\n"), std::string::npos);
}

TEST(CliUsage, UnknownOptionExitsTwo) {
    const ProcessResult result = Mshost({"import", "a.nif", "--textrues", "x"});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(FirstLine(result.err), "mshost: unknown option '--textrues' for import");
}

TEST(CliUsage, HelpGoesToStdoutAndExitsZero) {
    const ProcessResult result = Mshost({"--help"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(FirstLine(result.out), "usage:");
    EXPECT_EQ(result.err, "");
}

}  // namespace
