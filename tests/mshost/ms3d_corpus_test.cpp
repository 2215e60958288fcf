// The real .ms3d files of the shared corpus (public models nobody here
// made): each loads; each saves and reloads to the same model; each exports
// through the exporter when it meets the exporter's rules, or gets the
// exporter's message, and an exported file imports back with the same
// vertex and triangle counts per mesh.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "mshost/files/file_io.h"
#include "mshost/formats/model_files.h"
#include "mshost/formats/ms3d_format.h"
#include "tests/mshost/ms3d_test_support.h"
#include "tests/support/shared_corpus.h"

namespace {

using ms3dtest::DumpModel;
using ms3dtest::ReadRecords;
using ms3dtest::TempFolder;

const std::filesystem::path kCorpus = std::filesystem::path(NIF_SHARED_DIR) / "corpus" / "ms3d";

std::vector<std::string> CorpusFiles() {
    std::vector<std::string> files;
    for (const std::filesystem::path& file : shared_corpus::Files("ms3d", ".ms3d")) files.push_back(file.string());
    return files;
}

#define SKIP_WITHOUT_CORPUS(files)                                                                  \
    NIF_NEED_SHARED_CORPUS("ms3d");                                                                 \
    if ((files).empty()) GTEST_SKIP() << "no .ms3d files in " << kCorpus.string() << " (shared corpus absent)"

TEST(Ms3dCorpus, EveryFileLoadsWithOneMeshPerGroup) {
    std::vector<std::string> files = CorpusFiles();
    SKIP_WITHOUT_CORPUS(files);
    for (const std::string& path : files) {
        SCOPED_TRACE(path);
        ms3d::File records = ReadRecords(path);
        ModelPtr model = MakeModel();
        std::string error;
        ASSERT_TRUE(LoadMs3dModel(path.c_str(), model.get(), &error)) << error;
        ASSERT_EQ(static_cast<size_t>(msModel_GetMeshCount(model.get())), records.groups.size());
        EXPECT_EQ(static_cast<size_t>(msModel_GetMaterialCount(model.get())), records.materials.size());
        EXPECT_EQ(static_cast<size_t>(msModel_GetBoneCount(model.get())), records.joints.size());
        for (size_t g = 0; g < records.groups.size(); ++g) {
            msMesh* mesh = msModel_GetMeshAt(model.get(), static_cast<int>(g));
            EXPECT_EQ(static_cast<size_t>(msMesh_GetTriangleCount(mesh)), records.groups[g].triangleIndices.size());
            // At least one host vertex per file vertex used, at most one per corner.
            EXPECT_LE(static_cast<size_t>(msMesh_GetVertexCount(mesh)), 3 * records.groups[g].triangleIndices.size());
        }
    }
}

TEST(Ms3dCorpus, EveryFileSavesAndReloadsToTheSameModel) {
    std::vector<std::string> files = CorpusFiles();
    SKIP_WITHOUT_CORPUS(files);
    TempFolder folder;
    for (const std::string& path : files) {
        SCOPED_TRACE(path);
        ModelPtr first = MakeModel();
        std::string error;
        ASSERT_TRUE(LoadMs3dModel(path.c_str(), first.get(), &error)) << error;
        std::string saved = folder.Path(std::filesystem::path(path).filename().string());
        ASSERT_TRUE(SaveMs3dModel(saved.c_str(), first.get(), &error)) << error;
        ModelPtr second = MakeModel();
        ASSERT_TRUE(LoadMs3dModel(saved.c_str(), second.get(), &error)) << error;
        EXPECT_EQ(DumpModel(second.get()), DumpModel(first.get()));
        // And the file written keeps every field the host maps.
        EXPECT_EQ(ms3dtest::MappedFields(ReadRecords(saved)), ms3dtest::MappedFields(ReadRecords(path)));
    }
}

// Every prefix of the small real files, each in a buffer of exactly its
// size: all prefixes that end before the joints end are refused as
// truncated; from there on (the optional trailing sections) all load.
TEST(Ms3dCorpus, EveryPrefixOfASmallFileIsRefusedUntilTheJointsEnd) {
    std::vector<std::string> files = CorpusFiles();
    SKIP_WITHOUT_CORPUS(files);
    int checked = 0;
    for (const std::string& path : files) {
        if (std::filesystem::file_size(path) > 4096) continue;
        SCOPED_TRACE(path);
        mshost::FileImage image;
        std::string error;
        ASSERT_TRUE(mshost::ReadFileImage(path.c_str(), &image, &error)) << error;
        const std::string bytes(image.view());
        size_t firstLoading = bytes.size() + 1;
        for (size_t length = 0; length <= bytes.size(); ++length) {
            std::unique_ptr<char[]> exact(new char[length + 1]);
            std::memcpy(exact.get(), bytes.data(), length);
            ms3d::File file;
            bool loaded = ms3d::ParseFile(exact.get(), length, "prefix.ms3d", &file, &error);
            if (loaded && firstLoading > bytes.size()) firstLoading = length;
            if (length < firstLoading) {
                EXPECT_EQ(error.rfind("prefix.ms3d: truncated at offset ", 0), 0u) << error;
            } else {
                EXPECT_TRUE(loaded) << "prefix of " << length << " bytes: " << error;
            }
        }
        EXPECT_LE(firstLoading, bytes.size());
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

TEST(Ms3dCorpus, EveryFileExportsOrGetsTheExportersMessageAndImportsBack) {
    std::vector<std::string> files = CorpusFiles();
    SKIP_WITHOUT_CORPUS(files);
    SKIP_WITHOUT_PLUGIN("korbastel");
    SKIP_WITHOUT_PLUGIN("dravelin");
    TempFolder folder;
    int exported = 0;
    for (const std::string& path : files) {
        SCOPED_TRACE(path);
        ModelPtr model = MakeModel();
        std::string error;
        ASSERT_TRUE(LoadMs3dModel(path.c_str(), model.get(), &error)) << error;
        const std::string expected = ms3dtest::ExpectedExportMessage(model.get());
        const std::string output = folder.Path(std::filesystem::path(path).stem().string() + ".nif");

        ms3dtest::CommandResult result = ms3dtest::Mshost({"export", path, output});
        nlohmann::json report = nlohmann::json::parse(result.out);
        if (!expected.empty()) {
            std::string oneLine = expected;
            std::replace(oneLine.begin(), oneLine.end(), '\n', ' ');
            EXPECT_EQ(result.status, 3);
            EXPECT_EQ(result.err, "mshost: export to '" + output + "' failed: " + oneLine + "\n");
            EXPECT_FALSE(std::filesystem::exists(output));
            EXPECT_EQ(report["execute"], -1) << result.out;
            nlohmann::json box = {{"caption", nullptr}, {"text", expected}};
            EXPECT_EQ(report["messages"], nlohmann::json::array({box})) << result.out;
            continue;
        }
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(report["execute"], 0) << result.out;
        EXPECT_EQ(report["messages"], nlohmann::json::array()) << result.out;
        EXPECT_EQ(report["destroyed"], 1) << result.out;
        ++exported;

        const std::string back = folder.Path(std::filesystem::path(path).stem().string() + ".json");
        ms3dtest::CommandResult imported = ms3dtest::Mshost({"import", output, "--save", back});
        ASSERT_EQ(imported.status, 0) << imported.err;
        EXPECT_EQ(nlohmann::json::parse(imported.out)["messages"], nlohmann::json::array()) << imported.out;
        ModelPtr reimported = MakeModel();
        ASSERT_TRUE(mshost::LoadModelFile(back.c_str(), reimported.get(), &error)) << error;
        ms3dtest::ExpectSameCountsReversed(model.get(), reimported.get());
    }
    std::printf("[ corpus  ] %d of %zu .ms3d files exported and imported back\n", exported, files.size());
}

}  // namespace
