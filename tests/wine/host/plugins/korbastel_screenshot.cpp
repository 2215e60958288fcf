// Holds the exporter's options dialog open while the test script takes its picture.
#include "check.h"
#include "plugin_loader.h"
#include "ui_robot.h"

using namespace wine_test;

namespace {

void PoseExportDialog(Robot& robot) {
    HWND dialog = robot.WaitForWindow("Korbastel");
    if (!dialog) return;
    robot.Type(dialog, 1000, "C:\\models\\crate.nif");
    robot.HoldForScreenshot(dialog, "korbastel");
    robot.Click(dialog, 2);
    robot.WaitUntilGone(dialog);
}

}  // namespace

WINE_TEST(Screenshot, ExporterDialog) {
    PlugInLibrary library("korbastel.dll");
    if (!library.create) return;
    HostPlugIn* plugin = library.create();
    msModel* model = msModel_Create();
    Robot robot(PoseExportDialog, nullptr);
    CHECK_EQ_INT(-1, plugin->Execute(model));
    robot.Finish();
    delete plugin;
    msModel_Free(model);
}
