// korbastel.dll driven through its real dialog, the way the host and a user do.
#include "check.h"
#include "plugin_session.h"
#include "test_files.h"
#include "ui_robot.h"

using namespace wine_test;

namespace {

const char* kCaption = "Korbastel";
const char* kSaveCaption = "Export NetImmerse NIF v4";

struct ExportRun {
    const char* fileName = nullptr;  // typed into field 1000
    bool browse = false;
    const char* browseAnswer = nullptr;  // typed into the save dialog; null cancels it
    int browseFilter = 0;                // file type chosen there first (1-based)
    bool tickFileNamesOnly = false;      // clicks "Texture file names only"
    enum Ending { kOk, kCancel, kEscape, kCloseBox, kEnter } ending = kOk;
    bool expectBox = false;  // a message box shows while the dialog is still open
    DialogSnapshot snapshot;
    MessageBoxRecord box = {};
    char fieldAfterBrowse[1024] = {};
};

void DriveExportDialog(Robot& robot) {
    auto* run = static_cast<ExportRun*>(robot.context);
    HWND dialog = robot.WaitForWindow(kCaption);
    if (!dialog) return;
    robot.Snapshot(dialog, &run->snapshot);
    if (run->fileName) robot.Type(dialog, 1000, run->fileName);
    if (run->tickFileNamesOnly) robot.Click(dialog, 1009);
    if (run->browse) {
        robot.Click(dialog, 1001);
        robot.AnswerFilePicker(kSaveCaption, dialog, run->browseAnswer, run->browseFilter);
        robot.ReadText(dialog, 1000, run->fieldAfterBrowse, sizeof(run->fieldAfterBrowse));
    }
    switch (run->ending) {
        case ExportRun::kOk: robot.Click(dialog, 1); break;
        case ExportRun::kCancel: robot.Click(dialog, 2); break;
        case ExportRun::kEscape: robot.PressKey(dialog, 1000, VK_ESCAPE); break;
        case ExportRun::kEnter: robot.PressKey(dialog, 1000, VK_RETURN); break;
        case ExportRun::kCloseBox: robot.PressCloseBox(dialog); break;
    }
    if (run->expectBox) robot.AnswerMessageBox(&run->box, dialog);
    robot.WaitUntilGone(dialog);
}

struct Exporter : PlugInSession {
    Exporter() : PlugInSession("korbastel.dll") {}
};

int RunExport(Exporter& exporter, ExportRun* run) { return exporter.ExecuteDriven(DriveExportDialog, run); }

// Fills `model` by importing `file` with dravelin.dll through its dialog,
// with `textures` as the texture folder when given.
bool ImportInto(msModel* model, const char* file, const char* textures = nullptr);

struct ImportAnswer {
    const char* file;
    const char* textures;
};

void AnswerImportDialog(Robot& robot) {
    auto* answer = static_cast<ImportAnswer*>(robot.context);
    HWND dialog = robot.WaitForWindow("Dravelin Version 0.02");
    if (!dialog) return;
    robot.Type(dialog, 1000, answer->file);
    if (answer->textures) robot.Type(dialog, 1001, answer->textures);
    robot.Click(dialog, 1);
    robot.WaitUntilGone(dialog);
}

bool ImportInto(msModel* model, const char* file, const char* textures) {
    PlugInSession importer("dravelin.dll");
    if (!importer.Ready()) return false;
    ImportAnswer answer = {file, textures};
    return importer.ExecuteDriven(AnswerImportDialog, &answer, model) == 0;
}

void NoRobot(Robot&) {}

bool Contains(const unsigned char* data, DWORD size, const char* text, DWORD length) {
    for (DWORD at = 0; at + length <= size; ++at) {
        if (memcmp(data + at, text, length) == 0) return true;
    }
    return false;
}

}  // namespace

WINE_TEST(Exporter, AnswersKindAndTitle) {
    Exporter exporter;
    if (!exporter.Ready()) return Fail(__FILE__, __LINE__, "no plug-in object");
    CHECK_EQ_INT(2, exporter.plugin->GetType());
    CHECK_EQ_TEXT("Korbastel <ALPHA>", exporter.plugin->GetTitle());
}

WINE_TEST(Exporter, NullModelReturnsMinusOneWithoutAWindow) {
    Exporter exporter;
    if (!exporter.Ready()) return Fail(__FILE__, __LINE__, "no plug-in object");
    Robot robot(NoRobot, nullptr);
    CHECK_EQ_INT(-1, exporter.plugin->Execute(nullptr));
    robot.Finish();
}

