// mshost with the real plug-ins (dravelin.so, korbastel.so next to mshost):
// the project's example files imported, a rejected file leaving the model
// as it was, --save / --model, the summary, export of a model and the
// exported file read back by check and import.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include <unistd.h>

#include "quad_model.h"
#include "run_process.h"

namespace {

using nlohmann::json;

ProcessResult Mshost(const std::vector<std::string>& args) { return RunProcess(MSHOST_PATH, args); }

std::string Example(const char* name) { return std::string(EXAMPLES_DIR) + "/" + name; }

json Report(const ProcessResult& result, int status = 0) {
    EXPECT_EQ(result.status, status) << result.err;
    return json::parse(result.out);
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

class CliRealPlugIns : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() / ("cli_real_" + std::to_string(getpid()) + "_" +
                                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::string In(const char* name) const { return (folder / name).string(); }
    std::filesystem::path folder;
};

TEST_F(CliRealPlugIns, ImportsTheExampleCrate) {
    const json report = Report(Mshost({"import", Example("crate.nif"), "--textures", "C:/tex"}));
    EXPECT_EQ(report["kind"], 1);
    EXPECT_EQ(report["title"], "Dravelin (Version 0.03)...");
    EXPECT_EQ(report["execute"], 0);
    EXPECT_EQ(report["messages"], json::array());
    EXPECT_EQ(report["destroyed"], 0);
    const json& model = report["model"];
    ASSERT_EQ(model["meshes"].size(), 1u);
    const json& mesh = model["meshes"][0];
    EXPECT_EQ(mesh["name"], "CrateBox");
    EXPECT_EQ(mesh["material"], 0);
    EXPECT_EQ(mesh["vertices"].size(), 24u);
    EXPECT_EQ(mesh["texcoords"].size(), 24u);
    EXPECT_EQ(mesh["triangles"].size(), 12u);
    EXPECT_EQ(mesh["vertices"][0], json::parse("[-1, -1, 0]"));
    EXPECT_EQ(mesh["texcoords"][0], json::parse("[0, 1]"));
    EXPECT_EQ(mesh["triangles"][1], json::parse("[0, 2, 3]"));
    ASSERT_EQ(model["materials"].size(), 1u);
    const json& material = model["materials"][0];
    EXPECT_EQ(material["name"], "CrateWood");
    EXPECT_EQ(material["ambient"], json::parse("[0.4, 0.3, 0.2, 1]"));
    EXPECT_EQ(material["diffuse"], json::parse("[0.8, 0.6, 0.4, 1]"));
    EXPECT_EQ(material["shininess"], 10);
    EXPECT_EQ(material["transparency"], 1);
    EXPECT_EQ(material["diffuseTexture"], "C:/tex/textures/crate.bmp");
    EXPECT_EQ(model["bones"], json::array());
}

TEST_F(CliRealPlugIns, ImportWithoutTextureFolderStartsThePathWithASlash) {
    const json report = Report(Mshost({"import", Example("crate.nif")}));
    EXPECT_EQ(report["model"]["materials"][0]["diffuseTexture"], "/textures/crate.bmp");
}

TEST_F(CliRealPlugIns, SummaryOfTheSkinnedArmListsBonesWithParents) {
    const ProcessResult result = Mshost({"import", Example("skinned_arm.nif"), "--summary"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out,
              "plug-in: \"Dravelin (Version 0.03)...\" (kind 1)\n"
              "execute: 0\n"
              "meshes: 1\n"
              "  0 \"ArmSkin\": 8 vertices, 12 triangles, no material\n"
              "materials: 0\n"
              "bones: 3\n"
              "  0 \"Bip01\": no parent\n"
              "  1 \"UpperArm\": parent \"Bip01\"\n"
              "  2 \"Forearm\": parent \"UpperArm\"\n"
              "message boxes: 0\n"
              "debug output: 0 lines\n");
}

TEST_F(CliRealPlugIns, BonePositionsAreRelativeToTheParentBone) {
    const json bones = Report(Mshost({"import", Example("skinned_arm.nif")}))["model"]["bones"];
    ASSERT_EQ(bones.size(), 3u);
    EXPECT_EQ(bones[0]["position"], json::parse("[0, 0, 0]"));
    EXPECT_EQ(bones[1]["position"], json::parse("[0, 0, 1]"));
    EXPECT_EQ(bones[2]["position"], json::parse("[2, 0, 0]"));
    EXPECT_EQ(bones[2]["rotation"], json::parse("[0, 0, 0]"));
}

TEST_F(CliRealPlugIns, RejectedFileShowsTheErrorBoxAndLeavesTheModelAsItWas) {
    const std::string model = "{\"meshes\": [{\"name\": \"Kept\", \"vertices\": [[1, 2, 3]]}]}";
    WriteFile(In("in.json"), model);
    WriteFile(In("bad.nif"), "NetImmerse File Format, Version 4.0.0.1\n");
    const ProcessResult result = Mshost({"import", In("bad.nif"), "--model", In("in.json")});
    const json report = Report(result, 3);
    EXPECT_EQ(result.err, "mshost: import of '" + In("bad.nif") +
                              "' failed: Unexpected String Data 'NetImmerse File Format, Version 4.0.0.1' expected "
                              "'NetImmerse File Format, Version 4.0.0.2'\n");
    EXPECT_EQ(report["execute"], 0);
    ASSERT_EQ(report["messages"].size(), 1u);
    EXPECT_EQ(report["messages"][0]["caption"], "NIF Import Error");
    EXPECT_EQ(report["messages"][0]["text"],
              "Unexpected String Data 'NetImmerse File Format, Version 4.0.0.1' expected "
              "'NetImmerse File Format, Version 4.0.0.2'");
    EXPECT_EQ(report["debug"], json::array({report["messages"][0]["text"]}));
    ASSERT_EQ(report["model"]["meshes"].size(), 1u);
    EXPECT_EQ(report["model"]["meshes"][0]["name"], "Kept");
    EXPECT_EQ(report["model"]["meshes"][0]["vertices"], json::parse("[[1, 2, 3]]"));
    EXPECT_EQ(report["model"]["materials"], json::array());
}

TEST_F(CliRealPlugIns, MissingFileIsReportedInTheBoxNotAsAnMshostError) {
    const json report = Report(Mshost({"import", In("missing.nif")}), 3);
    EXPECT_EQ(report["execute"], 0);
    EXPECT_EQ(report["messages"],
              json::parse("[{\"caption\": \"NIF Import Error\", \"text\": \"Unable to open file '" + In("missing.nif") +
                          "'.\"}]"));
    EXPECT_EQ(report["debug"], json::array());
}

TEST_F(CliRealPlugIns, SavedImportFeedsTheNextImport) {
    const ProcessResult first = Mshost({"import", Example("crate.nif"), "--save", In("crate.json"), "--summary"});
    ASSERT_EQ(first.status, 0) << first.err;
    const json report = Report(Mshost({"import", Example("shared_texture.nif"), "--model", In("crate.json")}));
    const json& meshes = report["model"]["meshes"];
    ASSERT_EQ(meshes.size(), 3u);
    EXPECT_EQ(meshes[0]["name"], "CrateBox");
    EXPECT_EQ(meshes[1]["name"], "PlankA");
    EXPECT_EQ(meshes[2]["name"], "PlankB");
    // Materials are not shared: each plank gets its own, after the crate's.
    EXPECT_EQ(meshes[1]["material"], 1);
    EXPECT_EQ(meshes[2]["material"], 2);
    EXPECT_EQ(report["model"]["materials"][2]["diffuseTexture"], "/plank.tga");
}

TEST_F(CliRealPlugIns, ExportWritesAFileThatChecksAndDestroysTheModel) {
    WriteFile(In("quad.json"), kQuadModel);
    const json report = Report(Mshost({"export", In("quad.json"), In("quad.nif")}));
    EXPECT_EQ(report["kind"], 2);
    EXPECT_EQ(report["title"], "Korbastel <ALPHA>");
    EXPECT_EQ(report["execute"], 0);
    EXPECT_EQ(report["messages"], json::array());
    EXPECT_EQ(report["destroyed"], 1);
    EXPECT_FALSE(report.contains("model"));

    const ProcessResult check = Mshost({"check", In("quad.nif")});
    EXPECT_EQ(check.status, 0) << check.out;
    EXPECT_EQ(check.out,
              "ok: 9 blocks\n"
              "0 NiNode\n"
              "1 NiZBufferProperty\n"
              "2 NiVertexColorProperty\n"
              "3 NiNode\n"
              "4 NiTriShape\n"
              "5 NiTexturingProperty\n"
              "6 NiSourceTexture\n"
              "7 NiMaterialProperty\n"
              "8 NiTriShapeData\n");
}

TEST_F(CliRealPlugIns, EmptyModelIsRefusedWithTheDefaultCaption) {
    WriteFile(In("empty.json"), "{}");
    const json report = Report(Mshost({"export", In("empty.json"), In("never.nif")}), 3);
    EXPECT_EQ(report["execute"], -1);
    EXPECT_EQ(report["messages"],
              json::parse("[{\"caption\": null, \"text\": \"Fatal error: Model has no mesh data,\\nexport aborted.\"}]"));
    EXPECT_EQ(report["destroyed"], 0);
    EXPECT_FALSE(std::filesystem::exists(In("never.nif")));
}

TEST_F(CliRealPlugIns, ExportedModelImportsBackWithItsGeometry) {
    WriteFile(In("quad.json"), kQuadModel);
    ASSERT_EQ(Mshost({"export", In("quad.json"), In("quad.nif")}).status, 0);
    const json report = Report(Mshost({"import", In("quad.nif"), "--textures", "T"}));
    EXPECT_EQ(report["execute"], 0);
    const json& meshes = report["model"]["meshes"];
    ASSERT_EQ(meshes.size(), 1u);
    EXPECT_EQ(meshes[0]["vertices"].size(), 4u);
    EXPECT_EQ(meshes[0]["triangles"], json::parse("[[0, 1, 2], [0, 2, 3]]"));
    EXPECT_EQ(meshes[0]["texcoords"], json::parse("[[0, 1], [1, 1], [1, 0], [0, 0]]"));
    EXPECT_EQ(report["model"]["materials"][0]["diffuseTexture"], "T/quad.bmp");
}

TEST_F(CliRealPlugIns, ExamplesSurviveImportExportImport) {
    for (const char* name : {"crate.nif", "shared_texture.nif"}) {
        SCOPED_TRACE(name);
        const json first = Report(Mshost({"import", Example(name), "--textures", "T", "--save", In("first.json")}));
        const json exported = Report(Mshost({"export", In("first.json"), In("again.nif")}));
        EXPECT_EQ(exported["execute"], 0);
        EXPECT_EQ(exported["messages"], json::array());
        const json again = Report(Mshost({"import", In("again.nif"), "--textures", "U"}));
        EXPECT_EQ(again["messages"], json::array());
        const json& before = first["model"]["meshes"];
        const json& after = again["model"]["meshes"];
        ASSERT_EQ(after.size(), before.size());
        for (size_t i = 0; i < before.size(); ++i) {
            EXPECT_EQ(after[i]["vertices"].size(), before[i]["vertices"].size());
            EXPECT_EQ(after[i]["texcoords"], before[i]["texcoords"]);
            EXPECT_EQ(after[i]["triangles"], before[i]["triangles"]);
            const int material = after[i]["material"];
            EXPECT_EQ(again["model"]["materials"][material]["diffuseTexture"],
                      "U/" + first["model"]["materials"][material]["diffuseTexture"].get<std::string>());
        }
    }
}

// The modder's round trip: imported with the game's texture folder, exported
// with "Texture file names only", the file names the texture the way the
// original did, less its folder ("textures/crate.bmp" gives "crate.bmp").
TEST_F(CliRealPlugIns, TextureNamesOnlyExportWritesEachTexturesFileName) {
    const std::string textures = "C:\\Game\\Data Files\\Textures";
    ASSERT_EQ(Mshost({"import", Example("crate.nif"), "--textures", textures, "--save", In("crate.json")}).status, 0);
    const json plain = Report(Mshost({"export", In("crate.json"), In("plain.nif")}));
    EXPECT_EQ(plain["messages"], json::array());
    const json named = Report(Mshost({"export", In("crate.json"), In("named.nif"), "--texture-names-only"}));
    EXPECT_EQ(named["execute"], 0);
    EXPECT_EQ(named["messages"], json::array());
    const json again = Report(Mshost({"import", In("named.nif")}));
    EXPECT_EQ(again["model"]["materials"][0]["diffuseTexture"], "/crate.bmp");
    const json before = Report(Mshost({"import", In("plain.nif")}));
    EXPECT_EQ(before["model"]["materials"][0]["diffuseTexture"], "/" + textures + "/textures/crate.bmp");
}

TEST_F(CliRealPlugIns, MeshesWithOneTextureShareOneSourceTextureBlock) {
    ASSERT_EQ(Mshost({"import", Example("shared_texture.nif"), "--save", In("planks.json")}).status, 0);
    ASSERT_EQ(Mshost({"export", In("planks.json"), In("planks.nif")}).status, 0);
    const ProcessResult check = Mshost({"check", In("planks.nif")});
    EXPECT_EQ(check.status, 0);
    EXPECT_EQ(check.out.rfind("ok: 14 blocks\n", 0), 0u) << check.out;
    size_t sources = 0;
    for (size_t at = check.out.find(" NiSourceTexture\n"); at != std::string::npos;
         at = check.out.find(" NiSourceTexture\n", at + 1)) {
        ++sources;
    }
    EXPECT_EQ(sources, 1u);
}

TEST_F(CliRealPlugIns, ModelWithoutMaterialsIsRefusedAndKept) {
    ASSERT_EQ(Mshost({"import", Example("skinned_arm.nif"), "--save", In("arm.json")}).status, 0);
    const json report = Report(Mshost({"export", In("arm.json"), In("arm.nif")}), 3);
    EXPECT_EQ(report["execute"], -1);
    EXPECT_EQ(report["messages"],
              json::parse("[{\"caption\": null, \"text\": \"Fatal error: Model has no materials,\\nexport aborted.\"}]"));
    EXPECT_EQ(report["destroyed"], 0);
    EXPECT_FALSE(std::filesystem::exists(In("arm.nif")));
}

}  // namespace
