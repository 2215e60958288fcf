// Execute never lets an exception reach the host: every allocation of a
// whole run, one at a time, is made to fail (out of memory, or any other
// error), and each run must end in execute's own handler (the error box) or
// in a cancelled dialog.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <stdexcept>

#include "host/plugin_abi.h"
#include "importer/import_dialog.h"
#include "importer/import_plugin.h"
#include "nif_builder/nif_builder.h"
#include "tests/importer/import_fixture.h"
#include "tests/support/allocation_meter.h"

namespace {

namespace headless = platform::headless;

using FailingAllocation = ImportTest;

NifBuilder TexturedShapeUnderBip01() {
    NifBuilder nif;
    nif.FileStart(7);
    NodeBlock(nif, "Bip01", {1});
    TriShapeBlock(nif, "Box", 4, -1, {2, 3});
    TexturingPropertyBlock(nif, 5);
    MaterialPropertyBlock(nif, "Mat");
    TriShapeDataBlock(nif, TriangleGeometry({0, 0, 0}, {1, 0, 0}, {0, 1, 0}));
    SourceTextureBlock(nif, "box.bmp", 3, 1, 3);
    NodeBlock(nif, "Unused");
    nif.Footer();
    return nif;
}

// One execute with allocation `failAt` failing (with another error than
// out of memory when `otherError` is set); returns execute's result.
int ExecuteFailingAt(CNifImportPlugIn& plugin, msModel* model, const std::string& path, long failAt,
                     bool otherError = false) {
    headless::QueueDialog({{headless::SetText(kImportFileField, path), headless::Press(platform::kIdOk)}});
    allocation::FailAfter(failAt, otherError);
    const int result = msPlugIn_Execute(&plugin, model);
    allocation::FailAfter(0);
    return result;
}

TEST_F(FailingAllocation, OutOfMemoryEndsInTheErrorBoxOrACancel) {
    TempNifFile file(TexturedShapeUnderBip01());
    CNifImportPlugIn plugin;

    const std::string unableToOpen = "Unable to open file '" + file.Path() + "'.";
    int errorBoxes = 0;
    for (long failAt = 1; failAt < 100000; ++failAt) {
        headless::Reset();
        ModelPtr model = MakeModel();
        const int result = ExecuteFailingAt(plugin, model.get(), file.Path(), failAt);
        if (!allocation::FailureInjected()) {
            // Every allocation of the run has now failed once.
            EXPECT_EQ(result, 0);
            EXPECT_EQ(msModel_GetMeshCount(model.get()), 1);
            break;
        }
        EXPECT_EQ(result, 0) << "allocation " << failAt;
        const auto& boxes = headless::MessageBoxes();
        if (!boxes.empty()) {
            ASSERT_EQ(boxes.size(), 1u) << "allocation " << failAt;
            EXPECT_EQ(boxes[0].caption, "NIF Import Error");
            // The stream reports a file image it cannot hold as a file it cannot open.
            if (boxes[0].text != unableToOpen) {
                EXPECT_EQ(boxes[0].text, "Out of memory.") << "allocation " << failAt;
                ++errorBoxes;
            }
        }
    }
    EXPECT_GT(errorBoxes, 10);
}

TEST_F(FailingAllocation, AnyOtherErrorEndsInTheErrorBox) {
    TempNifFile file(TexturedShapeUnderBip01());
    CNifImportPlugIn plugin;
    int unexpectedBoxes = 0;
    for (long failAt = 1; failAt < 100000; ++failAt) {
        headless::Reset();
        ModelPtr model = MakeModel();
        const int result = ExecuteFailingAt(plugin, model.get(), file.Path(), failAt, true);
        if (!allocation::FailureInjected()) break;
        EXPECT_EQ(result, 0) << "allocation " << failAt;
        const auto& boxes = headless::MessageBoxes();
        if (!boxes.empty() && boxes[0].text == "Unexpected failure while importing.") {
            EXPECT_EQ(boxes[0].caption, "NIF Import Error");
            ++unexpectedBoxes;
        }
    }
    EXPECT_GT(unexpectedBoxes, 10);
}

}  // namespace
