// Reads a dialog template (DLGTEMPLATEEX) out of a DLL's resources, so that
// the checks can compare every field with the table the dialog was drawn from.
#pragma once

#include "win32_api.h"

namespace wine_test {

struct TemplateControl {
    DWORD exStyle;
    DWORD style;
    short x, y, cx, cy;
    long id;
    int classOrdinal;  // 0x80 button, 0x81 edit, 0x82 static; -1 when named
    char text[128];
};

struct DialogTemplate {
    DWORD exStyle;
    DWORD style;
    short x, y, cx, cy;
    bool hasMenu, hasClass;
    char caption[128];
    int pointSize;
    char font[64];
    int controlCount;
    TemplateControl controls[32];
};

// Finds dialog `id` in `language` (e.g. 0x0809) of the DLL file and parses it.
bool LoadDialogTemplate(const char* dll, int id, unsigned short language, DialogTemplate* out);

// Checks the template's controls against `expected`, field by field and in
// order; every control is a visible child window besides its own style.
void CheckTemplateControls(const DialogTemplate& dialog, const TemplateControl* expected, int count);

}  // namespace wine_test
