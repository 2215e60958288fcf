// dravelin.dll driven through its real dialog, the way the host and a user do.
#include "check.h"
#include "plugin_session.h"
#include "test_files.h"
#include "ui_robot.h"

using namespace wine_test;

namespace {

const char* kCaption = "Dravelin Version 0.02";
const char* kErrorCaption = "NIF Import Error";

// What a script does and what it saw, shared with the test on the plug-in's thread.
struct ImportRun {
    const char* fileName = nullptr;   // typed into field 1000 before OK
    const char* folder = nullptr;     // typed into field 1001
    const char* pickFile = nullptr;   // answer for the "..." file picker (after typing)
    const char* pickFolder = nullptr; // answer for the "..." folder browser
    bool pickFileCancel = false;
    bool pickFolderCancel = false;
    bool tickDebugDump = false;
    bool clickApplyTransforms = false;  // toggles box 1006 before the ending
    enum Ending { kOk, kCancel, kEscape, kCloseBox, kEnter } ending = kOk;
    bool expectBox = false;
    DialogSnapshot snapshot;
    char fileFieldAfterPick[1024] = {};
    char folderFieldAfterPick[1024] = {};
    MessageBoxRecord box = {};
};

void DriveImportDialog(Robot& robot) {
    auto* run = static_cast<ImportRun*>(robot.context);
    HWND dialog = robot.WaitForWindow(kCaption);
    if (!dialog) return;
    robot.Snapshot(dialog, &run->snapshot);
    if (run->fileName) robot.Type(dialog, 1000, run->fileName);
    if (run->folder) robot.Type(dialog, 1001, run->folder);
    if (run->pickFile || run->pickFileCancel) {
        robot.Click(dialog, 1002);
        robot.AnswerFilePicker("Import NIF (I hope)", dialog, run->pickFile);
        robot.ReadText(dialog, 1000, run->fileFieldAfterPick, sizeof(run->fileFieldAfterPick));
    }
    if (run->pickFolder || run->pickFolderCancel) {
        robot.Click(dialog, 1003);
        robot.AnswerFolderBrowser(dialog, run->pickFolder);
        robot.ReadText(dialog, 1001, run->folderFieldAfterPick, sizeof(run->folderFieldAfterPick));
    }
    if (run->tickDebugDump) robot.Click(dialog, 1004);
    if (run->clickApplyTransforms) robot.Click(dialog, 1006);
    switch (run->ending) {
        case ImportRun::kOk: robot.Click(dialog, 1); break;
        case ImportRun::kCancel: robot.Click(dialog, 2); break;
        case ImportRun::kEscape: robot.PressKey(dialog, 1000, VK_ESCAPE); break;
        case ImportRun::kEnter: robot.PressKey(dialog, 1000, VK_RETURN); break;
        case ImportRun::kCloseBox: robot.PressCloseBox(dialog); break;
    }
    if (!robot.WaitUntilGone(dialog)) return;
    if (run->expectBox) robot.AnswerMessageBox(&run->box);
}

struct Importer : PlugInSession {
    Importer() : PlugInSession("dravelin.dll") {}
};

// Runs one import with the dialog driven as `run` says; returns execute's result.
int RunImport(Importer& importer, ImportRun* run) { return importer.ExecuteDriven(DriveImportDialog, run); }

void NoRobot(Robot&) {}

}  // namespace

WINE_TEST(Importer, AnswersKindAndTitle) {
    Importer importer;
    if (!importer.Ready()) return Fail(__FILE__, __LINE__, "no plug-in object");
    CHECK_EQ_INT(1, importer.plugin->GetType());
    CHECK_EQ_TEXT("Dravelin (Version 0.03)...", importer.plugin->GetTitle());
}

WINE_TEST(Importer, NullModelReturnsMinusOneWithoutAWindow) {
    Importer importer;
    if (!importer.Ready()) return Fail(__FILE__, __LINE__, "no plug-in object");
    Robot robot(NoRobot, nullptr);  // any window that opens is reported as left open
    CHECK_EQ_INT(-1, importer.plugin->Execute(nullptr));
    robot.Finish();
}