WINE_TEST(Exporter, DialogShowsItsControls) {
    Exporter exporter;
    if (!exporter.Ready()) return Fail(__FILE__, __LINE__, "no plug-in object");
    ExportRun run;
    run.ending = ExportRun::kCancel;
    CHECK_EQ_INT(-1, RunExport(exporter, &run));
    const ExpectedControl expected[] = {
        {1, "Button", "OK", true, false},
        {2, "Button", "Cancel", true, false},
        {1000, "Edit", "", true, false},
        {1001, "Button", "Browse", true, false},
        {-1, "Button", "Textures", true, false},
        {1003, "Button", "Include textures in file", false, false},
        {1002, "Button", "Use original textures", true, true},
        {1004, "Button", "Export textures to external nif", false, false},
        {-1, "Static", "File name:", true, false},
        {-1, "Button", "Animation", true, false},
        {1005, "Button", "Include animation", false, true},
        {1006, "Button", "Strip animation", false, false},
        {-1, "Button", "Plugin Info", true, false},
        {1008, "Static", "ALPHA 2.4", true, false},
        {-1, "Static", "Version:", true, false},
        {-1, "Static", "NIF v4 export", true, false},
        {1009, "Button", "Texture file names only", true, false},
    };
    CheckControls(run.snapshot, kCaption, expected, sizeof(expected) / sizeof(expected[0]));
}

WINE_TEST(Exporter, CancelEscapeAndCloseBoxReturnMinusOneAndKeepTheModel) {
    char path[512];
    const char* out = WorkPath("never_written.nif", path, sizeof(path));
    if (!out) return;
    const ExportRun::Ending endings[] = {ExportRun::kCancel, ExportRun::kEscape, ExportRun::kCloseBox};
    for (ExportRun::Ending ending : endings) {
        Exporter exporter;
        if (!exporter.Ready()) return Fail(__FILE__, __LINE__, "no plug-in object");
        msModel_AddMesh(exporter.model);
        ExportRun run;
        run.fileName = out;
        run.ending = ending;
        CHECK_EQ_INT(-1, RunExport(exporter, &run));
        CHECK_EQ_INT(0, msModel_GetDestroyCount(exporter.model));
        CHECK_EQ_INT(1, msModel_GetMeshCount(exporter.model));
        CHECK(!FileExists(out));
    }
}

WINE_TEST(Exporter, OkWithAnEmptyNameReturnsMinusOne) {
    char path[512];
    const char* crate = ExamplePath("crate.nif", path, sizeof(path));
    if (!crate) return Skip("no --examples= folder");
    Exporter exporter;
    if (!exporter.Ready()) return Fail(__FILE__, __LINE__, "no plug-in object");
    if (!BuiltNextToHost("dravelin.dll")) return Skip("dravelin.dll is not built: no model to export");
    if (!ImportInto(exporter.model, crate)) return Fail(__FILE__, __LINE__, "import of %s failed", crate);
    ExportRun run;  // nothing typed: the field stays empty
    CHECK_EQ_INT(-1, RunExport(exporter, &run));
    CHECK_EQ_INT(0, msModel_GetDestroyCount(exporter.model));
    CHECK_EQ_INT(1, msModel_GetMeshCount(exporter.model));
}

WINE_TEST(Exporter, SuccessfulExportWritesWhatTheNativeBuildWrites) {
    char cratePath[512];
    char outPath[512];
    const char* crate = ExamplePath("crate.nif", cratePath, sizeof(cratePath));
    if (!crate) return Skip("no --examples= folder");
    const char* out = WorkPath("crate_export.nif", outPath, sizeof(outPath));
    if (!out) return;
    Exporter exporter;
    if (!exporter.Ready()) return Fail(__FILE__, __LINE__, "no plug-in object");
    if (!BuiltNextToHost("dravelin.dll")) return Skip("dravelin.dll is not built: no model to export");
    if (!ImportInto(exporter.model, crate)) return Fail(__FILE__, __LINE__, "import of %s failed", crate);
    ExportRun run;
    run.fileName = out;
    CHECK_EQ_INT(0, RunExport(exporter, &run));
    CHECK_EQ_INT(1, msModel_GetDestroyCount(exporter.model));
    CHECK_EQ_INT(0, msModel_GetMeshCount(exporter.model));  // destroyed: emptied by the host library

    DWORD size = 0;
    unsigned char* written = ReadWholeFile(out, &size);
    CHECK(written != nullptr);
    const char* nativePath = Option("native-export");
    if (!nativePath) {
        Skip("no --native-export= file to compare with");
    } else if (written) {
        DWORD nativeSize = 0;
        unsigned char* native = ReadWholeFile(nativePath, &nativeSize);
        CHECK(native != nullptr);
        if (native) {
            CHECK_EQ_INT(nativeSize, size);
            CHECK(size == nativeSize && memcmp(native, written, size) == 0);
            free(native);
        }
    }
    free(written);
}

