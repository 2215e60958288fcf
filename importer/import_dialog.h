// The importer's options dialog (resource 101): a NIF file name, a texture
// directory, two "..." buttons that fill them from the system pickers, and
// the "Apply scene transforms" box.
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
    kApplySceneTransformsBox = 1006,
};

// Initialisation ticks box 1006 as ApplySceneTransforms holds it. OK copies
// both fields into ImportFileName and TextureDirectory and the box's state
// into ApplySceneTransforms, and ends the dialog with 1; Cancel (also the
// close box and Escape) ends it with 0 and changes nothing. The two "..."
// buttons run their pickers and leave the dialog open. Every other message
// and command, and initialisation too, returns 0 (not handled).
intptr_t ImportDialogProcedure(platform::DialogHandle dialog, unsigned message, uintptr_t wParam, intptr_t lParam);
