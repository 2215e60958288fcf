// mshost as a program that scripts call: the exit status and the one stderr
// line of every way a run can fail, the files each run leaves in its folder,
// outputs that are not regular files, outputs naming the input, parallel runs
// onto one file, an interrupted run, the debug log's folder, and a model file
// that is not one JSON value.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "quad_model.h"
#include "run_process.h"

namespace {

using Environment = std::vector<std::pair<std::string, std::string>>;
using Names = std::vector<std::string>;

ProcessResult Mshost(const std::vector<std::string>& args, const Environment& environment = {}) {
    return RunProcess(MSHOST_PATH, args, environment);
}

std::string Example(const char* name) { return std::string(EXAMPLES_DIR) + "/" + name; }

class CliExitStatus : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() / ("cli_status_" + std::to_string(getpid()) + "_" +
                                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        Write("quad.json", kQuadModel);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::string In(const std::string& name) const { return (folder / name).string(); }
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream out(In(name), std::ios::binary);
        out << bytes;
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(In(name), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // Every name in the folder, sorted, to show what a run left behind.
    Names Entries() const {
        Names names;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
    // True when `name` is a NIF file the reader loads completely.
    bool ChecksOk(const std::string& name) const {
        const ProcessResult check = Mshost({"check", In(name)});
        return check.status == 0 && check.out.rfind("ok: 9 blocks\n", 0) == 0;
    }
    unsigned Mode(const std::string& name) const {
        struct stat info {};
        return lstat(In(name).c_str(), &info) == 0 ? info.st_mode : 0;
    }

    std::filesystem::path folder;
};

TEST_F(CliExitStatus, ImportThatShowsTheErrorBoxExitsThreeAndSavesNothing) {
    std::ifstream crate(Example("crate.nif"), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(crate)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 100u);
    Write("truncated.nif", bytes.substr(0, 100));
    Write("keep.ms3d", "earlier");

    ProcessResult result = Mshost({"import", In("truncated.nif"), "--save", In("keep.ms3d"), "--summary"});
    EXPECT_EQ(result.status, 3);
    EXPECT_EQ(result.err.rfind("mshost: import of '" + In("truncated.nif") + "' failed: ", 0), 0u) << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1);
    EXPECT_NE(result.out.find("\"NIF Import Error\""), std::string::npos);  // the report is still printed
    EXPECT_EQ(Read("keep.ms3d"), "earlier");

    result = Mshost({"import", In("missing.nif"), "--save", In("new.json")});
    EXPECT_EQ(result.status, 3);
    EXPECT_EQ(result.err, "mshost: import of '" + In("missing.nif") + "' failed: Unable to open file '" +
                              In("missing.nif") + "'.\n");
    EXPECT_EQ(Entries(), (Names{"keep.ms3d", "quad.json", "truncated.nif"}));
}

TEST_F(CliExitStatus, ExportThatCannotCreateItsOutputExitsThree) {
    std::filesystem::create_directory(In("folder.nif"));
    const Names before = Entries();
    for (const std::string& output : {In("folder.nif"), std::string("/proc/version"), In("")}) {
        const ProcessResult result = Mshost({"export", In("quad.json"), output});
        EXPECT_EQ(result.status, 3) << output;
        EXPECT_EQ(result.err, "mshost: the exporter could not create '" + output + "'\n");
        EXPECT_NE(result.out.find("\"execute\": -1"), std::string::npos) << result.out;
    }
    EXPECT_EQ(Entries(), before);
    EXPECT_TRUE(std::filesystem::is_empty(In("folder.nif")));
}

TEST_F(CliExitStatus, ExportRefusedByTheExporterNamesItsMessage) {
    Write("empty.json", "{}");
    const ProcessResult result = Mshost({"export", In("empty.json"), In("out.nif")});
    EXPECT_EQ(result.status, 3);
    EXPECT_EQ(result.err, "mshost: export to '" + In("out.nif") +
                              "' failed: Fatal error: Model has no mesh data, export aborted.\n");
    EXPECT_EQ(Entries(), (Names{"empty.json", "quad.json"}));
}

TEST_F(CliExitStatus, LongestFileNameIsWrittenUnderItsOwnName) {
    const std::string name = std::string(251, 'a') + ".nif";  // 255 bytes, the longest a file name may be
    const ProcessResult result = Mshost({"export", In("quad.json"), In(name)});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(ChecksOk(name));
    EXPECT_EQ(Entries(), (Names{name, "quad.json"}));
}

TEST_F(CliExitStatus, ExportKeepsThePermissionBitsAndOthersFilesNamedLikeTemporaries) {
    ASSERT_EQ(Mshost({"export", In("quad.json"), In("out.nif")}).status, 0);
    ASSERT_EQ(chmod(In("out.nif").c_str(), 0640), 0);
    Write("out.nif.tmp", "mine");
    Write("victim", "secret");
    ASSERT_EQ(symlink(In("victim").c_str(), In("out.nif.1.tmp").c_str()), 0);
    const ProcessResult result = Mshost({"export", In("quad.json"), In("out.nif")});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(Mode("out.nif") & 07777, 0640u);
    EXPECT_TRUE(ChecksOk("out.nif"));
    EXPECT_EQ(Read("out.nif.tmp"), "mine");
    EXPECT_EQ(Read("victim"), "secret");
    EXPECT_EQ(Entries(), (Names{"out.nif", "out.nif.1.tmp", "out.nif.tmp", "quad.json", "victim"}));
}

// A pipe, a link to a device, a link to a folder: the exporter cannot open
// them (status 3), --save refuses them before the run (status 2), and each
// stays what it was.
TEST_F(CliExitStatus, OutputsThatAreNotRegularFilesAreLeftUntouched) {
    ASSERT_EQ(mkfifo(In("pipe.nif").c_str(), 0644), 0);
    ASSERT_EQ(mkfifo(In("pipe.json").c_str(), 0644), 0);
    ASSERT_EQ(symlink("/dev/null", In("null.nif").c_str()), 0);
    ASSERT_EQ(symlink("/dev/null", In("null.json").c_str()), 0);
    std::filesystem::create_directory(In("dir"));
    ASSERT_EQ(symlink(In("dir").c_str(), In("dir.json").c_str()), 0);
    const Names before = Entries();
    for (const char* name : {"pipe.nif", "null.nif"}) {
        const ProcessResult result = Mshost({"export", In("quad.json"), In(name)});
        EXPECT_EQ(result.status, 3) << name;
        EXPECT_EQ(result.err, "mshost: the exporter could not create '" + In(name) + "'\n");
    }
    for (const char* name : {"pipe.json", "null.json", "dir.json"}) {
        const ProcessResult result = Mshost({"import", Example("crate.nif"), "--save", In(name)});
        EXPECT_EQ(result.status, 2) << name;
        EXPECT_EQ(result.out, "") << "refused before the run";
        EXPECT_EQ(result.err, "mshost: cannot replace '" + In(name) + "': not a regular file\n");
    }
    EXPECT_EQ(Entries(), before);
    EXPECT_TRUE(S_ISFIFO(Mode("pipe.nif")));
    EXPECT_TRUE(S_ISLNK(Mode("null.nif")));
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
    EXPECT_TRUE(std::filesystem::is_empty(In("dir")));
}

TEST_F(CliExitStatus, OutputNamingTheInputIsRefusedBeforeTheRun) {
    ASSERT_EQ(symlink(In("quad.json").c_str(), In("alias.json").c_str()), 0);
    for (const char* output : {"quad.json", "alias.json"}) {
        const ProcessResult result = Mshost({"export", In("quad.json"), In(output)});
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "mshost: '" + In(output) + "' names the input model; it is not overwritten\n");
    }
    const ProcessResult save = Mshost({"import", Example("crate.nif"), "--model", In("quad.json"), "--save", In("alias.json")});
    EXPECT_EQ(save.status, 2);
    EXPECT_EQ(save.err, "mshost: '" + In("alias.json") + "' names an input of the run; it is not overwritten\n");
    EXPECT_EQ(Read("quad.json"), kQuadModel);
}

TEST_F(CliExitStatus, SaveExtensionIsCheckedBeforeTheRun) {
    const ProcessResult result = Mshost({"import", Example("crate.nif"), "--save", In("out.txt")});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "mshost: '" + In("out.txt") + "': unknown model format (known: .json, .ms3d)\n");
    EXPECT_EQ(Entries(), Names{"quad.json"});
}