WINE_TEST(Exporter, EnterKeyExportsLikeOk) {
    char cratePath[512];
    char outPath[512];
    const char* crate = ExamplePath("crate.nif", cratePath, sizeof(cratePath));
    if (!crate) return Skip("no --examples= folder");
    const char* out = WorkPath("crate_enter.nif", outPath, sizeof(outPath));
    if (!out) return;
    Exporter exporter;
    if (!exporter.Ready()) return Fail(__FILE__, __LINE__, "no plug-in object");
    if (!BuiltNextToHost("dravelin.dll")) return Skip("dravelin.dll is not built: no model to export");
    if (!ImportInto(exporter.model, crate)) return Fail(__FILE__, __LINE__, "import of %s failed", crate);
    ExportRun run;
    run.fileName = out;
    run.ending = ExportRun::kEnter;
    CHECK_EQ_INT(0, RunExport(exporter, &run));
    CHECK_EQ_INT(1, msModel_GetDestroyCount(exporter.model));
    CHECK(FileExists(out));
}

WINE_TEST(Exporter, BrowseCancelLeavesTheField) {
    Exporter exporter;
    if (!exporter.Ready()) return Fail(__FILE__, __LINE__, "no plug-in object");
    ExportRun run;
    run.fileName = "typed.nif";
    run.browse = true;
    run.browseAnswer = nullptr;
    run.ending = ExportRun::kCancel;
    CHECK_EQ_INT(-1, RunExport(exporter, &run));
    CHECK_EQ_TEXT("typed.nif", run.fieldAfterBrowse);
}

WINE_TEST(Exporter, BrowseChosenNameGetsTheNifExtension) {
    char typed[512];
    const char* boat = WorkPath("boat", typed, sizeof(typed));
    if (!boat) return;
    char expected[520];
    strcpy(expected, boat);
    strcat(expected, ".nif");
    Exporter exporter;
    if (!exporter.Ready()) return Fail(__FILE__, __LINE__, "no plug-in object");
    ExportRun run;
    run.fileName = "typed.nif";
    run.browse = true;
    run.browseAnswer = boat;
    run.ending = ExportRun::kCancel;
    CHECK_EQ_INT(-1, RunExport(exporter, &run));
    CHECK_EQ_TEXT(expected, run.fieldAfterBrowse);
    CHECK_EQ_INT(0, msModel_GetDestroyCount(exporter.model));
}

// With "All Files (*.*)" chosen the type list gives no extension, so the
// dialog's default extension decides: "nif", never "txt".
WINE_TEST(Exporter, BrowseWithAllFilesStillGetsTheNifExtension) {
    char typed[512];
    const char* raft = WorkPath("raft", typed, sizeof(typed));
    if (!raft) return;
    char expected[520];
    strcpy(expected, raft);
    strcat(expected, ".nif");
    Exporter exporter;
    if (!exporter.Ready()) return Fail(__FILE__, __LINE__, "no plug-in object");
    ExportRun run;
    run.browse = true;
    run.browseAnswer = raft;
    run.browseFilter = 2;
    run.ending = ExportRun::kCancel;
    CHECK_EQ_INT(-1, RunExport(exporter, &run));
    CHECK_EQ_TEXT(expected, run.fieldAfterBrowse);
}

// The model checks come first: their boxes use the system's default caption.
WINE_TEST(Exporter, ModelWithoutMeshesShowsABoxWithTheDefaultCaption) {
    char outPath[512];
    const char* out = WorkPath("empty_model.nif", outPath, sizeof(outPath));
    if (!out) return;
    Exporter exporter;
    if (!exporter.Ready()) return Fail(__FILE__, __LINE__, "no plug-in object");
    ExportRun run;
    run.fileName = out;
    run.expectBox = true;
    CHECK_EQ_INT(-1, RunExport(exporter, &run));
    CHECK_EQ_TEXT("Error", run.box.caption);
    CHECK_EQ_TEXT("Fatal error: Model has no mesh data,\nexport aborted.", run.box.text);
    CHECK_EQ_INT(0, msModel_GetDestroyCount(exporter.model));
    CHECK(!FileExists(out));
}

