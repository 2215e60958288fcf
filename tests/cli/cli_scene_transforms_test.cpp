// mshost import --apply-transforms with the real plug-ins: the box reaches the
// importer, and a model exported by korbastel comes back where it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>


#include "host/msLib.h"
#include "mshost/model/model_control.h"
#include "mshost/formats/model_files.h"
#include "quad_model.h"
#include "run_process.h"
#include "tests/exporter/temp_folder.h"
#include "tests/support/shared_corpus.h"

namespace {

ProcessResult Mshost(const std::vector<std::string>& args) { return RunProcess(MSHOST_PATH, args); }

struct Mesh {
    std::string name;
    std::vector<std::array<float, 3>> vertices;
};

// The meshes of a model file as the stand-in host reads it back.
std::vector<Mesh> MeshesOf(const std::string& path) {
    ModelPtr model = MakeModel();
    std::string error;
    EXPECT_TRUE(mshost::LoadModelFile(path.c_str(), model.get(), &error)) << error;
    std::vector<Mesh> meshes;
    for (int m = 0; m < msModel_GetMeshCount(model.get()); ++m) {
        msMesh* handle = msModel_GetMeshAt(model.get(), m);
        Mesh mesh;
        char name[256] = {};
        msMesh_GetName(handle, name, 255);
        mesh.name = name;
        for (int v = 0; v < msMesh_GetVertexCount(handle); ++v) {
            std::array<float, 3> xyz{};
            msVertex_GetVertex(msMesh_GetVertexAt(handle, v), xyz.data());
            mesh.vertices.push_back(xyz);
        }
        meshes.push_back(std::move(mesh));
    }
    return meshes;
}

class CliSceneTransforms : public ::testing::Test {
protected:
    std::string In(const char* name) const { return folder.Path(name); }

    // Exports `model`, imports the file again (with or without the box) and
    // returns the meshes of the imported model; empty when the exporter
    // refused the model.
    std::vector<Mesh> ExportAndImport(const std::string& model, bool applyTransforms) {
        std::filesystem::remove(In("back.json"));
        if (Mshost({"export", model, In("out.nif")}).status != 0) return {};
        std::vector<std::string> args = {"import", In("out.nif"), "--save", In("back.json")};
        if (applyTransforms) args.push_back("--apply-transforms");
        const ProcessResult result = Mshost(args);
        EXPECT_EQ(result.status, 0) << result.err;
        return MeshesOf(In("back.json"));
    }

    TempFolder folder;
};

// Equal positions, mesh for mesh; -0 and 0 compare equal, as the sign of a
// zero may change. The exporter writes the meshes from the last to the
// first, each shape named "Editable Mesh", so the import gives them back in
// reverse order and without their names.
void ExpectSameMeshes(std::vector<Mesh> expected, const std::vector<Mesh>& actual, const std::string& what) {
    std::reverse(expected.begin(), expected.end());
    ASSERT_EQ(expected.size(), actual.size()) << what;
    for (size_t m = 0; m < expected.size(); ++m) {
        ASSERT_EQ(expected[m].vertices.size(), actual[m].vertices.size()) << what << " mesh " << m;
        for (size_t v = 0; v < expected[m].vertices.size(); ++v) {
            ASSERT_EQ(expected[m].vertices[v], actual[m].vertices[v]) << what << " mesh " << m << " vertex " << v;
        }
    }
}

TEST_F(CliSceneTransforms, ExportedQuadComesBackWhereItWasOnlyWithTheBox) {
    {
        std::ofstream out(In("quad.json"), std::ios::binary);
        out << kQuadModel;
    }
    const std::vector<Mesh> original = MeshesOf(In("quad.json"));
    ExpectSameMeshes(original, ExportAndImport(In("quad.json"), true), "quad");
    // Without the box the file's axes stay: host (x, y, z) comes back as (x, -z, y).
    const std::vector<Mesh> plain = ExportAndImport(In("quad.json"), false);
    ASSERT_EQ(plain.size(), 1u);
    EXPECT_EQ(plain[0].vertices[2], (std::array<float, 3>{1, 0, 1}));
}

TEST_F(CliSceneTransforms, ExportedCorpusModelsComeBackWhereTheyWere) {
    NIF_NEED_SHARED_CORPUS("ms3d");
    int exported = 0;
    for (const std::filesystem::path& file : shared_corpus::Files("ms3d", ".ms3d")) {
        const std::string model = file.string();
        const std::vector<Mesh> back = ExportAndImport(model, true);
        if (back.empty()) continue;  // a model the exporter refuses (no material, no texture)
        ++exported;
        ExpectSameMeshes(MeshesOf(model), back, file.filename().string());
    }
    EXPECT_GT(exported, 0);
}

}  // namespace
