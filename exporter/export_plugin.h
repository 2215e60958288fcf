// The exporter's plug-in object as the host sees it, and its options dialog.
//
// The host calls Kind, Title and Execute through the hand-laid table of
// host/plugin_abi.h. Execute runs dialog 101 modally; pressing OK confirms
// the options, reads the file name and runs ExportModel; the dialog's result
// decides whether the host's model is released.
#pragma once

#include <cstdint>
#include <string>

#include "host/msLib.h"
#include "host/plugin_abi.h"
#include "platform/platform.h"

// Control ids of dialog 101.
enum ExportDialogControl : int {
    kExportDialogResource = 101,
    kControlFileName = 1000,
    kControlBrowse = 1001,
    kControlUseOriginalTextures = 1002,
    kControlIncludeTextures = 1003,
    kControlExternalTextures = 1004,
    kControlIncludeAnimation = 1005,
    kControlStripAnimation = 1006,
    kControlTextureFileNamesOnly = 1009,
};

// What one export run ended with: 1 when the file was written, 0 when not,
// and the text of the message box that tells the user why (empty when
// there is nothing to show).
struct ExportResult {
    int status = 0;
    std::string message;
};

class CNifExportPlugIn : public msPlugInObject {
public:
    CNifExportPlugIn();
    ~CNifExportPlugIn();
    CNifExportPlugIn(const CNifExportPlugIn&) = delete;
    CNifExportPlugIn& operator=(const CNifExportPlugIn&) = delete;

    // 2: an exporter.
    int Kind() const { return eTypeExport; }
    // "Korbastel <ALPHA>".
    const char* Title() const { return title_; }
    // -1 for a null model; otherwise runs the options dialog and returns 0
    // after a successful export (the model is then passed to
    // msModel_Destroy), -1 after anything else (the model is left alone).
    // A failed export's message box is shown here, once the dialog has
    // ended. Never lets an exception out.
    int Execute(msModel* model);

    // Takes the text of the file-name field as the output file name. Returns 1.
    int ReadOutputFileName();
    // Offers the save-file dialog; a chosen path replaces the file-name
    // field. Returns 1 when a name was chosen, else 0.
    int BrowseOutputFile();
    // Writes the held model to the output file. Returns 1 on success, 0 on
    // any failure, after showing the run's message box when it has one.
    int ExportModel();
    // The same run without showing its message: the result carries it.
    // Never lets an exception out.
    ExportResult RunExport();

    const std::string& OutputFileName() const { return outputFileName_; }
    void SetOutputFileName(std::string name) { outputFileName_ = std::move(name); }
    msModel* Model() const { return model_; }
    void SetModel(msModel* model) { model_ = model; }

    // Dialog 101's procedure. The initialisation value is the plug-in
    // object whose Execute opened the dialog.
    static intptr_t DialogProcedure(platform::DialogHandle dialog, unsigned message, uintptr_t wParam,
                                    intptr_t lParam);

private:
    void HandleCommand(uintptr_t command);
    void EndDialog(intptr_t result);
    ExportResult RunExportUnguarded();

    char title_[64];
    msModel* model_ = nullptr;
    std::string outputFileName_;
    platform::DialogHandle dialog_ = nullptr;
    ExportResult result_;  // of the run started by the dialog's OK, shown by Execute
};

// The options the user last confirmed with OK, kept for the life of the
// library: cleared when it loads, never saved anywhere. The dialog opens with
// them and every export run uses them.
struct ExportOptions {
    bool textureFileNamesOnly = false;  // "Texture file names only"
};
ExportOptions& ConfirmedExportOptions();

// The module handle the dialog resource is loaded from. The library's entry
// point records it; until then it is the module holding this code.
void RecordExporterModule(platform::ModuleHandle module);
platform::ModuleHandle ExporterModule();
