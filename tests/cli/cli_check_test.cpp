// mshost check and the usage errors, run as a program.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "nif_builder/nif_builder.h"
#include "run_process.h"
#include "tests/support/shared_corpus.h"

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

TEST(CliCheck, CorpusFolderAndOneMoreFileGiveALinePerFileAndTheSummary) {
    NIF_NEED_SHARED_CORPUS("nif");
    const std::string folder = (shared_corpus::Folder() / "nif").string();
    size_t nifFiles = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        nifFiles += entry.is_regular_file() && entry.path().extension() == ".nif";
    }
    const std::string crate = std::string(EXAMPLES_DIR) + "/crate.nif";
    const ProcessResult result = Mshost({"check", folder, crate});
    EXPECT_EQ(result.status, 1);  // the corpus holds files the reader rejects
    EXPECT_EQ(result.err, "");
    // The file lines (sorted, the crate's among them), then the summary.
    std::vector<std::string> lines;
    for (size_t start = 0, end; start < result.out.size(); start = end + 1) {
        end = result.out.find('\n', start);
        lines.push_back(result.out.substr(start, end - start));
    }
    ASSERT_GT(lines.size(), nifFiles + 1);
    const auto summary = lines.begin() + static_cast<long>(nifFiles + 1);
    EXPECT_TRUE(std::is_sorted(lines.begin(), summary));
    EXPECT_NE(std::find(lines.begin(), summary, crate + ": loaded, 6 blocks"), summary);
    const auto rejected = std::count_if(lines.begin(), summary, [](const std::string& line) {
        return line.find(": rejected: ") != std::string::npos;
    });
    EXPECT_EQ(*summary, "summary: " + std::to_string(nifFiles + 1) + " files, " +
                            std::to_string(static_cast<long>(nifFiles + 1) - rejected) + " loaded, " +
                            std::to_string(rejected) + " rejected");
    EXPECT_EQ(summary[1].rfind("rejected for block type Ni", 0), 0u) << summary[1];
}

TEST(CliUsage, UsageErrorsAreOneLinePointingToHelp) {
    const struct {
        std::vector<std::string> args;
        const char* err;
    } cases[] = {
        {{}, "mshost: no command given; see mshost --help\n"},
        {{"import", "a.nif", "--textrues", "x"}, "mshost: unknown option '--textrues' for import; see mshost --help\n"},
        {{"export", "m.json"}, "mshost: export takes 2 file arguments, got 1; see mshost --help\n"},
        {{"check"}, "mshost: check takes 1 or more paths, got 0; see mshost --help\n"},
        {{"render", "m.json"}, "mshost: render needs --png OUT.png; see mshost --help\n"},
        {{"render", "m.json", "--png", "x.png", "--size", "15"},
         "mshost: --size takes a width in pixels from 16 to 2048, got '15'; see mshost --help\n"},
        {{"render", "m.json", "--png", "x.png", "--apply-transforms"},
         "mshost: --apply-transforms is an option of the importer: 'm.json' is not a .nif; see mshost --help\n"},
        {{"render", "m.json", "--png", "x.png", "--plugin", "x.so"},
         "mshost: unknown option '--plugin' for render; see mshost --help\n"},
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
    EXPECT_NE(result.out.find("3 import, export, render: the plug-in ran\nand reported a failure"), std::string::npos);
    EXPECT_EQ(result.err, "");
}

TEST(CliUsage, EachCommandHasItsOwnHelpWithOnlyItsOwnOptions) {
    const std::vector<std::string> options = {"--textures", "--model", "--save",          "--summary",
                                              "--plugin",   "--png",   "--size",          "--apply-transforms",
                                              "--texture-names-only"};
    const struct {
        const char* command;
        std::vector<std::string> own;
    } cases[] = {
        {"check", {}},
        {"import", {"--textures", "--model", "--save", "--summary", "--plugin", "--apply-transforms"}},
        {"export", {"--plugin", "--texture-names-only"}},
        {"render", {"--png", "--size", "--apply-transforms"}},
    };
    for (const auto& c : cases) {
        const ProcessResult result = Mshost({c.command, "--help"});
        EXPECT_EQ(result.status, 0) << c.command;
        EXPECT_EQ(result.out.rfind(std::string("usage:\n  mshost ") + c.command + " ", 0), 0u) << result.out;
        EXPECT_EQ(result.err, "");
        for (const std::string& option : options) {
            const bool own = std::find(c.own.begin(), c.own.end(), option) != c.own.end();
            EXPECT_EQ(result.out.find(option) != std::string::npos, own) << c.command << " --help and " << option;
        }
        // The help of one command leaves the others out.
        for (const auto& other : cases) {
            if (other.command == c.command) continue;
            EXPECT_EQ(result.out.find(std::string("mshost ") + other.command), std::string::npos) << c.command;
        }
    }
}

TEST(CliUsage, VersionNamesTheProgram) {
    const ProcessResult result = Mshost({"--version"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out.rfind("mshost 0.", 0), 0u) << result.out;
    EXPECT_EQ(result.out.find('\n'), result.out.size() - 1);
    EXPECT_EQ(result.err, "");
}

}  // namespace
