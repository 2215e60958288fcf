// mshost's inputs and the ways a run can end, as a program: inputs that are
// not regular files and names the importer cannot hold are refused before
// the run; signals and a file-size limit leave no temporary file; names in
// the stderr line stay on that line; an output near the system's path
// length limit is still written.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <string>
#include <vector>

#include "quad_model.h"
#include "run_process.h"
#include "tests/exporter/temp_folder.h"

namespace {

using Names = std::vector<std::string>;

std::string Example(const char* name) { return std::string(EXAMPLES_DIR) + "/" + name; }

class CliInputs : public ::testing::Test {
protected:
    void SetUp() override { TempFolder::WriteAll(In("quad.json"), kQuadModel); }

    std::string In(const std::string& name) const { return folder.Path(name); }
    Names Entries() const { return folder.Entries(); }
    static ProcessResult Mshost(const std::vector<std::string>& args,
                                const std::vector<std::pair<std::string, std::string>>& environment = {}) {
        return RunProcess(MSHOST_PATH, args, environment);
    }
    // mshost after the shell's `limits` (ulimit commands), with no core files.
    static ProcessResult Limited(const std::string& limits, const std::vector<std::string>& args,
                                 const std::vector<std::pair<std::string, std::string>>& environment = {}) {
        std::vector<std::string> shell = {"-c", "ulimit -c 0; " + limits + " exec \"$0\" \"$@\"", MSHOST_PATH};
        shell.insert(shell.end(), args.begin(), args.end());
        return RunProcess("/bin/sh", shell, environment);
    }

    TempFolder folder;
};

// A pipe nobody writes and a link to an endless device: every command refuses
// them at once (status 2), before any plug-in runs.
TEST_F(CliInputs, InputsThatAreNotRegularFilesAreRefusedAtOnce) {
    ASSERT_EQ(mkfifo(In("pipe.nif").c_str(), 0644), 0);
    ASSERT_EQ(mkfifo(In("pipe.json").c_str(), 0644), 0);
    ASSERT_EQ(symlink("/dev/zero", In("zero.nif").c_str()), 0);
    ASSERT_EQ(symlink("/dev/zero", In("zero.json").c_str()), 0);
    for (const char* stem : {"pipe", "zero"}) {
        const std::string nif = In(std::string(stem) + ".nif");
        const std::string model = In(std::string(stem) + ".json");
        const std::vector<std::pair<std::vector<std::string>, std::string>> runs = {
            {{"check", nif}, nif},
            {{"import", nif}, nif},
            {{"import", Example("crate.nif"), "--model", model}, model},
            {{"export", model, In("out.nif")}, model},
        };
        for (const auto& [args, refused] : runs) {
            const ProcessResult result = Mshost(args);
            EXPECT_EQ(result.status, 2) << args[0] << " " << refused;
            EXPECT_EQ(result.out, "");
            EXPECT_EQ(result.err, "mshost: cannot read '" + refused + "': not a regular file\n");
        }
    }
    EXPECT_EQ(Entries(), (Names{"pipe.json", "pipe.nif", "quad.json", "zero.json", "zero.nif"}));
}

// The importer's fields hold 999 characters; a longer name would be cut to
// another file's name, so it is refused before the run. 999 go through.
TEST_F(CliInputs, NamesLongerThan999CharactersAreRefusedBeforeTheRun) {
    const std::string longest = In("") + std::string(999 - In("").size(), 'n');
    const std::string tooLong = longest + "x.nif";
    for (const auto& args : {std::vector<std::string>{"import", tooLong, "--summary"},
                             std::vector<std::string>{"import", Example("crate.nif"), "--textures", tooLong}}) {
        const ProcessResult result = Mshost(args);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "mshost: '" + tooLong + "': names longer than 999 characters are not supported\n");
    }
    const ProcessResult result = Mshost({"import", longest, "--summary"});
    EXPECT_EQ(result.status, 3) << "the importer runs and cannot open it";
    EXPECT_EQ(result.err, "mshost: import of '" + longest + "' failed: Unable to open file '" + longest + "'.\n");
}

// Every signal that ends a run removes the temporary file it was writing.
TEST_F(CliInputs, EveryEndingSignalRemovesTheTemporaryFile) {
    for (const int signal : {SIGHUP, SIGPIPE, SIGQUIT}) {
        const ProcessResult result =
            Limited("", {"export", In("quad.json"), In("out.nif"), "--plugin", FAKE_PLUGIN_PATH},
                    {{"FAKE_PLUGIN_KIND", "2"}, {"FAKE_PLUGIN_SIGNAL", std::to_string(signal)}});
        EXPECT_EQ(result.status, -1) << "ended by signal " << signal;
        EXPECT_EQ(Entries(), Names{"quad.json"}) << signal;
    }
}

// Under a file-size limit the write fails with its reason: --save exits 2,
// the exporter reports it (3), and the old outputs stay as they were.
TEST_F(CliInputs, FileSizeLimitIsAWriteFailure) {
    ASSERT_EQ(Mshost({"import", Example("crate.nif"), "--save", In("crate.json")}).status, 0);
    std::ofstream(In("old.json")) << "old";
    std::ofstream(In("old.nif")) << "old";
    const ProcessResult save = Limited("ulimit -f 1;", {"import", Example("crate.nif"), "--save", In("old.json"), "--summary"});
    EXPECT_EQ(save.status, 2);
    EXPECT_EQ(save.err, "mshost: cannot write '" + In("old.json") + "': File too large\n");
    const ProcessResult exported = Limited("ulimit -f 1;", {"export", In("crate.json"), In("old.nif")});
    EXPECT_EQ(exported.status, 3);
    EXPECT_EQ(exported.err, "mshost: export to '" + In("old.nif") + "' failed: Unable to write file '" + In("old.nif") + "'.\n");
    EXPECT_EQ(Entries(), (Names{"crate.json", "old.json", "old.nif", "quad.json"}));
    std::ifstream json(In("old.json"));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(json), {}), "old");
}

// A quote, a backslash, a line feed, a tab and other control bytes of a name
// are escaped as in C inside the quotes: the reason stays one line.
TEST_F(CliInputs, NamesInTheStderrLineAreEscaped) {
    const std::string odd = In("it's a\\b\nc\td\x01");
    const ProcessResult result = Mshost({"export", In("quad.json"), odd + "/out.nif"});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, "mshost: cannot create '" + In("it\\'s a\\\\b\\nc\\td\\x01") + "/out.nif': No such file or directory\n");
    const ProcessResult missing = Mshost({"export", odd + ".json", In("out.nif")});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "mshost: cannot open '" + In("it\\'s a\\\\b\\nc\\td\\x01") + ".json': No such file or directory\n");
}

// The temporary file is named and renamed relative to its folder: an output
// whose full name is a few bytes short of the system's limit is written
// although "<folder>/<temporary name>" would be longer than that limit.
TEST_F(CliInputs, OutputNearThePathLengthLimitIsWritten) {
    std::string deep = In("");
    deep.pop_back();
    while (deep.size() < 4085) {
        deep += "/" + std::string(std::min<size_t>(200, 4085 - deep.size() - 1), 'd');
        ASSERT_EQ(mkdir(deep.c_str(), 0755), 0) << deep.size();
    }
    const std::string output = deep + "/o.nif";
    ASSERT_LT(output.size(), 4096u);
    const ProcessResult result = Mshost({"export", In("quad.json"), output});
    EXPECT_EQ(result.status, 0) << result.err;
    struct stat info {};
    EXPECT_EQ(stat(output.c_str(), &info), 0);
    EXPECT_GT(info.st_size, 0);
}

}  // namespace
