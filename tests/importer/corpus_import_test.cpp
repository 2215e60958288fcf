// Real files: every corpus file that loads imports without a crash, and each
// mesh holds exactly the vertices and triangles of the shape data it came from.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "importer/nif/debug_printer.h"
#include "importer/nif/nif_file.h"
#include "importer/nif/node_blocks.h"
#include "importer/nif/qiv_stream.h"
#include "importer/nif/text_exception.h"
#include "tests/importer/import_fixture.h"
#include "tests/support/shared_corpus.h"

namespace {

namespace fs = std::filesystem;

struct ExpectedMesh {
    int vertices = 0;
    int triangles = 0;
};

// Counts from the file's data blocks, for every shape that the child links
// reach from the root, in the order a depth-first pre-order walk meets them.
// Read through the node and data classes themselves, not the block questions.
std::vector<ExpectedMesh> ExpectedMeshes(const NifFile& file) {
    std::vector<ExpectedMesh> meshes;
    std::function<void(const NifBlock*)> visit = [&](const NifBlock* block) {
        if (const auto* shape = dynamic_cast<const NiTriShape*>(block)) {
            ExpectedMesh mesh;
            const auto* data = dynamic_cast<const NiTriShapeData*>(file.GetBlock(shape->ShapeDataLink()));
            if (data != nullptr) {
                mesh.vertices = static_cast<int>(data->Vertices().size());
                const FileArray<uint16_t>& points = data->TrianglePoints();
                for (size_t k = 0; k + 2 < points.size(); k += 3) {
                    if (std::max({points[k], points[k + 1], points[k + 2]}) < mesh.vertices) ++mesh.triangles;
                }
            }
            meshes.push_back(mesh);
        }
        if (const auto* node = dynamic_cast<const NiNode*>(block)) {
            for (int32_t child : node->Children().indices) {
                if (const NifBlock* next = file.GetBlock(child)) visit(next);
            }
        }
    };
    if (file.GetRoot() != nullptr) visit(file.GetRoot());
    return meshes;
}

class Corpus : public ImportTest {};

TEST_F(Corpus, EveryLoadableFileImportsItsShapesCompletely) {
    NIF_NEED_SHARED_CORPUS("nif");
    const std::vector<fs::path> files = shared_corpus::Files("nif", ".nif");

    int imported = 0, rejected = 0, meshes = 0, bones = 0;
    for (const fs::path& path : files) {
        SCOPED_TRACE(path.filename().string());
        std::vector<ExpectedMesh> expected;
        try {
            DebugPrinter printer;
            Qiv_Stream stream(&printer);
            stream.OpenFile(path.string().c_str());
            NifFile file(&stream);
            expected = ExpectedMeshes(file);
        } catch (const TextException&) {
            ++rejected;
            continue;
        }

        platform::headless::Reset();
        ModelPtr model = MakeModel();
        const int result = ImportNifFile(model.get(), path.string().c_str(), "");
        EXPECT_EQ(result, expected.empty() ? 1 : 0);
        ASSERT_EQ(msModel_GetMeshCount(model.get()), static_cast<int>(expected.size()));
        for (size_t i = 0; i < expected.size(); ++i) {
            msMesh* mesh = msModel_GetMeshAt(model.get(), static_cast<int>(i));
            EXPECT_EQ(msMesh_GetVertexCount(mesh), expected[i].vertices) << "mesh " << i;
            EXPECT_EQ(msMesh_GetTriangleCount(mesh), expected[i].triangles) << "mesh " << i;
        }
        ++imported;
        meshes += static_cast<int>(expected.size());
        bones += msModel_GetBoneCount(model.get());
    }
    std::printf("corpus: %d files imported (%d meshes, %d bones), %d rejected by the reader\n", imported, meshes,
                bones, rejected);
    EXPECT_GT(imported, 0);
}

}  // namespace
