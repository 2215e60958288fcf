#include "importer/import_plugin.h"

#include <cstring>
#include <new>

#include "importer/import_dialog.h"
#include "importer/import_run.h"
#include "importer/module_state.h"
#include "importer/nif/text_exception.h"
#include "platform/platform.h"

namespace {

constexpr char kTitle[] = "Dravelin (Version 0.03)...";
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
    // The one error handler of the run: no exception may reach the host.
    try {
        if (!RunOptionsDialog()) return 0;
        return ImportNifFile(model, ImportFileName);
    } catch (const TextException& error) {
        ShowImportError(error.Text().c_str());
    } catch (const std::bad_alloc&) {
        ShowImportError("Out of memory.");
    } catch (...) {
        ShowImportError("Unexpected failure while importing.");
    }
    return 0;
}
