// The importer's shell: plug-in object, execute's return values, the error
// box, and the options dialog with its pickers, driven through the headless
// platform exactly as the host and the user would.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

#include "host/plugin_abi.h"
#include "importer/import_dialog.h"
#include "importer/import_plugin.h"
#include "importer/module_state.h"
#include "nif_builder/nif_builder.h"
#include "tests/importer/import_fixture.h"

namespace headless = platform::headless;

namespace {

class Plugin : public ImportTest {
protected:
    void SetUp() override {
        ImportTest::SetUp();
        std::memset(ImportFileName, 0, sizeof(ImportFileName));
    }

    // Answers the next dialog with the two fields and OK, then runs execute
    // through the host's table.
    int ExecuteWith(const std::string& file, const std::string& directory = "") {
        headless::QueueDialog({{headless::SetText(kImportFileField, file), headless::SetText(kTextureDirectoryField, directory),
                                headless::Press(platform::kIdOk)}});
        return msPlugIn_Execute(&plugin_, Model());
    }

    CNifImportPlugIn plugin_;
};

NifBuilder OneShape() {
    NifBuilder nif;
    nif.FileStart(3);
    NodeBlock(nif, "Root", {1});
    TriShapeBlock(nif, "Shape", 2);
    TriShapeDataBlock(nif, TriangleGeometry({0, 0, 0}, {1, 0, 0}, {0, 1, 0}));
    nif.Footer();
    return nif;
}

TEST_F(Plugin, IsAnImporterWithItsTitle) {
    EXPECT_EQ(msPlugIn_GetType(&plugin_), 1);
    EXPECT_STREQ(msPlugIn_GetTitle(&plugin_), "Dravelin (Version 0.03)...");
}

TEST_F(Plugin, NullModelReturnsMinusOneWithoutADialog) {
    EXPECT_EQ(msPlugIn_Execute(&plugin_, nullptr), -1);
    EXPECT_EQ(headless::DialogsRun(), 0);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(Plugin, CancelReturnsZeroAndKeepsTheLastConfirmedNames) {
    ExecuteWith("/no/such/first.nif", "first-dir");
    headless::Reset();

    headless::QueueDialog({{headless::SetText(kImportFileField, "second.nif"), headless::Press(platform::kIdCancel)}});
    EXPECT_EQ(msPlugIn_Execute(&plugin_, Model()), 0);
    EXPECT_EQ(headless::DialogsRun(), 1);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_STREQ(ImportFileName, "/no/such/first.nif");
    EXPECT_STREQ(TextureDirectory, "first-dir");
}

TEST_F(Plugin, CloseBoxCancels) {
    headless::QueueDialog({{headless::SetText(kImportFileField, "x.nif"), headless::CloseBox()}});
    EXPECT_EQ(msPlugIn_Execute(&plugin_, Model()), 0);
    EXPECT_EQ(headless::LastDialogResult(), 0);
    EXPECT_STREQ(ImportFileName, "");
}

TEST_F(Plugin, DialogThatCannotBeCreatedImportsNothing) {
    headless::DialogScript script;
    script.fail = true;
    headless::QueueDialog(script);
    EXPECT_EQ(msPlugIn_Execute(&plugin_, Model()), 0);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(MeshCount(), 0);
}

TEST_F(Plugin, FileWithAMeshReturnsZero) {
    TempNifFile file(OneShape());
    EXPECT_EQ(ExecuteWith(file.Path()), 0);
    EXPECT_EQ(MeshCount(), 1);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(Plugin, FileWithoutAMeshReturnsOne) {
    NifBuilder nif;
    nif.FileStart(1);
    NodeBlock(nif, "Bip01");
    nif.Footer();
    TempNifFile file(nif);
    EXPECT_EQ(ExecuteWith(file.Path()), 1);
    EXPECT_EQ(MeshCount(), 0);
    EXPECT_EQ(BoneCount(), 1);  // bones may still be added
}

TEST_F(Plugin, TextureDirectoryFromTheDialogReachesTheTexturePath) {
    NifBuilder nif;
    nif.FileStart(4);
    TriShapeBlock(nif, "Box", 3, -1, {1});
    TexturingPropertyBlock(nif, 2);
    SourceTextureBlock(nif, "wood.bmp", 3, 1, 3);
    TriShapeDataBlock(nif, TriangleGeometry({0, 0, 0}, {1, 0, 0}, {0, 1, 0}));
    nif.Footer();
    TempNifFile file(nif);
    ASSERT_EQ(ExecuteWith(file.Path(), "D:\\art"), 0);
    EXPECT_EQ(TexturePath(0), "D:\\art/wood.bmp");
}

TEST_F(Plugin, WrongVersionShowsTheErrorBoxAndAddsNothing) {
    NifBuilder nif;
    nif.HeaderLine().Long(0x04000003).Long(0).Footer();
    TempNifFile file(nif);
    EXPECT_EQ(ExecuteWith(file.Path()), 0);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "Unexpected Long value - was 0x04000003 (67108867) expected 0x04000002 (67108866)");
    EXPECT_EQ(Boxes()[0].caption, "NIF Import Error");
    EXPECT_EQ(MeshCount(), 0);
}

TEST_F(Plugin, EmptyFileNameCannotBeOpened) {
    EXPECT_EQ(ExecuteWith(""), 0);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "Unable to open file ''.");
    EXPECT_EQ(Boxes()[0].caption, "NIF Import Error");
}

TEST_F(Plugin, FailedImportLeavesAFilledModelUnchanged) {
    TempNifFile good(OneShape());
    ASSERT_EQ(ExecuteWith(good.Path()), 0);
    headless::Reset();

    // The same file cut in the middle of its shape data.
    NifBuilder whole = OneShape();
    std::vector<unsigned char> cut(whole.Bytes().begin(), whole.Bytes().end() - 20);
    TempNifFile bad(cut);
    EXPECT_EQ(ExecuteWith(bad.Path()), 0);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].caption, "NIF Import Error");
    EXPECT_EQ(MeshCount(), 1);
    EXPECT_EQ(MaterialCount(), 0);
    EXPECT_EQ(BoneCount(), 0);
    EXPECT_EQ(msMesh_GetVertexCount(Mesh(0)), 3);
    EXPECT_EQ(msMesh_GetTriangleCount(Mesh(0)), 1);
}

