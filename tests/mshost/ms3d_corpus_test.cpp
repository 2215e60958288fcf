// The real .ms3d files of the shared corpus (public models nobody here
// made): each loads, and each saves and reloads to the same model.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "mshost/ms3d_format.h"
#include "tests/mshost/ms3d_test_support.h"

namespace {

using ms3dtest::DumpModel;
using ms3dtest::ReadRecords;
using ms3dtest::TempFolder;

const std::filesystem::path kCorpus = std::filesystem::path(NIF_SHARED_DIR) / "corpus" / "ms3d";

std::vector<std::string> CorpusFiles() {
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(kCorpus, error))
        if (entry.path().extension() == ".ms3d") files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

#define SKIP_WITHOUT_CORPUS(files)                                                                  \
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

}  // namespace
