// The importer's options dialog (resource 101): a NIF file name, a texture
// directory, and two "..." buttons that fill them from the system pickers.
#pragma once

#include <cstdint>

#include "platform/platform.h"

inline constexpr int kImportDialogResource = 101;

// Control ids of dialog 101.
enum ImportDialogControl : int {
    kImportFileField = 1000,
    kTextureDirectoryField = 1001,
    kPickFileButton = 1002,
    kPickFolderButton = 1003,
};

// OK copies both fields into ImportFileName and TextureDirectory and ends
// the dialog with 1; Cancel (also the close box and Escape) ends it with 0.
// The two "..." buttons run their pickers and leave the dialog open.
// Every message other than these commands returns 0 (not handled).
intptr_t ImportDialogProcedure(platform::DialogHandle dialog, unsigned message, uintptr_t wParam, intptr_t lParam);
