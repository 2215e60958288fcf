// The report JSON and the --summary account of a plug-in run.
#include <gtest/gtest.h>

#include <string>

#include "host/msLib.h"
#include "mshost/model/model_control.h"
#include "mshost/plugins/run_report.h"

namespace {

using Lines = std::vector<std::string>;

TEST(SplitLines, SplitsAtLineFeedsAndKeepsAnUnterminatedLastPiece) {
    EXPECT_EQ(mshost::SplitLines(""), Lines{});
    EXPECT_EQ(mshost::SplitLines("a\nb"), (Lines{"a", "b"}));
    EXPECT_EQ(mshost::SplitLines("a\nb\n"), (Lines{"a", "b"}));
    EXPECT_EQ(mshost::SplitLines("\n\nx"), (Lines{"", "", "x"}));
    EXPECT_EQ(mshost::SplitLines("a\r\n"), Lines{"a\r"});
}

mshost::PlugInRun SampleRun() {
    mshost::PlugInRun run;
    run.kind = 1;
    run.title = "Dravelin (Version 0.03)...";
    run.execute = 0;
    run.messages.push_back({"Unable to open file 'x.nif'.", std::string("NIF Import Error")});
    run.messages.push_back({"Mesh 'a' has more\nlines", std::nullopt});
    run.debugText = "first\nsecond";
    run.destroyed = 1;
    return run;
}

TEST(ReportJson, WritesEveryFieldInOrderWithNullForTheDefaultCaption) {
    EXPECT_EQ(mshost::ReportJsonText(SampleRun(), nullptr),
              "{\n"
              "  \"kind\": 1,\n"
              "  \"title\": \"Dravelin (Version 0.03)...\",\n"
              "  \"execute\": 0,\n"
              "  \"messages\": [\n"
              "    {\"caption\": \"NIF Import Error\", \"text\": \"Unable to open file 'x.nif'.\"},\n"
              "    {\"caption\": null, \"text\": \"Mesh 'a' has more\\u000alines\"}\n"
              "  ],\n"
              "  \"debug\": [\n"
              "    \"first\",\n"
              "    \"second\"\n"
              "  ],\n"
              "  \"destroyed\": 1\n"
              "}\n");
}

TEST(ReportJson, AddsTheModelWhenGivenOne) {
    mshost::PlugInRun run;
    ModelPtr model = MakeModel();
    EXPECT_EQ(mshost::ReportJsonText(run, model.get()),
              "{\n"
              "  \"kind\": 0,\n"
              "  \"title\": \"\",\n"
              "  \"execute\": 0,\n"
              "  \"messages\": [],\n"
              "  \"debug\": [],\n"
              "  \"destroyed\": 0,\n"
              "  \"model\": {\n"
              "    \"meshes\": [],\n"
              "    \"materials\": [],\n"
              "    \"bones\": []\n"
              "  }\n"
              "}\n");
}

TEST(Summary, ListsMeshesMaterialsBonesAndMessageBoxes) {
    ModelPtr model = MakeModel();
    msMesh* mesh = msModel_GetMeshAt(model.get(), msModel_AddMesh(model.get()));
    msMesh_SetName(mesh, "Box");
    msMesh_SetMaterialIndex(mesh, 0);
    msMesh_AddVertex(mesh);
    msMesh_AddTriangle(mesh);
    msMesh_AddTriangle(mesh);
    msMesh_SetName(msModel_GetMeshAt(model.get(), msModel_AddMesh(model.get())), "Empty");
    msMaterial* material = msModel_GetMaterialAt(model.get(), msModel_AddMaterial(model.get()));
    msMaterial_SetName(material, "Wood");
    msMaterial_SetDiffuseTexture(material, "tex\\crate.bmp");
    msMaterial_SetName(msModel_GetMaterialAt(model.get(), msModel_AddMaterial(model.get())), "Plain");
    msBone_SetName(msModel_GetBoneAt(model.get(), msModel_AddBone(model.get())), "Bip01");
    msBone* arm = msModel_GetBoneAt(model.get(), msModel_AddBone(model.get()));
    msBone_SetName(arm, "Arm");
    msBone_SetParentName(arm, "Bip01");

    EXPECT_EQ(mshost::SummaryText(SampleRun(), model.get()),
              "plug-in: \"Dravelin (Version 0.03)...\" (kind 1)\n"
              "execute: 0\n"
              "meshes: 2\n"
              "  0 \"Box\": 1 vertex, 2 triangles, material 0\n"
              "  1 \"Empty\": 0 vertices, 0 triangles, no material\n"
              "materials: 2\n"
              "  0 \"Wood\": texture \"tex\\\\crate.bmp\"\n"
              "  1 \"Plain\": no texture\n"
              "bones: 2\n"
              "  0 \"Bip01\": no parent\n"
              "  1 \"Arm\": parent \"Bip01\"\n"
              "message boxes: 2\n"
              "  \"NIF Import Error\": \"Unable to open file 'x.nif'.\"\n"
              "  (default caption): \"Mesh 'a' has more\\u000alines\"\n"
              "debug output: 2 lines\n");
}

}  // namespace
