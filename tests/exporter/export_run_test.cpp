// The export run against the stand-in model library: the block list and
// its links, shared source textures, every message and where the run
// stops, and that a failed run leaves no file behind.
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

#include "exporter/export_messages.h"
#include "exporter/model_to_scene.h"
#include "tests/exporter/export_fixture.h"

using Strings = std::vector<std::string>;

namespace {

const Strings kOneMeshTypes = {"NiNode",         "NiZBufferProperty", "NiVertexColorProperty",
                               "NiNode",         "NiTriShape",        "NiTexturingProperty",
                               "NiSourceTexture", "NiMaterialProperty", "NiTriShapeData"};

}  // namespace

using ExportRun = ExportFixture;

TEST_F(ExportRun, OneMeshGivesNineLinkedBlocks) {
    model.AddTriangleMesh("box", model.AddMaterial("wood", "a.bmp"));
    ASSERT_EQ(Export(Output()), 1);
    EXPECT_TRUE(MessageTexts().empty());
    const scan::Scene scene = ScanOutput();
    ASSERT_TRUE(scene.complete);
    EXPECT_EQ(scan::Types(scene), kOneMeshTypes);
    const auto& b = scene.blocks;
    EXPECT_EQ(b[0].name, "Scene Root");
    EXPECT_EQ(b[0].properties, (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(b[0].children, (std::vector<int32_t>{3}));
    EXPECT_EQ(b[3].name, "box");
    EXPECT_TRUE(b[3].properties.empty());
    EXPECT_EQ(b[3].children, (std::vector<int32_t>{4}));
    EXPECT_EQ(b[4].name, "Editable Mesh");
    EXPECT_EQ(b[4].properties, (std::vector<int32_t>{5, 7}));
    EXPECT_EQ(b[4].dataLink, 8);
    EXPECT_EQ(b[5].sourceLink, 6);
    EXPECT_EQ(b[6].fileName, "a.bmp");
    EXPECT_EQ(b[7].name, "wood");
    EXPECT_EQ(b[8].vertexCount, 3);
    EXPECT_EQ(b[8].triangleCount, 1);
}

TEST_F(ExportRun, TwoMeshesWithOneTextureShareItsSourceBlock) {
    const int material = model.AddMaterial("skin", ".\\skin.bmp");
    model.AddTriangleMesh("A", material);
    model.AddTriangleMesh("B", material);
    ASSERT_EQ(Export(Output()), 1);
    const scan::Scene scene = ScanOutput();
    ASSERT_TRUE(scene.complete);
    ASSERT_EQ(scene.blocks.size(), 14u);
    const auto& b = scene.blocks;
    EXPECT_EQ(b[0].children, (std::vector<int32_t>{3, 9}));
    EXPECT_EQ(b[0].size, 130u);
    EXPECT_EQ(b[3].name, "B");
    EXPECT_EQ(b[4].properties, (std::vector<int32_t>{5, 7}));
    EXPECT_EQ(b[4].dataLink, 8);
    EXPECT_EQ(b[5].sourceLink, 6);
    EXPECT_EQ(b[6].fileName, "skin.bmp");
    EXPECT_EQ(b[9].name, "A");
    EXPECT_EQ(b[9].children, (std::vector<int32_t>{10}));
    EXPECT_EQ(b[10].properties, (std::vector<int32_t>{11, 12}));
    EXPECT_EQ(b[10].dataLink, 13);
    EXPECT_EQ(b[11].type, "NiTexturingProperty");
    EXPECT_EQ(b[11].sourceLink, 6);
    EXPECT_EQ(b[12].type, "NiMaterialProperty");
    EXPECT_EQ(b[13].type, "NiTriShapeData");
}

TEST_F(ExportRun, ThreeMeshesHangUnderTheRootLastFirst) {
    for (int i = 0; i < 3; ++i) {
        model.AddTriangleMesh("m" + std::to_string(i), model.AddMaterial("t", "t" + std::to_string(i) + ".bmp"));
    }
    ASSERT_EQ(Export(Output()), 1);
    const scan::Scene scene = ScanOutput();
    ASSERT_TRUE(scene.complete);
    ASSERT_EQ(scene.blocks.size(), 3u + 3u * 6u);
    EXPECT_EQ(scene.blocks[0].children, (std::vector<int32_t>{3, 9, 15}));
    EXPECT_EQ(scene.blocks[3].name, "m2");
    EXPECT_EQ(scene.blocks[9].name, "m1");
    EXPECT_EQ(scene.blocks[15].name, "m0");
    EXPECT_EQ(scene.blocks[6].fileName, "t2.bmp");
    EXPECT_EQ(scene.blocks[18].fileName, "t0.bmp");
    EXPECT_EQ(scene.blocks[20].type, "NiTriShapeData");
}

TEST_F(ExportRun, TextureKeysShareByExactBytes) {
    model.AddTriangleMesh("m0", model.AddMaterial("x", ".\\a.bmp"));
    model.AddTriangleMesh("m1", model.AddMaterial("y", "A.bmp"));
    model.AddTriangleMesh("m2", model.AddMaterial("z", "a.bmp"));
    ASSERT_EQ(Export(Output()), 1);
    const scan::Scene scene = ScanOutput();
    ASSERT_TRUE(scene.complete);
    // m2 (blocks 3-8) brings "a.bmp" at 6, m1 (9-14) "A.bmp" at 12, m0 (15-19) shares 6.
    ASSERT_EQ(scene.blocks.size(), 20u);
    EXPECT_EQ(scene.blocks[6].fileName, "a.bmp");
    EXPECT_EQ(scene.blocks[12].fileName, "A.bmp");
    EXPECT_EQ(scene.blocks[17].sourceLink, 6);
    EXPECT_EQ(scene.blocks[16].properties, (std::vector<int32_t>{17, 18}));
    EXPECT_EQ(scene.blocks[16].dataLink, 19);
    int sources = 0;
    for (const auto& block : scene.blocks) sources += block.type == "NiSourceTexture";
    EXPECT_EQ(sources, 2);
}

TEST_F(ExportRun, TextureKeyDropsTwoCharactersAfterALeadingFullStop) {
    EXPECT_EQ(TextureKey(".\\wood.bmp"), "wood.bmp");
    EXPECT_EQ(TextureKey("..\\wood.bmp"), "\\wood.bmp");
    EXPECT_EQ(TextureKey("."), "");
    EXPECT_EQ(TextureKey("wood.bmp"), "wood.bmp");
    EXPECT_EQ(TextureKey("C:\\art\\.hidden"), "C:\\art\\.hidden");
}

TEST_F(ExportRun, FullStopAloneGivesAnEmptyFileName) {
    model.AddTriangleMesh("m", model.AddMaterial("x", "."));
    ASSERT_EQ(Export(Output()), 1);
    const scan::Scene scene = ScanOutput();
    ASSERT_TRUE(scene.complete);
    EXPECT_EQ(scene.blocks[6].fileName, "");
    EXPECT_EQ(scene.blocks[6].size, 49u);
}

TEST_F(ExportRun, OneMaterialUsedTwiceGivesTwoEqualMaterialBlocks) {
    const int material = model.AddMaterial("shared", "a.bmp");
    model.AddTriangleMesh("A", material);
    model.AddTriangleMesh("B", material);
    ASSERT_EQ(Export(Output()), 1);
    const scan::Scene scene = ScanOutput();
    ASSERT_TRUE(scene.complete);
    const bytes::Bytes data = OutputBytes();
    const auto& first = scene.blocks[7];
    const auto& second = scene.blocks[12];
    ASSERT_EQ(first.type, "NiMaterialProperty");
    ASSERT_EQ(second.type, "NiMaterialProperty");
    EXPECT_EQ(bytes::Slice(data, first.offset, first.size), bytes::Slice(data, second.offset, second.size));
}

TEST_F(ExportRun, MaterialColoursLoseTheirFourthValue) {
    const int index = model.AddMaterial("m", "a.bmp", {0.1f, 0.2f, 0.3f, 1.0f});
    msMaterial* material = msModel_GetMaterialAt(model.get(), index);
    float ambient[4] = {0.4f, 0.5f, 0.6f, 0.0f};
    float specular[4] = {0.7f, 0.8f, 0.9f, 0.0f};
    float emissive[4] = {1.0f, 2.0f, 3.0f, 4.0f};
    msMaterial_SetAmbient(material, ambient);
    msMaterial_SetSpecular(material, specular);
    msMaterial_SetEmissive(material, emissive);
    msMaterial_SetShininess(material, 32.0f);
    msMaterial_SetTransparency(material, 0.5f);
    model.AddTriangleMesh("box", index);
    ASSERT_EQ(Export(Output()), 1);
    const scan::Scene scene = ScanOutput();
    ASSERT_TRUE(scene.complete);
    const bytes::Bytes data = OutputBytes();
    const size_t colours = scene.blocks[7].offset + 22 + 4 + 1 + 8 + 2;
    const float expected[] = {0.4f, 0.5f, 0.6f, 0.1f, 0.2f, 0.3f, 0.7f, 0.8f, 0.9f, 1.0f, 2.0f, 3.0f, 32.0f, 0.5f};
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(bytes::F32At(data, colours + 4 * i), expected[i]) << "float " << i;
    }
}

TEST_F(ExportRun, ModelWithoutMeshesStopsBeforeAnyFile) {
    model.AddMaterial("m", "a.bmp");
    EXPECT_EQ(Export(Output()), 0);
    EXPECT_EQ(MessageTexts(), Strings{"Fatal error: Model has no mesh data,\nexport aborted."});
    EXPECT_TRUE(folder.Entries().empty());
}

TEST_F(ExportRun, ModelWithoutMaterialsStopsBeforeAnyFile) {
    model.AddTriangleMesh("m", -1);
    EXPECT_EQ(Export(Output()), 0);
    EXPECT_EQ(MessageTexts(), Strings{"Fatal error: Model has no materials,\nexport aborted."});
    EXPECT_TRUE(folder.Entries().empty());
}

TEST_F(ExportRun, ModelWithNeitherReportsTheMissingMeshes) {
    EXPECT_EQ(Export(Output()), 0);
    EXPECT_EQ(MessageTexts(), Strings{"Fatal error: Model has no mesh data,\nexport aborted."});
}

TEST_F(ExportRun, MeshWithoutMaterialLeavesNoFile) {
    model.AddMaterial("unused", "a.bmp");
    model.AddTriangleMesh("m", -1);
    EXPECT_EQ(Export(Output()), 0);
    EXPECT_EQ(MessageTexts(), Strings{"Fatal error: Material has no texture"});
    EXPECT_TRUE(folder.Entries().empty());
}

TEST_F(ExportRun, MaterialIndexNamingNoMaterialIsReportedLikeNone) {
    model.AddMaterial("only", "a.bmp");
    model.AddTriangleMesh("m", 5);
    EXPECT_EQ(Export(Output()), 0);
    EXPECT_EQ(MessageTexts(), Strings{"Fatal error: Material has no texture"});
    EXPECT_TRUE(folder.Entries().empty());
}

TEST_F(ExportRun, EmptyTextureNameStops) {
    model.AddTriangleMesh("m", model.AddMaterial("m", ""));
    EXPECT_EQ(Export(Output()), 0);
    EXPECT_EQ(MessageTexts(), Strings{"No texture specified, aborting export."});
    EXPECT_TRUE(folder.Entries().empty());
}

TEST_F(ExportRun, TextureNameOf255CharactersIsInvalid) {
    model.AddTriangleMesh("m", model.AddMaterial("m", std::string(255, 't')));
    EXPECT_EQ(Export(Output()), 0);
    EXPECT_EQ(MessageTexts(), Strings{"Invalid texture filename, aborting export."});
    EXPECT_TRUE(folder.Entries().empty());
}

TEST_F(ExportRun, TextureNameOf254CharactersIsWrittenWhole) {
    const std::string name(254, 't');
    model.AddTriangleMesh("m", model.AddMaterial("m", name));
    ASSERT_EQ(Export(Output()), 1);
    const scan::Scene scene = ScanOutput();
    ASSERT_TRUE(scene.complete);
    EXPECT_EQ(scene.blocks[6].fileName, name);
}

TEST_F(ExportRun, BlockConstructorErrorsAreShownAsTheyAre) {
    struct Case {
        const char* meshName;
        int vertices;
        int triangles;
        const char* message;
    };
    const Case cases[] = {
        {"", 3, 1, "CNIF4_Node::CNIF4_Node: nodeNameLength less than 1"},
        {"m", 0, 0, "CNIF4_TriShapeData::CNIF4_TriShapeData: numVertices less than 1"},
        {"m", 3, 0, "CNIF4_TriShapeData::CNIF4_TriShapeData: numTriangles less than 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        platform::headless::Reset();
        TestModel local;
        msMesh* mesh = local.AddMesh(c.meshName, local.AddMaterial("m", "a.bmp"));
        for (int i = 0; i < c.vertices; ++i) TestModel::AddVertex(mesh, float(i), 0, 0, 0, 0);
        for (int i = 0; i < c.triangles; ++i) TestModel::AddTriangle(mesh, 0, 1, 2, 0, 0, 0);
        CNifExportPlugIn plugIn;
        plugIn.SetModel(local.get());
        plugIn.SetOutputFileName(Output());
        EXPECT_EQ(plugIn.ExportModel(), 0);
        EXPECT_EQ(MessageTexts(), Strings{c.message});
        EXPECT_TRUE(folder.Entries().empty());
    }
}

TEST_F(ExportRun, MeshBeyond65535VerticesIsRefusedNotCut) {
    msMesh* mesh = model.AddMesh("big", model.AddMaterial("m", "a.bmp"));
    for (int i = 0; i < 65536; ++i) TestModel::AddVertex(mesh, 0, 0, 0, 0, 0);
    TestModel::AddTriangle(mesh, 0, 1, 2, 0, 0, 0);
    EXPECT_EQ(Export(Output()), 0);
    EXPECT_EQ(MessageTexts(), Strings{"Mesh 'big' has more than 65535 vertices or triangles,\nexport aborted."});
    EXPECT_TRUE(folder.Entries().empty());
}

TEST_F(ExportRun, MeshBeyond65535TrianglesIsRefusedNotCut) {
    msMesh* mesh = model.AddMesh("many", model.AddMaterial("m", "a.bmp"));
    for (int i = 0; i < 3; ++i) TestModel::AddVertex(mesh, float(i), 0, 0, 0, 0);
    for (int i = 0; i < 65536; ++i) TestModel::AddTriangle(mesh, 0, 1, 2, 0, 0, 0);
    EXPECT_EQ(Export(Output()), 0);
    EXPECT_EQ(MessageTexts(), Strings{"Mesh 'many' has more than 65535 vertices or triangles,\nexport aborted."});
}

TEST_F(ExportRun, MeshOfExactly65535VerticesIsWritten) {
    msMesh* mesh = model.AddMesh("full", model.AddMaterial("m", "a.bmp"));
    for (int i = 0; i < 65535; ++i) TestModel::AddVertex(mesh, float(i), 0, 0, 0, 0);
    const int normal = TestModel::AddNormal(mesh, 0, 0, 1);
    TestModel::AddTriangle(mesh, 0, 1, 65534, normal, normal, normal);
    ASSERT_EQ(Export(Output()), 1);
    const scan::Scene scene = ScanOutput();
    ASSERT_TRUE(scene.complete);
    EXPECT_EQ(scene.blocks[8].vertexCount, 65535);
}

TEST_F(ExportRun, LaterHostMeshesAreCheckedFirst) {
    model.AddTriangleMesh("m0", -1);                                // would say "Material has no texture"
    model.AddTriangleMesh("m1", model.AddMaterial("empty", ""));    // processed first
    EXPECT_EQ(Export(Output()), 0);
    EXPECT_EQ(MessageTexts(), Strings{"No texture specified, aborting export."});
}

TEST_F(ExportRun, FailedRunLeavesAnExistingOutputExactlyAsItWas) {
    TempFolder::WriteAll(Output(), "precious");
    model.AddMaterial("unused", "a.bmp");
    model.AddTriangleMesh("m", -1);
    EXPECT_EQ(Export(Output()), 0);
    EXPECT_EQ(TempFolder::ReadAll(Output()), "precious");
    EXPECT_EQ(folder.Entries(), Strings{"out.nif"});
}

TEST_F(ExportRun, SuccessfulRunReplacesAnExistingOutput) {
    TempFolder::WriteAll(Output(), "old");
    model.AddTriangleMesh("m", model.AddMaterial("m", "a.bmp"));
    ASSERT_EQ(Export(Output()), 1);
    EXPECT_TRUE(ScanOutput().complete);
    EXPECT_EQ(folder.Entries(), Strings{"out.nif"});
}

TEST_F(ExportRun, UncreatableOutputGoesToTheDebugLogOnly) {
    model.AddTriangleMesh("m", model.AddMaterial("m", "a.bmp"));
    const std::string missing = folder.Path("no such folder/out.nif");
    TempFolder::WriteAll(DebugLogPath(), "earlier text that is replaced");
    EXPECT_EQ(Export(missing), 0);
    EXPECT_TRUE(MessageTexts().empty());
    EXPECT_EQ(TempFolder::ReadAll(DebugLogPath()), missing);
    EXPECT_TRUE(folder.Entries().empty());
}

TEST_F(ExportRun, EmptyOutputNameCannotBeCreated) {
    model.AddTriangleMesh("m", model.AddMaterial("m", "a.bmp"));
    EXPECT_EQ(Export(""), 0);
    EXPECT_TRUE(MessageTexts().empty());
    EXPECT_TRUE(TempFolder::Exists(DebugLogPath()));
    EXPECT_EQ(TempFolder::ReadAll(DebugLogPath()), "");
}

// The log's folder is open to every user: whatever sits under its name and
// is not a regular file is left alone, and nothing is written.
TEST_F(ExportRun, DebugLogIsNeverWrittenThroughALinkNorIntoAFolder) {
    model.AddTriangleMesh("m", model.AddMaterial("m", "a.bmp"));
    const std::string victim = folder.Path("victim");
    TempFolder::WriteAll(victim, "keep");
    ASSERT_EQ(symlink(victim.c_str(), DebugLogPath().c_str()), 0);
    EXPECT_EQ(Export(folder.Path("missing/out.nif")), 0);
    EXPECT_EQ(TempFolder::ReadAll(victim), "keep");
    ASSERT_EQ(unlink(DebugLogPath().c_str()), 0);
    std::filesystem::create_directory(DebugLogPath());
    EXPECT_EQ(Export(folder.Path("missing/out.nif")), 0);
    EXPECT_TRUE(std::filesystem::is_empty(DebugLogPath()));
    EXPECT_TRUE(MessageTexts().empty());
}

TEST_F(ExportRun, UnwritableDebugLogStillEndsTheRunQuietly) {
    platform::headless::SetTemporaryFolder(folder.Path("missing temp"));
    model.AddTriangleMesh("m", model.AddMaterial("m", "a.bmp"));
    EXPECT_EQ(Export(folder.Path("missing/out.nif")), 0);
    EXPECT_TRUE(MessageTexts().empty());
    EXPECT_TRUE(folder.Entries().empty());
}

TEST_F(ExportRun, ModelCheckErrorsWriteNoDebugLog) {
    EXPECT_EQ(Export(folder.Path("missing/out.nif")), 0);
    EXPECT_FALSE(TempFolder::Exists(DebugLogPath()));
}

// A file-size limit makes the operating system refuse the write part way,
// as a full disk would.
TEST_F(ExportRun, WriteFailureIsReportedAndLeavesTheOutputAlone) {
    TempFolder::WriteAll(Output(), "precious");
    model.AddTriangleMesh("m", model.AddMaterial("m", "a.bmp"));
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit tiny = saved;
    tiny.rlim_cur = 100;
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    const int result = Export(Output());
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(MessageTexts(), Strings{"Unable to write file '" + Output() + "'."});
    EXPECT_EQ(TempFolder::ReadAll(Output()), "precious");
    EXPECT_EQ(folder.Entries(), Strings{"out.nif"});
}

TEST(ExportMessages, NamesAreInsertedVerbatim) {
    EXPECT_EQ(export_messages::UnableToWriteFile("C:\\100%s.nif"), "Unable to write file 'C:\\100%s.nif'.");
    EXPECT_EQ(export_messages::MeshTooLarge("a%d"), "Mesh 'a%d' has more than 65535 vertices or triangles,\nexport aborted.");
}
