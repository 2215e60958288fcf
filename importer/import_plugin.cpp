#include "importer/import_plugin.h"

#include <cstring>
#include <new>

#include "importer/import_dialog.h"
#include "importer/import_run.h"
#include "importer/module_state.h"
#include "importer/nif/debug_printer.h"
#include "importer/nif/messages.h"
#include "platform/platform.h"

namespace {

constexpr const char (&kTitle)[sizeof nif_messages::kPlugInTitle] = nif_messages::kPlugInTitle;
static_assert(sizeof(kTitle) <= 64, "the title must fit the object's 64-byte buffer");

// The dialog template lives in this library. The host may have loaded it
// under any file name, so the module is found from an address inside it.
platform::ModuleHandle ImporterModule() { return platform::ModuleContaining(ImportFileName); }

// Returns true when the user confirmed the dialog with OK. A dialog that
// could not be created (-1) counts as cancelled: nothing is imported.
bool RunOptionsDialog() {
    const intptr_t result = platform::RunModalDialog(ImporterModule(), kImportDialogResource, &ImportDialogProcedure, 0);
    return result != 0 && result != -1;
}

}  // namespace

CNifImportPlugIn::CNifImportPlugIn() {
    table = &msPlugInTableFor<CNifImportPlugIn>::table;
    std::memset(title_, 0, sizeof(title_));
    std::memcpy(title_, kTitle, sizeof(kTitle));
}

int CNifImportPlugIn::Kind() { return eTypeImport; }

const char* CNifImportPlugIn::Title() { return title_; }

int CNifImportPlugIn::Execute(msModel* model) {
    if (model == nullptr) return -1;
    // No exception may reach the host: the run itself answers with a result,
    // and the dialog is the only other step that could throw.
    bool confirmed = false;
    try {
        confirmed = RunOptionsDialog();
    } catch (const std::bad_alloc&) {
        platform::ShowMessageBox(nif_messages::kOutOfMemory, nif_messages::kImportErrorCaption);
        return 0;
    } catch (...) {
        platform::ShowMessageBox(nif_messages::kUnexpectedFailure, nif_messages::kImportErrorCaption);
        return 0;
    }
    if (!confirmed) return 0;

    DebugPrinter debugPrinter;
    const ImportResult result = RunImport(model, ImportFileName, TextureDirectory, debugPrinter, ApplySceneTransforms);
    if (result.failed) debugPrinter.ShowBox(result.message.c_str(), nif_messages::kImportErrorCaption);
    debugPrinter.Finish();
    return result.execute;
}
