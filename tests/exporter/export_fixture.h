// Shared set-up of the export-run and plug-in tests: a clean headless
// platform, an output folder, a separate folder standing for the system's
// temporary folder (where the debug log goes), and a model.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exporter/export_plugin.h"
#include "platform/headless.h"
#include "tests/exporter/scene_scan.h"
#include "tests/exporter/temp_folder.h"
#include "tests/exporter/test_model.h"

class ExportFixture : public ::testing::Test {
protected:
    void SetUp() override {
        platform::headless::Reset();
        platform::headless::SetTemporaryFolder(systemTemp.Root().string());
        ConfirmedExportOptions() = ExportOptions();  // as the library loads
    }
    void TearDown() override {
        platform::headless::Reset();
        ConfirmedExportOptions() = ExportOptions();
    }

    // Runs ExportModel the way the dialog's OK handler does.
    int Export(const std::string& outputName) {
        CNifExportPlugIn plugIn;
        plugIn.SetModel(model.get());
        plugIn.SetOutputFileName(outputName);
        return plugIn.ExportModel();
    }

    std::string Output() const { return folder.Path("out.nif"); }

    bytes::Bytes OutputBytes() const {
        const std::string text = TempFolder::ReadAll(Output());
        return bytes::Bytes(text.begin(), text.end());
    }

    scan::Scene ScanOutput() const { return scan::Scan(OutputBytes()); }

    static std::vector<std::string> MessageTexts() {
        std::vector<std::string> texts;
        for (const auto& box : platform::headless::MessageBoxes()) {
            EXPECT_FALSE(box.caption.has_value()) << "message boxes use the default caption";
            texts.push_back(box.text);
        }
        return texts;
    }

    std::string DebugLogPath() const { return systemTemp.Path("debug.log"); }

    TempFolder folder;
    TempFolder systemTemp{"_temp"};
    TestModel model;
};
