// mshost import and export through the plug-in path, with a fake plug-in
// whose every trace is known: dialog fields, message boxes (in order, with
// the default caption as null), debugger lines, the model, destroy counts,
// --model, --save, --summary and the loader's failures.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

#include "run_process.h"

namespace {

using Environment = std::vector<std::pair<std::string, std::string>>;

ProcessResult Mshost(const std::vector<std::string>& args, const Environment& environment = {}) {
    return RunProcess(MSHOST_PATH, args, environment);
}

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

const char kFakeMaterial[] =
    "      {\n"
    "        \"name\": \"\",\n"
    "        \"ambient\": [0.2, 0.2, 0.2, 1],\n"
    "        \"diffuse\": [0.8, 0.8, 0.8, 1],\n"
    "        \"specular\": [0, 0, 0, 1],\n"
    "        \"emissive\": [0, 0, 0, 1],\n"
    "        \"shininess\": 0,\n"
    "        \"transparency\": 1,\n"
    "        \"diffuseTexture\": \"tex dir\"\n"
    "      }\n";

class CliFakePlugIn : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() / ("cli_fake_" + std::to_string(getpid()) + "_" +
                                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::string In(const char* name) const { return (folder / name).string(); }
    std::filesystem::path folder;
};

TEST_F(CliFakePlugIn, ImportReportsTheWholeRunAndTheModel) {
    const ProcessResult result = Mshost({"import", "crate.nif", "--textures", "tex dir", "--plugin", FAKE_PLUGIN_PATH});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, std::string("{\n"
                                      "  \"kind\": 1,\n"
                                      "  \"title\": \"Fake \\\"plug-in\\\"\\u00e9\",\n"
                                      "  \"execute\": 0,\n"
                                      "  \"messages\": [\n"
                                      "    {\"caption\": \"Fake\", \"text\": \"file=crate.nif textures=tex dir\"},\n"
                                      "    {\"caption\": null, \"text\": \"second box\"}\n"
                                      "  ],\n"
                                      "  \"debug\": [\n"
                                      "    \"debug one\",\n"
                                      "    \"debug two\"\n"
                                      "  ],\n"
                                      "  \"destroyed\": 0,\n"
                                      "  \"model\": {\n"
                                      "    \"meshes\": [\n"
                                      "      {\n"
                                      "        \"name\": \"FakeMesh\",\n"
                                      "        \"material\": 0,\n"
                                      "        \"vertices\": [\n"
                                      "          [1, 2, 3]\n"
                                      "        ],\n"
                                      "        \"texcoords\": [\n"
                                      "          [0, 0]\n"
                                      "        ],\n"
                                      "        \"normals\": [],\n"
                                      "        \"triangles\": [],\n"
                                      "        \"triangleNormals\": []\n"
                                      "      }\n"
                                      "    ],\n"
                                      "    \"materials\": [\n") +
                              kFakeMaterial +
                              "    ],\n"
                              "    \"bones\": []\n"
                              "  }\n"
                              "}\n");
}

TEST_F(CliFakePlugIn, ImportWithoutTexturesGivesAnEmptyField) {
    const ProcessResult result = Mshost({"import", "a b.nif", "--plugin", FAKE_PLUGIN_PATH});
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.out.find("{\"caption\": \"Fake\", \"text\": \"file=a b.nif textures=\"}"), std::string::npos);
}

TEST_F(CliFakePlugIn, ImportIntoALoadedModelAndSaveIt) {
    WriteFile(In("in.json"), "{\"materials\": [{\"name\": \"Old\"}], \"bones\": [{\"name\": \"Older\"}]}");
    const ProcessResult result =
        Mshost({"import", "x.nif", "--model", In("in.json"), "--save", In("out.json"), "--plugin", FAKE_PLUGIN_PATH});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("  \"execute\": 0,\n"), std::string::npos);  // no meshes before the run
    const std::string saved = ReadFile(In("out.json"));
    EXPECT_EQ(saved.rfind("{\n  \"meshes\": [\n    {\n      \"name\": \"FakeMesh\",\n", 0), 0u) << saved;
    EXPECT_NE(saved.find("\"name\": \"Old\""), std::string::npos);
    EXPECT_NE(saved.find("\"name\": \"Older\""), std::string::npos);
    // The saved model is exactly the report's model, re-indented.
    const size_t model = result.out.find("  \"model\": ");
    ASSERT_NE(model, std::string::npos);
    std::string reportModel = result.out.substr(model + 11);
    reportModel.erase(reportModel.size() - 2);  // the report's closing "}\n"
    std::string unindented;
    std::istringstream lines(reportModel);
    for (std::string line; std::getline(lines, line);) unindented += (line.rfind("  ", 0) == 0 ? line.substr(2) : line) + "\n";
    EXPECT_EQ(unindented, saved);
}

TEST_F(CliFakePlugIn, ExecuteOtherThanZeroExitsThreeAndSavesNothing) {
    WriteFile(In("in.json"), "{\"meshes\": [{\"name\": \"Old\"}, {\"name\": \"Older\"}]}");
    WriteFile(In("out.json"), "kept");
    const ProcessResult result =
        Mshost({"import", "x.nif", "--model", In("in.json"), "--save", In("out.json"), "--plugin", FAKE_PLUGIN_PATH});
    EXPECT_EQ(result.status, 3);
    EXPECT_NE(result.out.find("  \"execute\": 2,\n"), std::string::npos);  // two meshes before the run
    EXPECT_EQ(result.err, "mshost: import of 'x.nif' failed: execute returned 2\n");
    EXPECT_EQ(ReadFile(In("out.json")), "kept");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 2);
}