TEST_F(Plugin, DebugDumpCheckBoxChangesNothing) {
    TempNifFile file(OneShape());
    headless::QueueDialog({{headless::SetText(kImportFileField, file.Path()), headless::Press(1004),
                            headless::Press(platform::kIdOk)}});
    EXPECT_EQ(msPlugIn_Execute(&plugin_, Model()), 0);
    EXPECT_EQ(MeshCount(), 1);
    EXPECT_EQ(headless::DebugText(), "");
}

// The dialog procedure on its own.

TEST_F(Plugin, OkStoresBothFieldsCutTo999Characters) {
    const std::string longDirectory(1200, 'd');
    headless::QueueDialog({{headless::SetText(kImportFileField, "model.nif"),
                            headless::SetText(kTextureDirectoryField, longDirectory), headless::Press(platform::kIdOk)}});
    EXPECT_EQ(platform::RunModalDialog(nullptr, kImportDialogResource, &ImportDialogProcedure, 0), 1);
    EXPECT_STREQ(ImportFileName, "model.nif");
    EXPECT_EQ(std::string(TextureDirectory), std::string(999, 'd'));
    EXPECT_EQ(TextureDirectory[1000], '\0');
}

TEST_F(Plugin, EveryRunStartsWithEmptyFields) {
    std::memcpy(ImportFileName, "old.nif", 8);
    headless::QueueDialog({{headless::Press(platform::kIdOk)}});
    EXPECT_EQ(platform::RunModalDialog(nullptr, kImportDialogResource, &ImportDialogProcedure, 0), 1);
    EXPECT_STREQ(ImportFileName, "");
}

TEST_F(Plugin, FilePickerAsksForANifFileAndFillsTheNameField) {
    headless::QueuePickerAnswer(std::string("C:\\models\\picked.nif"));
    headless::QueueDialog({{headless::Press(kPickFileButton), headless::Press(platform::kIdOk)}});
    EXPECT_EQ(platform::RunModalDialog(nullptr, kImportDialogResource, &ImportDialogProcedure, 0), 1);
    EXPECT_STREQ(ImportFileName, "C:\\models\\picked.nif");

    ASSERT_EQ(headless::Pickers().size(), 1u);
    const headless::RecordedPicker& picker = headless::Pickers()[0];
    EXPECT_EQ(picker.kind, headless::RecordedPicker::kOpenFile);
    EXPECT_EQ(picker.title, "Import NIF (I hope)");
    EXPECT_EQ(picker.filter, "NIF Files (*.nif)|*.nif|");
    EXPECT_EQ(picker.defaultExtension, "nif");
    EXPECT_EQ(picker.flags, 0x00000004u | 0x00000800u | 0x00001000u);
}

TEST_F(Plugin, CancelledFilePickerLeavesTheNameField) {
    headless::QueuePickerAnswer(std::nullopt);
    headless::QueueDialog({{headless::SetText(kImportFileField, "typed.nif"), headless::Press(kPickFileButton),
                            headless::Press(platform::kIdOk)}});
    platform::RunModalDialog(nullptr, kImportDialogResource, &ImportDialogProcedure, 0);
    EXPECT_STREQ(ImportFileName, "typed.nif");
}

TEST_F(Plugin, FolderBrowserFillsTheTextureField) {
    headless::QueuePickerAnswer(std::string("C:\\textures"));
    headless::QueueDialog({{headless::Press(kPickFolderButton), headless::Press(platform::kIdOk)}});
    platform::RunModalDialog(nullptr, kImportDialogResource, &ImportDialogProcedure, 0);
    EXPECT_STREQ(TextureDirectory, "C:\\textures");
    ASSERT_EQ(headless::Pickers().size(), 1u);
    EXPECT_EQ(headless::Pickers()[0].kind, headless::RecordedPicker::kFolder);
    EXPECT_EQ(headless::Pickers()[0].title, "Texture Directory");
}

