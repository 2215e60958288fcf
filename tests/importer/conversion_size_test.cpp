// A file whose shapes are shared level after level describes a model far
// larger than the file: the import refuses it before touching the model.
#include <gtest/gtest.h>

#include "importer/convert/conversion_size.h"
#include "importer/nif/debug_printer.h"
#include "importer/nif/nif_file.h"
#include "importer/nif/qiv_stream.h"
#include "importer/nif/text_exception.h"
#include "nif_builder/nif_builder.h"
#include "tests/importer/import_fixture.h"


namespace {

constexpr char kTooLarge[] =
    "Scene too large to import (more than 16777216 meshes, materials, bones, vertices and triangles).";

// `levels` nodes, each listing the next one twice, then one textured shape
// of `vertices` vertices in a fan of vertices - 2 triangles: the walk arrives
// at the shape 2^(levels - 1) times. The root is named Bip01, so it is a bone.
NifBuilder SharedLevels(int levels, int vertices) {
    NifBuilder nif;
    nif.FileStart(levels + 4);
    for (int level = 0; level < levels; ++level) {
        const int next = level + 1;
        if (level == levels - 1) {
            NodeBlock(nif, level == 0 ? "Bip01" : "Level", {next});
        } else {
            NodeBlock(nif, level == 0 ? "Bip01" : "Level", {next, next});
        }
    }
    const int shape = levels;
    TriShapeBlock(nif, "Leaf", shape + 1, -1, {shape + 2});
    Geometry geometry;
    for (int i = 0; i < vertices; ++i) geometry.vertices.push_back({float(i), 0, 0});
    for (int i = 1; i + 1 < vertices; ++i) geometry.triangles.insert(geometry.triangles.end(), {0, i, i + 1});
    TriShapeDataBlock(nif, geometry);
    TexturingPropertyBlock(nif, shape + 3);
    SourceTextureBlock(nif, "leaf.bmp", 3, 1, 3);
    nif.Footer();
    return nif;
}

using ConversionSize = ImportTest;

TEST_F(ConversionSize, CountMatchesWhatTheImportAdds) {
    const NifBuilder nif = SharedLevels(6, 5);  // 32 arrivals at a 5-vertex, 3-triangle shape

    DebugPrinter printer;
    Qiv_Stream stream(&printer);
    stream.OpenBytes(nif.Data(), nif.Size(), "shared");
    NifFile file(&stream);
    const long long counted = CountConvertedItems(file.GetRoot(), kMaxConvertedItems);

    ASSERT_EQ(Import(nif), 0);
    long long added = MaterialCount() + BoneCount();
    for (int m = 0; m < MeshCount(); ++m) {
        added += 1 + msMesh_GetVertexCount(Mesh(m)) + msMesh_GetTriangleCount(Mesh(m));
    }
    EXPECT_EQ(MeshCount(), 32);
    EXPECT_EQ(counted, 32 * (1 + 1 + 5 + 3) + 1);
    EXPECT_EQ(counted, added);
}

TEST_F(ConversionSize, CountingStopsSoonAfterTheLimit) {
    const NifBuilder nif = SharedLevels(10, 5);  // 512 arrivals of 10 items each
    DebugPrinter printer;
    Qiv_Stream stream(&printer);
    stream.OpenBytes(nif.Data(), nif.Size(), "shared");
    NifFile file(&stream);
    EXPECT_EQ(CountConvertedItems(file.GetRoot(), 1LL << 40), 512 * 10 + 1);
    const long long stopped = CountConvertedItems(file.GetRoot(), 100);
    EXPECT_GT(stopped, 100);
    EXPECT_LE(stopped, 100 + 10);
}

TEST_F(ConversionSize, SharedShapesBeyondTheBound_fail) {
    // 2^17 arrivals (within the load's visit bound) at a shape of 200 items.
    const NifBuilder nif = SharedLevels(18, 101);
    msModel_AddMesh(Model());  // the model already holds a mesh: it must keep just that
    try {
        Import(nif);
        FAIL() << "the import should have been refused";
    } catch (const TextException& error) {
        EXPECT_EQ(error.Text(), kTooLarge);
    }
    EXPECT_EQ(MeshCount(), 1);
    EXPECT_EQ(MaterialCount(), 0);
    EXPECT_EQ(BoneCount(), 0);
    EXPECT_EQ(platform::headless::DebugText(), std::string(kTooLarge) + "\n");
}

}  // namespace
