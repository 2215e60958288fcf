// mshost check and the usage errors, run as a program.
#include <gtest/gtest.h>

#include <string>

#include "nif_builder/nif_builder.h"
#include "run_process.h"

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

TEST(CliUsage, UsageErrorsAreOneLinePointingToHelp) {
    const struct {
        std::vector<std::string> args;
        const char* err;
    } cases[] = {
        {{}, "mshost: no command given; see mshost --help\n"},
        {{"import", "a.nif", "--textrues", "x"}, "mshost: unknown option '--textrues' for import; see mshost --help\n"},
        {{"export", "m.json"}, "mshost: export takes 2 file arguments, got 1; see mshost --help\n"},
        {{"--version", "x"}, "mshost: version takes no arguments; see mshost --help\n"},
    };
    for (const auto& c : cases) {
        const ProcessResult result = Mshost(c.args);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, c.err);
    }
}

TEST(CliUsage, HelpGoesToStdoutAndExitsZero) {
    const ProcessResult result = Mshost({"--help"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(FirstLine(result.out), "usage:");
    EXPECT_NE(result.out.find("3 import, export: the plug-in ran and\nreported a failure"), std::string::npos);
    EXPECT_EQ(result.err, "");
}

TEST(CliUsage, EachCommandHasItsOwnHelp) {
    for (const char* command : {"check", "import", "export"}) {
        const ProcessResult result = Mshost({command, "--help"});
        EXPECT_EQ(result.status, 0) << command;
        EXPECT_EQ(result.out.rfind(std::string("usage:\n  mshost ") + command + " ", 0), 0u) << result.out;
        EXPECT_EQ(result.err, "");
    }
    // The help of one command leaves the others out.
    EXPECT_EQ(Mshost({"import", "--help"}).out.find("mshost export"), std::string::npos);
}

TEST(CliUsage, VersionNamesTheProgram) {
    const ProcessResult result = Mshost({"--version"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out.rfind("mshost 0.", 0), 0u) << result.out;
    EXPECT_EQ(result.out.find('\n'), result.out.size() - 1);
    EXPECT_EQ(result.err, "");
}

}  // namespace
