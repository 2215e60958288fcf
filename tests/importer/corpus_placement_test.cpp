// Real files with "Apply scene transforms": each mesh holds its stored
// vertices taken through W (worked out here in double from the records the
// reader keeps) and the axis turn; every mesh of the default import keeps its
// name, triangles (reversed only under a mirror) and texture coordinates; the
// shapes under animation and particle nodes come in.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
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

// A transform for row vectors in double: p' = p * m, translation in row 3.
using Transform = std::array<std::array<double, 4>, 4>;

Transform IdentityTransform() {
    Transform m{};
    for (int i = 0; i < 4; ++i) m[i][i] = 1.0;
    return m;
}

Transform Product(const Transform& a, const Transform& b) {
    Transform out{};
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            for (int k = 0; k < 4; ++k) out[i][j] += a[i][k] * b[k][j];
        }
    }
    return out;
}

// The record's placement: the stored rotation (its transpose for row
// vectors), the uniform scale and the translation, in that order.
Transform LocalOf(const ObjectRecord& object) {
    Transform m = IdentityTransform();
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) m[i][j] = double(object.rotation.m[3 * j + i]) * double(object.scale);
    }
    m[3][0] = object.translation.x;
    m[3][1] = object.translation.y;
    m[3][2] = object.translation.z;
    return m;
}

struct ExpectedMesh {
    const NiTriShape* shape = nullptr;
    Transform world;
    bool byDefault = true;  // also reached without the option (no animation or particle node above it)
};

// Shapes in the walk's pre-order with the W of their path: child links of
// NiNode, NiBSAnimationNode and NiBSParticleNode; RootCollisionNode not entered.
std::vector<ExpectedMesh> ExpectedMeshes(const NifFile& file) {
    std::vector<ExpectedMesh> meshes;
    std::function<void(const NifBlock*, const Transform&, bool)> visit = [&](const NifBlock* block, const Transform& above,
                                                                             bool byDefault) {
        if (const auto* shape = dynamic_cast<const NiTriShape*>(block)) {
            meshes.push_back({shape, Product(LocalOf(shape->Object()), above), byDefault});
        }
        // "class": the NIF builder has a function of the same name.
        const auto* node = dynamic_cast<const class NodeBlock*>(block);;
        if (node == nullptr || block->Kind() == BlockKind::RootCollisionNode) return;
        const Transform world = Product(LocalOf(node->Object()), above);
        const bool nodeByDefault = byDefault && block->Kind() == BlockKind::NiNode;
        for (int32_t child : node->Children().indices) {
            if (const NifBlock* next = file.GetBlock(child)) visit(next, world, nodeByDefault);
        }
    };
    if (file.GetRoot() != nullptr) visit(file.GetRoot(), IdentityTransform(), true);
    return meshes;
}