TEST_F(Plugin, ProcedureHandlesOnlyOkAndCancelCommands) {
    int dialog = 0;  // never dereferenced: these messages touch no control (initialisation
                     // ticks box 1006 and is checked with the box's tests)
    EXPECT_EQ(ImportDialogProcedure(&dialog, platform::kMessageClose, 0, 0), 0);
    EXPECT_EQ(ImportDialogProcedure(&dialog, platform::kMessageCommand, 1004, 0), 0);
    EXPECT_EQ(ImportDialogProcedure(&dialog, platform::kMessageCommand, 1005, 0), 0);
}

// What the dialog showed in box 1006 when it opened, and what initialisation answered.
struct Opening {
    bool boxTicked = false;
    intptr_t answer = -1;
};
Opening lastOpening;

intptr_t RecordingOpening(platform::DialogHandle dialog, unsigned message, uintptr_t wParam, intptr_t lParam) {
    const intptr_t answer = ImportDialogProcedure(dialog, message, wParam, lParam);
    if (message == platform::kMessageInitDialog) lastOpening = {platform::IsButtonChecked(dialog, kApplySceneTransformsBox), answer};
    return answer;
}

TEST_F(Plugin, ApplyTransformsBoxOpensAsLastConfirmedAndOnlyOkStoresIt) {
    struct Step {
        std::optional<bool> tick;  // the user's setting of the box, if any
        int ending;
        bool tickedOnOpening;
        bool storedAfter;
    };
    const Step steps[] = {
        {true, platform::kIdCancel, false, false},
        {true, platform::kIdOk, false, true},
        {std::nullopt, platform::kIdCancel, true, true},
        {std::nullopt, platform::kIdOk, true, true},
        {false, platform::kIdOk, true, false},
        {std::nullopt, platform::kIdCancel, false, false},
    };
    for (const Step& step : steps) {
        headless::DialogScript script;
        if (step.tick) script.actions.push_back(headless::SetCheck(kApplySceneTransformsBox, *step.tick));
        script.actions.push_back(headless::Press(step.ending));
        headless::QueueDialog(script);
        platform::RunModalDialog(nullptr, kImportDialogResource, &RecordingOpening, 0);
        EXPECT_EQ(lastOpening.boxTicked, step.tickedOnOpening);
        EXPECT_EQ(lastOpening.answer, 0);  // FALSE, as before the box
        EXPECT_EQ(ApplySceneTransforms, step.storedAfter);
    }
}

TEST_F(Plugin, TickedBoxPlacesTheImport) {
    NifBuilder nif;
    nif.FileStart(3);
    NodeBlock(nif, "Root", {1}, {}, -1, -1, {}, PlacedAt({0, 0, 4}));
    TriShapeBlock(nif, "Shape", 2);
    TriShapeDataBlock(nif, TriangleGeometry({0, 0, 0}, {1, 0, 0}, {0, 1, 0}));
    nif.Footer();
    TempNifFile file(nif);
    for (bool ticked : {false, true}) {
        model_ = MakeModel();
        headless::QueueDialog({{headless::SetText(kImportFileField, file.Path()),
                                headless::SetCheck(kApplySceneTransformsBox, ticked), headless::Press(platform::kIdOk)}});
        ASSERT_EQ(msPlugIn_Execute(&plugin_, Model()), 0);
        EXPECT_EQ(Vertex(0, 2), (ticked ? Float3{0, 4, -1} : Float3{0, 1, 0}));
    }
}

TEST_F(Plugin, PickerButtonsLeaveTheDialogOpen) {
    headless::QueuePickerAnswer(std::nullopt);
    headless::QueuePickerAnswer(std::nullopt);
    headless::QueueDialog({{headless::Press(kPickFileButton), headless::Press(kPickFolderButton),
                            headless::SetText(kImportFileField, "after.nif"), headless::Press(platform::kIdOk)}});
    EXPECT_EQ(platform::RunModalDialog(nullptr, kImportDialogResource, &ImportDialogProcedure, 0), 1);
    EXPECT_STREQ(ImportFileName, "after.nif");
    EXPECT_EQ(headless::Pickers().size(), 2u);
}

TEST_F(Plugin, CommandIsTakenFromTheLowSixteenBits) {
    // The high word of wParam carries the notification code.
    headless::QueueDialog({{headless::SetText(kImportFileField, "high.nif"), headless::Press((1 << 16) | platform::kIdOk)}});
    EXPECT_EQ(platform::RunModalDialog(nullptr, kImportDialogResource, &ImportDialogProcedure, 0), 1);
    EXPECT_STREQ(ImportFileName, "high.nif");
}

}  // namespace