WINE_TEST(Importer, DialogShowsItsControls) {
    Importer importer;
    if (!importer.Ready()) return Fail(__FILE__, __LINE__, "no plug-in object");
    ImportRun run;
    run.ending = ImportRun::kCancel;
    CHECK_EQ_INT(0, RunImport(importer, &run));
    // Both boxes start unticked; field 1005 stays disabled.
    const ExpectedControl expected[] = {
        {1, "Button", "OK", true, false},
        {2, "Button", "Cancel", true, false},
        {-1, "Static", "Filename", true, false},
        {-1, "Static", "Texture Location", true, false},
        {1000, "Edit", "", true, false},
        {1001, "Edit", "", true, false},
        {1002, "Button", "...", true, false},
        {1003, "Button", "...", true, false},
        {1004, "Button", "Produce Debug Dump", true, false},
        {1005, "Edit", "", false, false},
        {1006, "Button", "Apply scene transforms", true, false},
    };
    CheckControls(run.snapshot, kCaption, expected, sizeof(expected) / sizeof(expected[0]));
}

WINE_TEST(Importer, CancelEscapeAndCloseBoxReturnZeroAndAddNothing) {
    char path[512];
    const char* crate = ExamplePath("crate.nif", path, sizeof(path));
    if (!crate) return Skip("no --examples= folder");
    const ImportRun::Ending endings[] = {ImportRun::kCancel, ImportRun::kEscape, ImportRun::kCloseBox};
    for (ImportRun::Ending ending : endings) {
        Importer importer;
        if (!importer.Ready()) return Fail(__FILE__, __LINE__, "no plug-in object");
        ImportRun run;
        run.fileName = crate;  // a good file typed in, then the dialog is left without OK
        run.ending = ending;
        CHECK_EQ_INT(0, RunImport(importer, &run));
        CHECK_EQ_INT(0, msModel_GetMeshCount(importer.model));
        CHECK_EQ_INT(0, msModel_GetMaterialCount(importer.model));
    }
}

WINE_TEST(Importer, OkOnAGoodFileFillsTheModel) {
    char path[512];
    const char* crate = ExamplePath("crate.nif", path, sizeof(path));
    if (!crate) return Skip("no --examples= folder");
    Importer importer;
    if (!importer.Ready()) return Fail(__FILE__, __LINE__, "no plug-in object");
    ImportRun run;
    run.fileName = crate;
    CHECK_EQ_INT(0, RunImport(importer, &run));
    CHECK_EQ_INT(1, msModel_GetMeshCount(importer.model));
    CHECK_EQ_INT(1, msModel_GetMaterialCount(importer.model));
}

WINE_TEST(Importer, EnterKeyConfirmsLikeOk) {
    char path[512];
    const char* crate = ExamplePath("crate.nif", path, sizeof(path));
    if (!crate) return Skip("no --examples= folder");
    Importer importer;
    if (!importer.Ready()) return Fail(__FILE__, __LINE__, "no plug-in object");
    ImportRun run;
    run.fileName = crate;
    run.ending = ImportRun::kEnter;
    CHECK_EQ_INT(0, RunImport(importer, &run));
    CHECK_EQ_INT(1, msModel_GetMeshCount(importer.model));
}

WINE_TEST(Importer, DebugDumpBoxChangesNothing) {
    char path[512];
    const char* arm = ExamplePath("skinned_arm.nif", path, sizeof(path));
    if (!arm) return Skip("no --examples= folder");
    Importer plain;
    Importer ticked;
    if (!plain.Ready() || !ticked.Ready()) return Fail(__FILE__, __LINE__, "no plug-in object");
    ImportRun plainRun;
    plainRun.fileName = arm;
    ImportRun tickedRun;
    tickedRun.fileName = arm;
    tickedRun.tickDebugDump = true;
    CHECK_EQ_INT(RunImport(plain, &plainRun), RunImport(ticked, &tickedRun));
    CHECK_EQ_INT(msModel_GetMeshCount(plain.model), msModel_GetMeshCount(ticked.model));
    CHECK_EQ_INT(msModel_GetMaterialCount(plain.model), msModel_GetMaterialCount(ticked.model));
    CHECK_EQ_INT(msModel_GetBoneCount(plain.model), msModel_GetBoneCount(ticked.model));
    CHECK(msModel_GetBoneCount(ticked.model) > 0);
}