double Determinant3(const Transform& m) {
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

bool Near(double expected, float actual) { return std::fabs(expected - actual) <= 1e-3 + 2e-5 * std::fabs(expected); }

std::string Name(msMesh* mesh) {
    char text[256] = {};
    msMesh_GetName(mesh, text, 255);
    return text;
}

class CorpusPlacement : public ImportTest {};

TEST_F(CorpusPlacement, EveryMeshSitsWhereTheSceneAndTheAxisTurnPutIt) {
    NIF_NEED_SHARED_CORPUS("nif");
    const std::vector<fs::path> files = shared_corpus::Files("nif", ".nif");

    int imported = 0, meshes = 0, placed = 0, gained = 0, filesGaining = 0, mirrored = 0;
    for (const fs::path& path : files) {
        SCOPED_TRACE(path.filename().string());
        DebugPrinter printer;
        Qiv_Stream stream(&printer);
        std::vector<ExpectedMesh> expected;
        std::unique_ptr<NifFile> file;
        try {
            stream.OpenFile(path.string().c_str());
            file = std::make_unique<NifFile>(&stream);
            expected = ExpectedMeshes(*file);
        } catch (const TextException&) {
            continue;
        }

        platform::headless::Reset();
        ModelPtr plain = MakeModel();
        ImportNifFile(plain.get(), path.string().c_str(), "", false);
        ModelPtr model = MakeModel();
        EXPECT_EQ(ImportNifFile(model.get(), path.string().c_str(), "", true), expected.empty() ? 1 : 0);
        ASSERT_EQ(msModel_GetMeshCount(model.get()), static_cast<int>(expected.size()));

        int defaultMesh = 0, fileGained = 0;
        for (size_t i = 0; i < expected.size(); ++i) {
            const ExpectedMesh& e = expected[i];
            msMesh* mesh = msModel_GetMeshAt(model.get(), static_cast<int>(i));
            const NiTriShapeData* data = e.shape->ShapeData();
            const int vertexCount = data ? static_cast<int>(data->Vertices().size()) : 0;
            ASSERT_EQ(msMesh_GetVertexCount(mesh), vertexCount) << "mesh " << i;
            for (int v = 0; v < vertexCount; ++v) {
                const NifVector& s = data->Vertices()[static_cast<size_t>(v)];
                double p[3];
                for (int j = 0; j < 3; ++j) {
                    p[j] = s.x * e.world[0][j] + s.y * e.world[1][j] + s.z * e.world[2][j] + e.world[3][j];
                }
                float got[3];
                msVertex_GetVertex(msMesh_GetVertexAt(mesh, v), got);
                ASSERT_TRUE(Near(p[0], got[0]) && Near(p[2], got[1]) && Near(-p[1], got[2]))
                    << "mesh " << i << " vertex " << v << ": expected (" << p[0] << ", " << p[2] << ", " << -p[1]
                    << "), got (" << got[0] << ", " << got[1] << ", " << got[2] << ")";
            }
            const bool mirror = Determinant3(e.world) < 0;
            mirrored += mirror ? 1 : 0;
            placed += e.world != IdentityTransform() ? 1 : 0;
            if (!e.byDefault) {
                ++fileGained;
                continue;
            }
            // The same mesh of the default import: name, texture coordinates, triangles.
            msMesh* same = msModel_GetMeshAt(plain.get(), defaultMesh++);
            ASSERT_NE(same, nullptr);
            EXPECT_EQ(Name(mesh), Name(same));
            ASSERT_EQ(msMesh_GetTriangleCount(mesh), msMesh_GetTriangleCount(same));
            for (int k = 0; k < msMesh_GetTriangleCount(mesh); ++k) {
                word a[3], b[3];
                msTriangle_GetVertexIndices(msMesh_GetTriangleAt(mesh, k), a);
                msTriangle_GetVertexIndices(msMesh_GetTriangleAt(same, k), b);
                if (mirror) std::swap(b[0], b[2]);
                ASSERT_TRUE(a[0] == b[0] && a[1] == b[1] && a[2] == b[2]) << "mesh " << i << " triangle " << k;
            }
            for (int v = 0; v < vertexCount; ++v) {
                float a[2], b[2];
                msVertex_GetTexCoords(msMesh_GetVertexAt(mesh, v), a);
                msVertex_GetTexCoords(msMesh_GetVertexAt(same, v), b);
                ASSERT_TRUE(a[0] == b[0] && a[1] == b[1]) << "mesh " << i << " vertex " << v;
            }
        }
        EXPECT_EQ(defaultMesh, msModel_GetMeshCount(plain.get()));
        ++imported;
        meshes += static_cast<int>(expected.size());
        gained += fileGained;
        filesGaining += fileGained > 0 ? 1 : 0;
    }
    std::printf("corpus with the scene's transforms: %d files, %d meshes, %d placed (W not identity), %d mirrored, "
                "%d gained under animation or particle nodes in %d files\n",
                imported, meshes, placed, mirrored, gained, filesGaining);
    EXPECT_GT(imported, 0);
}

}  // namespace
