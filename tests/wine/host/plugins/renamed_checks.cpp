// The plug-ins under the names a host that lists only "ms*.dll" needs
// (msDravelin.dll, msKorbastel.dll, copied into the work folder by the test
// script): each finds its own dialog resource under the new name and runs.
#include "check.h"
#include "plugin_session.h"
#include "test_files.h"
#include "ui_robot.h"

using namespace wine_test;

namespace {

// What the robot saw and does: the dialog's caption, the file typed into field 1000.
struct RenamedRun {
    const char* caption;
    const char* fileName;
    DialogSnapshot snapshot;
};

void AnswerDialog(Robot& robot) {
    auto* run = static_cast<RenamedRun*>(robot.context);
    HWND dialog = robot.WaitForWindow(run->caption);
    if (!dialog) return;
    robot.Snapshot(dialog, &run->snapshot);
    robot.Type(dialog, 1000, run->fileName);
    robot.Click(dialog, 1);
    robot.WaitUntilGone(dialog);
}

// The copy `name` in the work folder, or null (the case is then skipped).
const char* RenamedCopy(const char* name, char* buffer, int size) {
    const char* path = WorkPath(name, buffer, size);
    if (path && !FileExists(path)) {
        Skip("no renamed copy in the work folder (scripts/wine_tests.sh makes it)");
        return nullptr;
    }
    return path;
}

}  // namespace

WINE_TEST(Renamed, ImporterAsMsDravelinShowsItsDialogAndImports) {
    char dll[512];
    char crate[512];
    if (!RenamedCopy("msDravelin.dll", dll, sizeof(dll))) return;
    if (!ExamplePath("crate.nif", crate, sizeof(crate))) return Skip("no --examples= folder");
    PlugInSession importer(dll);
    if (!importer.Ready()) return Fail(__FILE__, __LINE__, "no plug-in object from msDravelin.dll");
    RenamedRun run = {"Dravelin Version 0.02", crate, {}};
    CHECK_EQ_INT(0, importer.ExecuteDriven(AnswerDialog, &run));
    CHECK_EQ_TEXT("Dravelin Version 0.02", run.snapshot.caption);
    CHECK(run.snapshot.Find(1004, "Produce Debug Dump") != nullptr);
    CHECK_EQ_INT(1, msModel_GetMeshCount(importer.model));
}

WINE_TEST(Renamed, ExporterAsMsKorbastelShowsItsDialogAndExports) {
    char dll[512];
    char crate[512];
    char output[512];
    if (!RenamedCopy("msKorbastel.dll", dll, sizeof(dll))) return;
    if (!ExamplePath("crate.nif", crate, sizeof(crate))) return Skip("no --examples= folder");
    if (!WorkPath("renamed_export.nif", output, sizeof(output))) return;
    // The model to export: the crate, imported by the renamed importer too.
    char importerDll[512];
    if (!RenamedCopy("msDravelin.dll", importerDll, sizeof(importerDll))) return;
    PlugInSession importer(importerDll);
    if (!importer.Ready()) return Fail(__FILE__, __LINE__, "no plug-in object from msDravelin.dll");
    RenamedRun importRun = {"Dravelin Version 0.02", crate, {}};
    CHECK_EQ_INT(0, importer.ExecuteDriven(AnswerDialog, &importRun));

    PlugInSession exporter(dll);
    if (!exporter.Ready()) return Fail(__FILE__, __LINE__, "no plug-in object from msKorbastel.dll");
    RenamedRun run = {"Korbastel", output, {}};
    CHECK_EQ_INT(0, exporter.ExecuteDriven(AnswerDialog, &run, importer.model));
    CHECK_EQ_TEXT("Korbastel", run.snapshot.caption);
    CHECK(run.snapshot.Find(1008, "ALPHA 2.4") != nullptr);
    DWORD size = 0;
    unsigned char* bytes = ReadWholeFile(output, &size);
    CHECK(bytes != nullptr && size > 0);
    free(bytes);
}
