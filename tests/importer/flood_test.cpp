// Small files that ask for a flood of boxes or debug lines: one run shows each
// distinct box once and writes at most 1,000 debug lines, then says how many
// of each it held back. The runs go through Execute, as the host makes them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/plugin_abi.h"
#include "importer/import_dialog.h"
#include "importer/import_plugin.h"
#include "nif_builder/nif_builder.h"
#include "tests/importer/import_fixture.h"

namespace {

namespace headless = platform::headless;

using Flood = ImportTest;

// A node whose children list names block `child` `times` times.
void NodeNamingOneChild(NifBuilder& nif, const std::string& name, int32_t child, int times) {
    nif.TypeName("NiNode");
    ObjectHead(nif, name);
    nif.Long(0).Long(times);
    for (int i = 0; i < times; ++i) nif.Long(child);
    nif.LinkList({});
}

// Runs the importer's Execute on the builder's file with the dialog confirmed.
int Execute(msModel* model, const NifBuilder& nif) {
    TempNifFile file(nif);
    headless::QueueDialog({{headless::SetText(kImportFileField, file.Path()), headless::Press(platform::kIdOk)}});
    CNifImportPlugIn plugin;
    return msPlugIn_Execute(&plugin, model);
}

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

// A skinned shape reached 1,000 times through the root, whose skin names an
// animation node for each of its 100 bones: every arrival hands each bone
// record to a node that answers with the "SetBoneData - ARGH" box.
TEST_F(Flood, BoneRecordsReachedThroughANodeShowTheirBoxOnce) {
    NifBuilder nif;
    nif.FileStart(5);
    NodeNamingOneChild(nif, "Root", 1, 1000);
    TriShapeBlock(nif, "Skinned", -1, 2);
    nif.TypeName("NiSkinInstance").Long(3).Long(-1).Long(100);
    for (int i = 0; i < 100; ++i) nif.Long(4);
    SkinDataBlock(nif, std::vector<BoneRecord>(100));
    OtherNodeBlock(nif, "NiBSAnimationNode", "Animated", {});
    nif.Footer();

    EXPECT_EQ(Execute(Model(), nif), 0);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].caption, "SetBoneData - ARGH");
    EXPECT_EQ(Boxes()[0].text, "NiBSAnimationNode");
    EXPECT_EQ(headless::DebugText(), "99999 repeated message boxes not shown\n");
    // Held-back boxes ask for no pause; the summary line is two writes.
    EXPECT_EQ(headless::PauseMilliseconds(), 2u);
    EXPECT_EQ(MeshCount(), 1000);
}

// 1,500 shapes sharing one data block with a triangle that names a missing
// vertex: one "Skipped" line per shape, of which the first 1,000 are written.
TEST_F(Flood, SkippedTriangleLinesStopAtAThousand) {
    constexpr int kShapes = 1500;
    NifBuilder nif;
    nif.FileStart(kShapes + 2);
    nif.TypeName("NiNode");
    ObjectHead(nif, "Root");
    nif.Long(0).Long(kShapes);
    for (int i = 0; i < kShapes; ++i) nif.Long(2 + i);
    nif.LinkList({});
    Geometry bad = TriangleGeometry({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
    bad.triangles = {0, 1, 2, 0, 1, 7};
    TriShapeDataBlock(nif, bad);
    for (int i = 0; i < kShapes; ++i) TriShapeBlock(nif, "P" + std::to_string(i), 1);
    nif.Footer();

    EXPECT_EQ(Execute(Model(), nif), 0);
    EXPECT_TRUE(Boxes().empty());
    std::vector<std::string> expected;
    for (int i = 0; i < 1000; ++i) {
        expected.push_back("Skipped 1 triangles of shape 'P" + std::to_string(i) + "' that name missing vertices");
    }
    expected.push_back("500 further debug lines not shown");
    EXPECT_EQ(headless::DebugText(), Lines(expected));
    // Two writes per written line and per summary line; none for the 500 held back.
    EXPECT_EQ(headless::PauseMilliseconds(), 2u * 1001u);
    EXPECT_EQ(MeshCount(), kShapes);
}

// A shape whose data link names its own parent node, reached 2,000 times: each
// arrival asks the node for a vertex count ("GetNumberVertexes" / "ARGH").
// 1,200 more shapes with a bad triangle push the debug lines over the cap, so
// both summary lines are written, boxes first.
TEST_F(Flood, WrongTypeQuestionsAndLinesEndWithBothSummaries) {
    constexpr int kLineShapes = 1200;
    NifBuilder nif;
    nif.FileStart(kLineShapes + 4);
    nif.TypeName("NiNode");
    ObjectHead(nif, "Root");
    nif.Long(0).Long(kLineShapes + 1);
    nif.Long(1);
    for (int i = 0; i < kLineShapes; ++i) nif.Long(4 + i);
    nif.LinkList({});
    NodeNamingOneChild(nif, "Repeater", 2, 2000);
    TriShapeBlock(nif, "Asks", 1);
    Geometry bad = TriangleGeometry({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
    bad.triangles = {0, 1, 9};
    TriShapeDataBlock(nif, bad);
    for (int i = 0; i < kLineShapes; ++i) TriShapeBlock(nif, "L", 3);
    nif.Footer();

    EXPECT_EQ(Execute(Model(), nif), 0);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].caption, "ARGH");
    EXPECT_EQ(Boxes()[0].text, "GetNumberVertexes");
    std::vector<std::string> expected = {"Wanted TriShapeData, but got: NiNode"};
    for (int i = 0; i < 999; ++i) expected.push_back("Skipped 1 triangles of shape 'L' that name missing vertices");
    expected.push_back("1999 repeated message boxes not shown");
    expected.push_back("201 further debug lines not shown");
    EXPECT_EQ(headless::DebugText(), Lines(expected));
}

// Boxes that differ in caption or text are all shown, in their order; the
// same box in a later run is shown again.
TEST_F(Flood, DistinctBoxesAreAllShownAndEachRunStartsAfresh) {
    NifBuilder nif;
    nif.FileStart(5);
    NodeBlock(nif, "Root", {1, 2, 1, 2});
    TriShapeBlock(nif, "A", 3);                // data of the wrong type: "GetNumberVertexes"
    TriShapeBlock(nif, "B", -1, -1, {4});          // base texture of the wrong type: "getFileName"
    OtherNodeBlock(nif, "NiBSParticleNode", "Wrong", {});
    TexturingPropertyBlock(nif, 3);
    nif.Footer();

    for (int run = 0; run < 2; ++run) {
        headless::Reset();
        EXPECT_EQ(Execute(Model(), nif), 0);
        ASSERT_EQ(Boxes().size(), 2u) << "run " << run;
        EXPECT_EQ(Boxes()[0].text, "GetNumberVertexes");
        EXPECT_EQ(Boxes()[1].text, "getFileName");
        EXPECT_EQ(Boxes()[1].caption, "ARGH");
        EXPECT_EQ(headless::DebugText(),
                  "Wanted TriShapeData, but got: NiBSParticleNode\n"
                  "Wanted SourceTexture, but got: NiBSParticleNode\n"
                  "2 repeated message boxes not shown\n");
    }
}

}  // namespace