TEST_F(CliFakePlugIn, SummaryReplacesTheJson) {
    const ProcessResult result = Mshost({"import", "x.nif", "--textures", "t", "--summary", "--plugin", FAKE_PLUGIN_PATH});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out,
              "plug-in: \"Fake \\\"plug-in\\\"\\u00e9\" (kind 1)\n"
              "execute: 0\n"
              "meshes: 1\n"
              "  0 \"FakeMesh\": 1 vertex, 0 triangles, material 0\n"
              "materials: 1\n"
              "  0 \"\": texture \"t\"\n"
              "bones: 0\n"
              "message boxes: 2\n"
              "  \"Fake\": \"file=x.nif textures=t\"\n"
              "  (default caption): \"second box\"\n"
              "debug output: 2 lines\n");
}

TEST_F(CliFakePlugIn, ExportReportsWithoutModelAndCountsDestroy) {
    WriteFile(In("model.json"), "{\"meshes\": [{}]}");
    const ProcessResult result = Mshost({"export", In("model.json"), "out.nif", "--plugin", FAKE_PLUGIN_PATH},
                                        {{"FAKE_PLUGIN_KIND", "2"}, {"FAKE_PLUGIN_DESTROY", "1"}});
    // Any message box of an exporter reports a failure: the first one names it.
    EXPECT_EQ(result.status, 3);
    EXPECT_EQ(result.err, "mshost: export to 'out.nif' failed: file=out.nif textures=\n");
    EXPECT_EQ(result.out,
              "{\n"
              "  \"kind\": 2,\n"
              "  \"title\": \"Fake \\\"plug-in\\\"\\u00e9\",\n"
              "  \"execute\": 1,\n"
              "  \"messages\": [\n"
              "    {\"caption\": \"Fake\", \"text\": \"file=out.nif textures=\"},\n"
              "    {\"caption\": null, \"text\": \"second box\"}\n"
              "  ],\n"
              "  \"debug\": [\n"
              "    \"debug one\",\n"
              "    \"debug two\"\n"
              "  ],\n"
              "  \"destroyed\": 1\n"
              "}\n");
}

TEST_F(CliFakePlugIn, WrongKindIsRefusedBeforeExecute) {
    const ProcessResult result =
        Mshost({"import", "x.nif", "--plugin", FAKE_PLUGIN_PATH, "--save", In("never.json")}, {{"FAKE_PLUGIN_KIND", "2"}});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, std::string("mshost: plug-in '") + FAKE_PLUGIN_PATH + "' is of kind 2, not 1\n");
    EXPECT_FALSE(std::filesystem::exists(In("never.json")));
}

TEST_F(CliFakePlugIn, MissingLibraryNullObjectAndMissingEntryExitTwo) {
    ProcessResult result = Mshost({"import", "x.nif", "--plugin", In("nothing.so")});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(FirstLine(result.err).rfind("mshost: cannot load plug-in '" + In("nothing.so") + "': ", 0), 0u) << result.err;

    result = Mshost({"import", "x.nif", "--plugin", FAKE_PLUGIN_PATH}, {{"FAKE_PLUGIN_NULL", "1"}});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, std::string("mshost: CreatePlugIn of '") + FAKE_PLUGIN_PATH + "' gave no plug-in object\n");
}

TEST_F(CliFakePlugIn, PlugInFolderComesFromTheEnvironment) {
    std::filesystem::copy_file(FAKE_PLUGIN_PATH, folder / "dravelin.so");
    const ProcessResult result = Mshost({"import", "x.nif", "--summary"}, {{"MSHOST_PLUGIN_DIR", folder.string()}});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(FirstLine(result.out), "plug-in: \"Fake \\\"plug-in\\\"\\u00e9\" (kind 1)");
}

TEST_F(CliFakePlugIn, BadModelFilesAreOneLineErrorsWithStatusTwo) {
    WriteFile(In("bad.json"), "{\"meshes\": [{\"vertices\": [[1, 2]]}]}");
    ProcessResult result = Mshost({"export", In("bad.json"), In("out.nif"), "--plugin", FAKE_PLUGIN_PATH});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "mshost: " + In("bad.json") + ": meshes[0].vertices[0]: expected an array of 3 numbers\n");

    result = Mshost({"import", "x.nif", "--model", In("missing.json"), "--plugin", FAKE_PLUGIN_PATH});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, "mshost: cannot open '" + In("missing.json") + "': No such file or directory\n");

    result = Mshost({"export", In("model.txt"), In("out.nif"), "--plugin", FAKE_PLUGIN_PATH});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(FirstLine(result.err).rfind("mshost: '" + In("model.txt") + "': unknown model format", 0), 0u);
}

TEST_F(CliFakePlugIn, SaveIntoAMissingFolderIsRefusedBeforeThePlugInRuns) {
    const ProcessResult result =
        Mshost({"import", "x.nif", "--summary", "--save", In("no/such/dir/out.json"), "--plugin", FAKE_PLUGIN_PATH});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err,
              "mshost: cannot create '" + In("no/such/dir/out.json") + "': No such file or directory\n");
}

}  // namespace
