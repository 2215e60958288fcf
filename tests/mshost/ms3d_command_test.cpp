// mshost with .ms3d models: picked by extension for --model, --save and
// export; a bad file stops the command with status 2 and one line naming
// it, and nothing is written. With the real plug-ins built, a NIF goes to
// .ms3d and back to NIF.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <string>

#include "mshost/formats/model_files.h"
#include "tests/mshost/ms3d_test_support.h"

namespace {

using ms3dtest::Mshost;
using ms3dtest::TempFolder;

// The first 100 bytes of a valid file: cut inside the triangles.
std::string CutFile(const std::string& path) {
    ms3d::File file;
    file.vertices.resize(3);
    file.triangles.resize(2);
    std::string bytes, error;
    EXPECT_TRUE(ms3d::WriteFile(file, "x", &bytes, &error)) << error;
    std::ofstream(path, std::ios::binary) << bytes.substr(0, 100);
    return path;
}

TEST(Ms3dCommand, ExportRefusesABadFileWithStatus2AndWritesNothing) {
    TempFolder folder;
    std::string model = CutFile(folder.Path("cut.ms3d"));
    std::string output = folder.Path("out.nif");
    ms3dtest::CommandResult result = Mshost({"export", model, output});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, "mshost: " + model + ": truncated at offset 63: 140 bytes for 2 triangles, but only 37 left\n");
    EXPECT_EQ(result.out, "");
    EXPECT_FALSE(std::filesystem::exists(output));
}

TEST(Ms3dCommand, ImportRefusesABadModelFileAndSavesNothing) {
    TempFolder folder;
    std::string model = CutFile(folder.Path("cut.MS3D"));
    std::string saved = folder.Path("saved.ms3d");
    ms3dtest::CommandResult result = Mshost({"import", "any.nif", "--model", model, "--save", saved});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, "mshost: " + model + ": truncated at offset 63: 140 bytes for 2 triangles, but only 37 left\n");
    EXPECT_FALSE(std::filesystem::exists(saved));
}

TEST(Ms3dCommand, ModelFilesPickTheFormatByExtension) {
    TempFolder folder;
    ModelPtr model = MakeModel();
    msModel_AddBone(model.get());
    std::string error;
    ASSERT_TRUE(mshost::SaveModelFile(folder.Path("bone.Ms3D").c_str(), model.get(), &error)) << error;
    // 36 bytes of an empty file, plus one joint without keys.
    EXPECT_EQ(std::filesystem::file_size(folder.Path("bone.Ms3D")), 36u + ms3d::kJointFixedSize);
    ModelPtr loaded = MakeModel();
    ASSERT_TRUE(mshost::LoadModelFile(folder.Path("bone.Ms3D").c_str(), loaded.get(), &error)) << error;
    EXPECT_EQ(msModel_GetBoneCount(loaded.get()), 1);
    EXPECT_FALSE(mshost::LoadModelFile("model.obj", loaded.get(), &error));
    EXPECT_EQ(error, "'model.obj': unknown model format (known: .json, .ms3d)");
}

TEST(Ms3dEndToEnd, NifToMs3dToNifKeepsEveryMesh) {
    SKIP_WITHOUT_PLUGIN("dravelin");
    SKIP_WITHOUT_PLUGIN("korbastel");
    const std::string crate = std::string(NIF_BINARY_DIR) + "/examples/crate.nif";
    if (!std::filesystem::exists(crate)) GTEST_SKIP() << crate << " is not written (build example_files)";
    TempFolder folder;

    ms3dtest::CommandResult imported = Mshost({"import", crate, "--textures", "textures", "--save", folder.Path("crate.ms3d")});
    ASSERT_EQ(imported.status, 0) << imported.err;
    ModelPtr model = MakeModel();
    std::string error;
    ASSERT_TRUE(LoadMs3dModel(folder.Path("crate.ms3d").c_str(), model.get(), &error)) << error;
    ASSERT_GT(msModel_GetMeshCount(model.get()), 0);
    ASSERT_EQ(ms3dtest::ExpectedExportMessage(model.get()), "");

    ms3dtest::CommandResult exported = Mshost({"export", folder.Path("crate.ms3d"), folder.Path("again.nif")});
    ASSERT_EQ(exported.status, 0) << exported.err;
    nlohmann::json report = nlohmann::json::parse(exported.out);
    EXPECT_EQ(report["execute"], 0) << exported.out;
    EXPECT_EQ(report["messages"].size(), 0u) << exported.out;

    ms3dtest::CommandResult back = Mshost({"import", folder.Path("again.nif"), "--save", folder.Path("back.json")});
    ASSERT_EQ(back.status, 0) << back.err;
    ModelPtr reimported = MakeModel();
    ASSERT_TRUE(mshost::LoadModelFile(folder.Path("back.json").c_str(), reimported.get(), &error)) << error;
    ms3dtest::ExpectSameCountsReversed(model.get(), reimported.get());
}

}  // namespace