// The finished file is moved onto an existing one (MoveFileExA with replace).
WINE_TEST(Exporter, ExportReplacesAnExistingFile) {
    char cratePath[512];
    char outPath[512];
    char temporaryPath[520];
    const char* crate = ExamplePath("crate.nif", cratePath, sizeof(cratePath));
    if (!crate) return Skip("no --examples= folder");
    const char* out = WorkPath("replaced.nif", outPath, sizeof(outPath));
    if (!out) return;
    if (!BuiltNextToHost("dravelin.dll")) return Skip("dravelin.dll is not built: no model to export");
    CHECK(WriteWholeFile(out, "old contents", 12));
    Exporter exporter;
    if (!exporter.Ready()) return Fail(__FILE__, __LINE__, "no plug-in object");
    if (!ImportInto(exporter.model, crate)) return Fail(__FILE__, __LINE__, "import of %s failed", crate);
    ExportRun run;
    run.fileName = out;
    CHECK_EQ_INT(0, RunExport(exporter, &run));
    DWORD size = 0;
    unsigned char* written = ReadWholeFile(out, &size);
    const char header[] = "NetImmerse File Format, Version 4.0.0.2\n";
    CHECK(written && size > sizeof(header) && memcmp(written, header, sizeof(header) - 1) == 0);
    free(written);
    strcpy(temporaryPath, out);
    strcat(temporaryPath, ".tmp");
    CHECK(!FileExists(temporaryPath));
}

// An output that cannot be created is named in "debug.log" in the system's
// temporary folder, with no message box.
WINE_TEST(Exporter, UncreatableOutputIsNamedInTheTemporaryDebugLog) {
    char cratePath[512];
    char outPath[512];
    const char* crate = ExamplePath("crate.nif", cratePath, sizeof(cratePath));
    if (!crate) return Skip("no --examples= folder");
    const char* out = WorkPath("no such folder\\lost.nif", outPath, sizeof(outPath));
    if (!out) return;
    if (!BuiltNextToHost("dravelin.dll")) return Skip("dravelin.dll is not built: no model to export");
    char logPath[600] = {};
    const DWORD length = GetTempPathA(512, logPath);
    if (length == 0 || length >= 512) return Fail(__FILE__, __LINE__, "no temporary folder");
    strcat(logPath, "debug.log");
    DeleteFileA(logPath);
    Exporter exporter;
    if (!exporter.Ready()) return Fail(__FILE__, __LINE__, "no plug-in object");
    if (!ImportInto(exporter.model, crate)) return Fail(__FILE__, __LINE__, "import of %s failed", crate);
    ExportRun run;
    run.fileName = out;
    CHECK_EQ_INT(-1, RunExport(exporter, &run));
    CHECK_EQ_INT(0, msModel_GetDestroyCount(exporter.model));
    DWORD size = 0;
    unsigned char* log = ReadWholeFile(logPath, &size);
    CHECK(log != nullptr);
    if (log) {
        CHECK_EQ_INT(strlen(out), size);
        CHECK(size == strlen(out) && memcmp(log, out, size) == 0);
        free(log);
    }
}

// "Texture file names only": a click ticks it, OK confirms it for the
// library's later dialogs while Cancel confirms nothing, and the ticked box
// writes each texture under its file name alone.
WINE_TEST(Exporter, TextureFileNamesOnlyIsRememberedAndWritesFileNames) {
    char cratePath[512];
    char outPath[512];
    const char* crate = ExamplePath("crate.nif", cratePath, sizeof(cratePath));
    if (!crate) return Skip("no --examples= folder");
    const char* out = WorkPath("crate_file_names.nif", outPath, sizeof(outPath));
    if (!out) return;
    if (!BuiltNextToHost("dravelin.dll")) return Skip("dravelin.dll is not built: no model to export");
    Exporter exporter;  // one library for every run: its module state is what is remembered
    if (!exporter.Ready()) return Fail(__FILE__, __LINE__, "no plug-in object");
    const char* textures = "C:\\Game\\Data Files\\Textures";
    if (!ImportInto(exporter.model, crate, textures)) return Fail(__FILE__, __LINE__, "import of %s failed", crate);

    ExportRun cancelled;
    cancelled.tickFileNamesOnly = true;
    cancelled.ending = ExportRun::kCancel;
    CHECK_EQ_INT(-1, RunExport(exporter, &cancelled));
    const ControlRecord* box = cancelled.snapshot.Find(1009);
    CHECK(box && !box->checked);

    ExportRun confirmed;
    confirmed.fileName = out;
    confirmed.tickFileNamesOnly = true;
    CHECK_EQ_INT(0, RunExport(exporter, &confirmed));
    box = confirmed.snapshot.Find(1009);
    CHECK(box && !box->checked);  // Cancel before confirmed nothing

    ExportRun reopened;
    reopened.ending = ExportRun::kCancel;
    CHECK_EQ_INT(-1, RunExport(exporter, &reopened));
    box = reopened.snapshot.Find(1009);
    CHECK(box && box->checked);

    DWORD size = 0;
    unsigned char* written = ReadWholeFile(out, &size);
    CHECK(written != nullptr);
    if (written) {
        static const char kFileName[] = "\x09\0\0\0crate.bmp";  // length-prefixed, no folder
        CHECK(Contains(written, size, kFileName, sizeof(kFileName) - 1));
        CHECK(!Contains(written, size, "Textures", 8));
        free(written);
    }
}
