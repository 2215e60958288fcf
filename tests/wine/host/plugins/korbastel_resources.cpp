// korbastel.dll's dialog 101 field by field, and its version resource.
#include "check.h"
#include "resource_checks.h"

using namespace wine_test;

namespace {

enum : DWORD {
    kTabStop = 0x00010000, kGroup = 0x00020000,
    kBorder = 0x00800000, kDisabled = 0x08000000, kAutoHScroll = 0x0080,
    kPushButton = 0, kDefPushButton = 1, kAutoCheck = 3, kGroupBox = 7, kAutoRadio = 9,
    kCentre = 0x0001, kCentreImage = 0x0200, kSunken = 0x1000,
};
enum { kButton = 0x80, kEdit = 0x81, kStatic = 0x82 };

// The text of a version string, e.g. "\\StringFileInfo\\040904b0\\ProductName".
const char* VersionString(const void* block, const char* name) {
    char path[128];
    wsprintfA(path, "\\StringFileInfo\\040904b0\\%s", name);
    void* value = nullptr;
    UINT size = 0;
    if (!VerQueryValueA(block, path, &value, &size) || !value) return nullptr;
    return static_cast<const char*>(value);
}

}  // namespace

WINE_TEST(Resources, ExporterDialogMatchesItsTable) {
    DialogTemplate t;
    if (!LoadDialogTemplate("korbastel.dll", 101, 0x0409, &t)) return;  // English (United States)
    // popup, caption, system menu, modal frame, centred, 3-D look, foreground, absolute alignment; DS_SETFONT.
    CHECK_EQ_INT(0x80000000u | 0x00C00000u | 0x00080000u | 0x80u | 0x800u | 0x4u | 0x200u | 0x1u | 0x40u, t.style);
    CHECK_EQ_INT(277, t.cx);
    CHECK_EQ_INT(161, t.cy);
    CHECK(!t.hasMenu && !t.hasClass);
    CHECK_EQ_TEXT("Korbastel", t.caption);
    CHECK_EQ_INT(8, t.pointSize);
    CHECK_EQ_TEXT("MS Sans Serif", t.font);
    const TemplateControl expected[] = {
        {0, kDefPushButton | kTabStop, 165, 140, 55, 15, 1, kButton, "OK"},
        {0, kPushButton | kTabStop, 225, 140, 50, 15, 2, kButton, "Cancel"},
        {0, kBorder | kAutoHScroll | kTabStop, 5, 90, 210, 12, 1000, kEdit, ""},
        {0, kPushButton | kTabStop, 225, 90, 45, 15, 1001, kButton, "Browse"},
        {0, kGroupBox, 5, 5, 125, 60, -1, kButton, "Textures"},
        {0, kAutoRadio | kDisabled, 15, 35, 84, 10, 1003, kButton, "Include textures in file"},
        {0, kAutoRadio | kGroup, 15, 20, 79, 10, 1002, kButton, "Use original textures"},
        {0, kAutoRadio | kDisabled, 15, 50, 105, 10, 1004, kButton, "Export textures to external nif"},
        {0, 0, 5, 75, 135, 10, -1, kStatic, "File name:"},
        {0, kGroupBox, 145, 5, 125, 60, -1, kButton, "Animation"},
        {0, kAutoRadio | kGroup | kDisabled, 155, 20, 65, 10, 1005, kButton, "Include animation"},
        {0, kAutoRadio | kDisabled, 155, 35, 65, 10, 1006, kButton, "Strip animation"},
        {0, kGroupBox, 5, 110, 150, 45, -1, kButton, "Plugin Info"},
        {0, kCentre | kCentreImage | kSunken, 100, 140, 45, 10, 1008, kStatic, "ALPHA 2.4"},
        {0, 0, 15, 140, 40, 8, -1, kStatic, "Version:"},
        {0, 0, 15, 125, 130, 10, -1, kStatic, "NIF v4 export"},
        {0, kAutoCheck | kGroup | kTabStop, 165, 124, 105, 10, 1009, kButton, "Texture file names only"},
    };
    CheckTemplateControls(t, expected, sizeof(expected) / sizeof(expected[0]));
}

WINE_TEST(Resources, ExporterVersionIs0_0_2_4) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA("korbastel.dll", &handle);
    CHECK(size > 0);
    if (!size) return;
    void* block = malloc(size);
    CHECK(GetFileVersionInfoA("korbastel.dll", 0, size, block));
    struct FixedInfo {
        DWORD signature, structVersion, fileMS, fileLS, productMS, productLS;
    };
    void* value = nullptr;
    UINT length = 0;
    CHECK(VerQueryValueA(block, "\\", &value, &length));
    if (value) {
        const FixedInfo* fixed = static_cast<const FixedInfo*>(value);
        CHECK_EQ_INT(0xFEEF04BDu, fixed->signature);
        CHECK_EQ_INT(0x00000000u, fixed->fileMS);    // 0.0
        CHECK_EQ_INT(0x00020004u, fixed->fileLS);    // .2.4
        CHECK_EQ_INT(0x00000000u, fixed->productMS);
        CHECK_EQ_INT(0x00020004u, fixed->productLS);
    }
    CHECK_EQ_TEXT("0, 0, 2, 4", VersionString(block, "FileVersion"));
    CHECK_EQ_TEXT("0, 0, 2, 4", VersionString(block, "ProductVersion"));
    CHECK_EQ_TEXT("Korbastel for Milkshape3D", VersionString(block, "FileDescription"));
    CHECK_EQ_TEXT("Korbastel", VersionString(block, "ProductName"));
    CHECK_EQ_TEXT("korbastel", VersionString(block, "InternalName"));
    CHECK_EQ_TEXT("korbastel.dll", VersionString(block, "OriginalFilename"));
    free(block);
}
