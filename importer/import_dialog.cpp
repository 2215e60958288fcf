#include "importer/import_dialog.h"

#include <cstring>
#include <string>

#include "importer/module_state.h"
#include "importer/nif/messages.h"

namespace {

constexpr intptr_t kHandled = 1;
constexpr intptr_t kNotHandled = 0;

// Each field is read with Win32's limit of 1000 characters including the
// terminator, so at most 999 characters reach the buffer; position 1000 is
// zeroed whatever the field held.
void CopyFieldInto(platform::DialogHandle dialog, int controlId, char (&buffer)[kImportPathBufferSize]) {
    const std::string text = platform::GetItemText(dialog, controlId, kImportPathBufferSize - 1);
    const size_t length = text.size() < kImportPathBufferSize - 2 ? text.size() : kImportPathBufferSize - 2;
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    buffer[kImportPathBufferSize - 1] = '\0';
}

void PickImportFile(platform::DialogHandle dialog) {
    platform::FileDialogRequest request;
    request.title = nif_messages::kImportFilePickerTitle;
    request.filter = nif_messages::kImportFileFilter;
    request.defaultExtension = nif_messages::kImportFileExtension;
    request.flags = platform::kFileHideReadOnly | platform::kFilePathMustExist | platform::kFileFileMustExist;
    request.fileBufferSize = 256;
    request.titleBufferSize = 256;
    std::string path;
    if (platform::ShowOpenFileDialog(request, path)) {
        platform::SetItemText(dialog, kImportFileField, path.c_str());
    }
}

void PickTextureDirectory(platform::DialogHandle dialog) {
    std::string path;
    if (platform::ShowFolderBrowser(nif_messages::kTextureFolderPickerTitle, path)) {
        platform::SetItemText(dialog, kTextureDirectoryField, path.c_str());
    }
}

intptr_t HandleCommand(platform::DialogHandle dialog, int command) {
    switch (command) {
        case platform::kIdOk:
            CopyFieldInto(dialog, kImportFileField, ImportFileName);
            CopyFieldInto(dialog, kTextureDirectoryField, TextureDirectory);
            ApplySceneTransforms = platform::IsButtonChecked(dialog, kApplySceneTransformsBox);
            platform::EndModalDialog(dialog, 1);
            return kHandled;
        case platform::kIdCancel:
            platform::EndModalDialog(dialog, 0);
            return kHandled;
        case kPickFileButton:
            PickImportFile(dialog);
            return kNotHandled;
        case kPickFolderButton:
            PickTextureDirectory(dialog);
            return kNotHandled;
        default:
            return kNotHandled;
    }
}

}  // namespace

intptr_t ImportDialogProcedure(platform::DialogHandle dialog, unsigned message, uintptr_t wParam, intptr_t) {
    if (message == platform::kMessageInitDialog) {
        // The box opens as last confirmed; the answer stays FALSE as before.
        platform::CheckButton(dialog, kApplySceneTransformsBox, ApplySceneTransforms);
        return kNotHandled;
    }
    if (message != platform::kMessageCommand) return kNotHandled;
    // The procedure is called from the system's dialog loop: nothing may
    // unwind through it. A command that failed simply leaves the dialog open.
    try {
        return HandleCommand(dialog, static_cast<int>(wParam & 0xFFFF));
    } catch (...) {
        return kNotHandled;
    }
}