// The box opens as last confirmed with OK for as long as the library stays
// loaded; Cancel leaves what it remembers.
WINE_TEST(Importer, ApplyTransformsBoxOpensAsLastConfirmed) {
    char path[512];
    const char* crate = ExamplePath("crate.nif", path, sizeof(path));
    if (!crate) return Skip("no --examples= folder");
    Importer importer;
    if (!importer.Ready()) return Fail(__FILE__, __LINE__, "no plug-in object");
    struct Step {
        bool click;
        ImportRun::Ending ending;
        bool checkedOnOpening;
    };
    const Step steps[] = {
        {true, ImportRun::kCancel, false},  // ticked, then cancelled: not remembered
        {true, ImportRun::kOk, false},      // ticked and confirmed
        {false, ImportRun::kCancel, true},  // opens ticked
        {true, ImportRun::kOk, true},       // cleared and confirmed
        {false, ImportRun::kCancel, false},
    };
    for (const Step& step : steps) {
        ImportRun run;
        run.fileName = crate;
        run.clickApplyTransforms = step.click;
        run.ending = step.ending;
        RunImport(importer, &run);
        const ControlRecord* box = run.snapshot.Find(1006);
        CHECK(box != nullptr);
        if (box) CHECK_EQ_INT(step.checkedOnOpening, box->checked);
    }
}

WINE_TEST(Importer, NodeOnlyFileReturnsOne) {
    char path[512];
    const char* file = WorkPath("node_only.nif", path, sizeof(path));
    if (!file || !WriteNodeOnlyNif(file)) return Fail(__FILE__, __LINE__, "cannot write the node-only file");
    Importer importer;
    if (!importer.Ready()) return Fail(__FILE__, __LINE__, "no plug-in object");
    ImportRun run;
    run.fileName = file;
    CHECK_EQ_INT(1, RunImport(importer, &run));
    CHECK_EQ_INT(0, msModel_GetMeshCount(importer.model));
}

WINE_TEST(Importer, WrongVersionShowsTheErrorBoxAndLeavesTheModel) {
    char path[512];
    const char* file = WorkPath("wrong_version.nif", path, sizeof(path));
    if (!file || !WriteNifWithVersion(file, 0x04000001)) return Fail(__FILE__, __LINE__, "cannot write the file");
    Importer importer;
    if (!importer.Ready()) return Fail(__FILE__, __LINE__, "no plug-in object");
    msModel_AddMesh(importer.model);  // a model that already holds something
    ImportRun run;
    run.fileName = file;
    run.expectBox = true;
    CHECK_EQ_INT(0, RunImport(importer, &run));
    CHECK_EQ_TEXT(kErrorCaption, run.box.caption);
    CHECK_EQ_TEXT("Unexpected Long value - was 0x04000001 (67108865) expected 0x04000002 (67108866)", run.box.text);
    CHECK_EQ_INT(1, msModel_GetMeshCount(importer.model));
    CHECK_EQ_INT(0, msModel_GetMaterialCount(importer.model));
}

WINE_TEST(Importer, MissingFileShowsUnableToOpen) {
    char path[512];
    const char* file = WorkPath("no such file.nif", path, sizeof(path));
    if (!file) return;
    Importer importer;
    if (!importer.Ready()) return Fail(__FILE__, __LINE__, "no plug-in object");
    ImportRun run;
    run.fileName = file;
    run.expectBox = true;
    CHECK_EQ_INT(0, RunImport(importer, &run));
    char expected[700];
    wsprintfA(expected, "Unable to open file '%s'.", file);
    CHECK_EQ_TEXT(kErrorCaption, run.box.caption);
    CHECK_EQ_TEXT(expected, run.box.text);
    CHECK_EQ_INT(0, msModel_GetMeshCount(importer.model));
}

