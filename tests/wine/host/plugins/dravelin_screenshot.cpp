// Holds the importer's options dialog open while the test script takes its picture.
#include "check.h"
#include "plugin_loader.h"
#include "ui_robot.h"

using namespace wine_test;

namespace {

void PoseImportDialog(Robot& robot) {
    HWND dialog = robot.WaitForWindow("Dravelin Version 0.02");
    if (!dialog) return;
    robot.Type(dialog, 1000, "C:\\models\\crate.nif");
    robot.Type(dialog, 1001, "C:\\models\\textures");
    robot.HoldForScreenshot(dialog, "dravelin");
    robot.Click(dialog, 2);
    robot.WaitUntilGone(dialog);
}

}  // namespace

WINE_TEST(Screenshot, ImporterDialog) {
    PlugInLibrary library("dravelin.dll");
    if (!library.create) return;
    HostPlugIn* plugin = library.create();
    msModel* model = msModel_Create();
    Robot robot(PoseImportDialog, nullptr);
    CHECK_EQ_INT(0, plugin->Execute(model));
    robot.Finish();
    delete plugin;
    msModel_Free(model);
}