TEST_F(CliExitStatus, OutputFoldersAreCheckedBeforeTheRunWithTheSystemsReason) {
    const struct {
        std::vector<std::string> args;
        std::string output;
        const char* reason;
    } cases[] = {
        {{"import", Example("crate.nif"), "--save"}, In("nodir/x.json"), "No such file or directory"},
        {{"import", Example("crate.nif"), "--save"}, In("quad.json/x.json"), "Not a directory"},
        {{"export", In("quad.json")}, In("nodir/out.nif"), "No such file or directory"},
        {{"export", In("quad.json")}, In("quad.json/out.nif"), "Not a directory"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        args.push_back(c.output);
        const ProcessResult result = Mshost(args);
        EXPECT_EQ(result.status, 2) << c.output;
        EXPECT_EQ(result.out, "") << c.output;
        EXPECT_EQ(result.err, "mshost: cannot create '" + c.output + "': " + c.reason + "\n");
    }
    EXPECT_EQ(Entries(), Names{"quad.json"});
}

TEST_F(CliExitStatus, OptionValueAfterAnEqualsSignAndTheReportAsModel) {
    ProcessResult result = Mshost({"import", Example("crate.nif"), "--textures=T", "--save=" + In("crate.json")});
    ASSERT_EQ(result.status, 0) << result.err;
    Write("report.json", result.out);
    // The printed report goes back in as the model it holds.
    result = Mshost({"export", In("report.json"), In("crate.nif")});
    EXPECT_EQ(result.status, 0) << result.err;
    result = Mshost({"import", Example("crate.nif"), "--model", In("report.json"), "--summary"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("meshes: 2\n"), std::string::npos) << result.out;
    EXPECT_NE(Read("crate.json").find("\"T/textures/crate.bmp\""), std::string::npos);
}

TEST_F(CliExitStatus, ModelFileMustBeOneJsonValueWithTrianglesInsideTheirMesh) {
    Write("nul.json", std::string("{\"meshes\": []}\0garbage", 22));
    Write("trailing.json", std::string(kQuadModel) + " {}");
    std::string bad = kQuadModel;
    bad.replace(bad.find("[0, 2, 3]"), 9, "[0, 2, 999]");
    Write("vertex.json", bad);
    const struct {
        const char* file;
        std::string err;
    } cases[] = {
        {"nul.json", "byte 14 is a NUL byte, which no JSON text holds; near '{\"meshes\": []}\\x00garbage'"},
        {"trailing.json", ""},
        {"vertex.json", "meshes[0].triangles[1]: mesh 0 triangle 1 uses vertex 999, but the mesh has 4 vertices"},
    };
    for (const auto& c : cases) {
        const ProcessResult result = Mshost({"export", In(c.file), In("out.nif")});
        EXPECT_EQ(result.status, 2) << c.file;
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        if (!c.err.empty()) {
            EXPECT_EQ(result.err, "mshost: " + In(c.file) + ": " + c.err + "\n");
        }
    }
    EXPECT_FALSE(std::filesystem::exists(In("out.nif")));
}

TEST_F(CliExitStatus, ParseErrorQuotesAtMost80Bytes) {
    Write("long.json", "{\"meshes\": [{\"name\": \"" + std::string(70000, 'x') + "\n" + std::string(70000, 'y'));
    const ProcessResult result = Mshost({"export", In("long.json"), In("out.nif")});
    EXPECT_EQ(result.status, 2);
    EXPECT_LT(result.err.size(), 400u) << result.err.substr(0, 400);
    EXPECT_NE(result.err.find("; near '" + std::string(40, 'x') + "\\x0a" + std::string(39, 'y') + "'\n"),
              std::string::npos)
        << result.err;
}

// Runs started together onto one output: each exits 0, and the output is one
// complete file, with no temporary file left.
TEST_F(CliExitStatus, ParallelRunsOntoOneFileLeaveOneCompleteFile) {
    constexpr int kRuns = 8;
    for (int round = 0; round < 3; ++round) {
        std::vector<ProcessResult> results(kRuns * 2);
        std::vector<std::thread> runs;
        for (int i = 0; i < kRuns; ++i) {
            runs.emplace_back([&, i] { results[i] = Mshost({"export", In("quad.json"), In("out.nif")}); });
            runs.emplace_back([&, i] {
                results[kRuns + i] = Mshost({"import", Example("crate.nif"), "--save", In("saved.json"), "--summary"});
            });
        }
        for (std::thread& run : runs) run.join();
        for (const ProcessResult& result : results) EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_TRUE(ChecksOk("out.nif"));
        const ProcessResult load = Mshost({"export", In("saved.json"), In("again.nif")});
        EXPECT_EQ(load.status, 0) << load.err;
        EXPECT_EQ(Entries(), (Names{"again.nif", "out.nif", "quad.json", "saved.json"})) << "round " << round;
    }
}

TEST_F(CliExitStatus, InterruptedRunRemovesItsTemporaryFile) {
    for (const int signal : {SIGINT, SIGTERM}) {
        const ProcessResult result = Mshost({"export", In("quad.json"), In("out.nif"), "--plugin", FAKE_PLUGIN_PATH},
                                            {{"FAKE_PLUGIN_KIND", "2"}, {"FAKE_PLUGIN_SIGNAL", std::to_string(signal)}});
        EXPECT_EQ(result.status, -1) << "ended by the signal";
        EXPECT_EQ(Entries(), Names{"quad.json"}) << signal;
    }
}

// The debug log sits in a folder others can write to: a link planted under
// its name is not followed.
TEST_F(CliExitStatus, DebugLogIsNeverWrittenThroughALink) {
    std::filesystem::create_directory(In("temp"));
    Write("victim", "keep");
    ASSERT_EQ(symlink(In("victim").c_str(), In("temp/debug.log").c_str()), 0);
    // A folder under the output's name: the exporter cannot create it and logs the name.
    std::filesystem::create_directory(In("out.nif"));
    const ProcessResult result = Mshost({"export", In("quad.json"), In("out.nif")}, {{"TMPDIR", In("temp")}});
    EXPECT_EQ(result.status, 3);
    EXPECT_EQ(Read("victim"), "keep");
    EXPECT_TRUE(S_ISLNK(Mode("temp/debug.log")));

    ASSERT_EQ(unlink(In("temp/debug.log").c_str()), 0);
    EXPECT_EQ(Mshost({"export", In("quad.json"), In("out.nif")}, {{"TMPDIR", In("temp")}}).status, 3);
    EXPECT_EQ(Read("temp/debug.log"), In("out.nif"));
}

}  // namespace