WINE_TEST(Importer, FilePickerPutsThePathIntoTheField) {
    char path[512];
    const char* crate = ExamplePath("crate.nif", path, sizeof(path));
    if (!crate) return Skip("no --examples= folder");
    Importer importer;
    if (!importer.Ready()) return Fail(__FILE__, __LINE__, "no plug-in object");
    ImportRun run;
    run.pickFile = crate;
    run.ending = ImportRun::kOk;  // the picked file is then imported
    CHECK_EQ_INT(0, RunImport(importer, &run));
    CHECK_EQ_TEXT(crate, run.fileFieldAfterPick);
    CHECK_EQ_INT(1, msModel_GetMeshCount(importer.model));
}

WINE_TEST(Importer, FilePickerCancelLeavesTheField) {
    Importer importer;
    if (!importer.Ready()) return Fail(__FILE__, __LINE__, "no plug-in object");
    ImportRun run;
    run.fileName = "typed.nif";
    run.pickFileCancel = true;
    run.ending = ImportRun::kCancel;
    CHECK_EQ_INT(0, RunImport(importer, &run));
    CHECK_EQ_TEXT("typed.nif", run.fileFieldAfterPick);
}

WINE_TEST(Importer, FolderBrowserPutsThePathIntoTheField) {
    Importer importer;
    if (!importer.Ready()) return Fail(__FILE__, __LINE__, "no plug-in object");
    ImportRun run;
    run.pickFolder = "C:\\windows";
    run.ending = ImportRun::kCancel;
    CHECK_EQ_INT(0, RunImport(importer, &run));
    CHECK_EQ_TEXT("C:\\windows", run.folderFieldAfterPick);
}

WINE_TEST(Importer, FolderBrowserCancelLeavesTheField) {
    Importer importer;
    if (!importer.Ready()) return Fail(__FILE__, __LINE__, "no plug-in object");
    ImportRun run;
    run.folder = "textures here";
    run.pickFolderCancel = true;
    run.ending = ImportRun::kCancel;
    CHECK_EQ_INT(0, RunImport(importer, &run));
    CHECK_EQ_TEXT("textures here", run.folderFieldAfterPick);
}

// The dialog template is taken from the library's own module, whatever file
// name the host loaded it under.
WINE_TEST(Importer, RenamedLibraryStillShowsItsDialog) {
    char source[600] = {};
    const DWORD length = GetModuleFileNameA(nullptr, source, 512);
    char* slash = length > 0 && length < 512 ? strrchr(source, '\\') : nullptr;
    if (!slash) return Fail(__FILE__, __LINE__, "no path of the test host");
    strcpy(slash + 1, "dravelin.dll");
    char renamed[600] = {};
    if (!WorkPath("NifImportRenamed.dll", renamed, sizeof(renamed))) return;
    DWORD size = 0;
    unsigned char* bytes = ReadWholeFile(source, &size);
    const bool copied = bytes && WriteWholeFile(renamed, bytes, size);
    free(bytes);
    if (!copied) return Fail(__FILE__, __LINE__, "cannot copy %s to %s", source, renamed);
    {
        PlugInSession renamedImporter(renamed);
        if (renamedImporter.Ready()) {
            ImportRun run;
            run.ending = ImportRun::kCancel;
            CHECK_EQ_INT(0, renamedImporter.ExecuteDriven(DriveImportDialog, &run));
            CHECK_EQ_TEXT(kCaption, run.snapshot.caption);
        } else {
            Fail(__FILE__, __LINE__, "no plug-in object from the renamed library");
        }
    }
    DeleteFileA(renamed);
}

// Field 1000 is read with a limit of 1000 characters including the terminator.
WINE_TEST(Importer, LongFileNameIsCutTo999Characters) {
    static char typed[1201];
    memset(typed, 'a', 1200);
    typed[1200] = '\0';
    static char expected[1100];
    strcpy(expected, "Unable to open file '");
    strncat(expected, typed, 999);
    strcat(expected, "'.");
    Importer importer;
    if (!importer.Ready()) return Fail(__FILE__, __LINE__, "no plug-in object");
    ImportRun run;
    run.fileName = typed;
    run.expectBox = true;
    CHECK_EQ_INT(0, RunImport(importer, &run));
    CHECK_EQ_TEXT(kErrorCaption, run.box.caption);
    CHECK_EQ_TEXT(expected, run.box.text);
}
