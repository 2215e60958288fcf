#include "exporter/export_plugin.h"

#include <cstring>
#include <new>

#include "exporter/export_messages.h"

namespace {

constexpr char kTitle[] = "Korbastel <ALPHA>";
constexpr int kFileNameCharacters = 65535;

platform::ModuleHandle gExporterModule = nullptr;
ExportOptions gConfirmedOptions;

// The dialog currently open and the object it acts on. Execute saves and
// restores it around its modal loop, so the binding lives exactly as long
// as the dialog and always names a live object.
struct DialogBinding {
    platform::DialogHandle dialog = nullptr;
    CNifExportPlugIn* plugIn = nullptr;
};
DialogBinding gOpenDialog;

CNifExportPlugIn* PlugInOf(platform::DialogHandle dialog) {
    return gOpenDialog.dialog == dialog ? gOpenDialog.plugIn : nullptr;
}

class DialogBindingScope {
public:
    DialogBindingScope() : saved_(gOpenDialog) {}
    ~DialogBindingScope() { gOpenDialog = saved_; }
    DialogBindingScope(const DialogBindingScope&) = delete;
    DialogBindingScope& operator=(const DialogBindingScope&) = delete;

private:
    DialogBinding saved_;
};

void ShowFailure(const char* text) { platform::ShowMessageBox(text, nullptr); }

}  // namespace

void RecordExporterModule(platform::ModuleHandle module) { gExporterModule = module; }

ExportOptions& ConfirmedExportOptions() { return gConfirmedOptions; }

platform::ModuleHandle ExporterModule() {
    if (!gExporterModule) {
        gExporterModule = platform::ModuleContaining(reinterpret_cast<const void*>(&ExporterModule));
    }
    return gExporterModule;
}

CNifExportPlugIn::CNifExportPlugIn() {
    table = &msPlugInTableFor<CNifExportPlugIn>::table;
    static_assert(sizeof kTitle <= sizeof title_);
    std::memset(title_, 0, sizeof title_);
    std::memcpy(title_, kTitle, sizeof kTitle);
}

CNifExportPlugIn::~CNifExportPlugIn() {
    model_ = nullptr;
    if (gOpenDialog.plugIn == this) gOpenDialog = {};
}

int CNifExportPlugIn::Execute(msModel* model) {
    if (!model) return -1;
    result_ = ExportResult();
    try {
        DialogBindingScope binding;
        model_ = model;
        const intptr_t result = platform::RunModalDialog(ExporterModule(), kExportDialogResource, &DialogProcedure,
                                                         reinterpret_cast<intptr_t>(this));
        model_ = nullptr;
        dialog_ = nullptr;
        if (!result_.message.empty()) ShowFailure(result_.message.c_str());
        if (result != 0) return -1;
        msModel_Destroy(model);
        return 0;
    } catch (const std::bad_alloc&) {
        ShowFailure(export_messages::kOutOfMemory);
    } catch (...) {
        ShowFailure(export_messages::kUnexpectedFailure);
    }
    model_ = nullptr;
    dialog_ = nullptr;
    return -1;
}

int CNifExportPlugIn::ExportModel() {
    const ExportResult result = RunExport();
    if (!result.message.empty()) ShowFailure(result.message.c_str());
    return result.status;
}

ExportResult CNifExportPlugIn::RunExport() {
    try {
        return RunExportUnguarded();
    } catch (const std::bad_alloc&) {
        return {0, export_messages::kOutOfMemory};
    } catch (...) {
        return {0, export_messages::kUnexpectedFailure};
    }
}

int CNifExportPlugIn::ReadOutputFileName() {
    outputFileName_ = platform::GetItemText(dialog_, kControlFileName, kFileNameCharacters + 1);
    return 1;
}

int CNifExportPlugIn::BrowseOutputFile() {
    platform::FileDialogRequest request;
    request.title = "Export NetImmerse NIF v4";
    request.filter = "NetImmerse NIF Files (*.nif)\0*.nif\0All Files (*.*)\0*.*\0";
    request.defaultExtension = "nif";
    request.flags = platform::kFileOverwritePrompt | platform::kFileHideReadOnly | platform::kFilePathMustExist;
    request.fileBufferSize = 256;
    request.titleBufferSize = 256;
    std::string chosen;
    if (!platform::ShowSaveFileDialog(request, chosen)) return 0;
    platform::SetItemText(dialog_, kControlFileName, chosen.c_str());
    return 1;
}

intptr_t CNifExportPlugIn::DialogProcedure(platform::DialogHandle dialog, unsigned message, uintptr_t wParam,
                                           intptr_t lParam) {
    switch (message) {
        case platform::kMessageInitDialog: {
            auto* plugIn = reinterpret_cast<CNifExportPlugIn*>(lParam);
            gOpenDialog = {dialog, plugIn};
            if (plugIn) plugIn->dialog_ = dialog;
            platform::CheckButton(dialog, kControlUseOriginalTextures, true);
            platform::CheckButton(dialog, kControlIncludeAnimation, true);
            platform::CheckButton(dialog, kControlTextureFileNamesOnly, gConfirmedOptions.textureFileNamesOnly);
            return 1;
        }
        case platform::kMessageClose:
            if (CNifExportPlugIn* plugIn = PlugInOf(dialog)) {
                plugIn->EndDialog(1);
            } else {
                platform::EndModalDialog(dialog, 1);
            }
            return 1;
        case platform::kMessageCommand:
            if (CNifExportPlugIn* plugIn = PlugInOf(dialog)) {
                plugIn->HandleCommand(wParam);
            } else if (wParam == platform::kIdOk || wParam == platform::kIdCancel) {
                platform::EndModalDialog(dialog, 1);
            }
            return 1;
        default:
            return 0;
    }
}

// Only button clicks act: the whole command value must equal the control
// id, so notifications with another code in the high word pass by.
void CNifExportPlugIn::HandleCommand(uintptr_t command) {
    switch (command) {
        case platform::kIdOk: {
            // Nothing may unwind through the system's dialog code: any failure
            // becomes the run's result and closes the dialog as a failed export;
            // Execute shows its message.
            try {
                // OK confirms the options whatever the run then does with them.
                gConfirmedOptions.textureFileNamesOnly =
                    platform::IsButtonChecked(dialog_, kControlTextureFileNamesOnly);
                result_ = ReadOutputFileName() == 1 ? RunExport() : ExportResult();
            } catch (const std::bad_alloc&) {
                result_ = {0, export_messages::kOutOfMemory};
            } catch (...) {
                result_ = {0, export_messages::kUnexpectedFailure};
            }
            EndDialog(result_.status == 1 ? 0 : 1);
            break;
        }
        case platform::kIdCancel:
            EndDialog(1);
            break;
        case kControlBrowse:
            try {
                BrowseOutputFile();
            } catch (...) {
                ShowFailure(export_messages::kUnexpectedFailure);
            }
            break;
        default:
            break;
    }
}

void CNifExportPlugIn::EndDialog(intptr_t result) {
    model_ = nullptr;
    platform::EndModalDialog(dialog_, result);
}
