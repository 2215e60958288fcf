#include "importer/import_dialog.h"

#include <cstring>
#include <string>

#include "importer/module_state.h"
#include "importer/nif/messages.h"

namespace {

constexpr intptr_t kHandled = 1;
constexpr intptr_t kNotHandled = 0;

// The longest text a field may hold: what the buffer keeps before position 1000.
constexpr size_t kLongestName = kImportPathBufferSize - 2;

// A field's text, read one character past the longest name so that a longer
// one shows; it is then refused rather than cut (a cut name could name
// another file). The pickers' results land in the fields and pass here too.
std::string ReadField(platform::DialogHandle dialog, int controlId) {
    return platform::GetItemText(dialog, controlId, kImportPathBufferSize);
}

// At most 999 characters reach the buffer; position 1000 is zeroed whatever the field held.
void CopyInto(const std::string& text, char (&buffer)[kImportPathBufferSize]) {
    const size_t length = text.size() < kLongestName ? text.size() : kLongestName;
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    buffer[kImportPathBufferSize - 1] = '\0';
}

// OK: both fields and the check box are taken, or, when either field is too
// long, nothing is and the dialog stays open behind a message box.
intptr_t ConfirmFields(platform::DialogHandle dialog) {
    const std::string fileName = ReadField(dialog, kImportFileField);
    const std::string textureDirectory = ReadField(dialog, kTextureDirectoryField);
    if (fileName.size() > kLongestName || textureDirectory.size() > kLongestName) {
        platform::ShowMessageBox(nif_messages::kNameTooLong, nif_messages::kNameTooLongCaption);
        return kHandled;
    }
    CopyInto(fileName, ImportFileName);
    CopyInto(textureDirectory, TextureDirectory);
    ApplySceneTransforms = platform::IsButtonChecked(dialog, kApplySceneTransformsBox);
    platform::EndModalDialog(dialog, 1);
    return kHandled;
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
            return ConfirmFields(dialog);
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
