// dravelin.dll's dialog 101 field by field: language, frame, font, and every
// control's id, class, text, rectangle and style in template order.
#include "check.h"
#include "resource_checks.h"

using namespace wine_test;

namespace {

enum : DWORD {
    kTabStop = 0x00010000, kGroup = 0x00020000,
    kBorder = 0x00800000, kDisabled = 0x08000000, kAutoHScroll = 0x0080,
    kPushButton = 0, kDefPushButton = 1, kAutoCheckBox = 3,
};
enum { kButton = 0x80, kEdit = 0x81, kStatic = 0x82 };

}  // namespace

WINE_TEST(Resources, ImporterDialogMatchesItsTable) {
    DialogTemplate t;
    if (!LoadDialogTemplate("dravelin.dll", 101, 0x0809, &t)) return;  // English (United Kingdom)
    // popup, caption, system menu, modal frame; DS_SETFONT for the font.
    CHECK_EQ_INT(0x80000000u | 0x00C00000u | 0x00080000u | 0x80u | 0x40u, t.style);
    CHECK_EQ_INT(0, t.x);
    CHECK_EQ_INT(0, t.y);
    CHECK_EQ_INT(362, t.cx);
    CHECK_EQ_INT(105, t.cy);
    CHECK(!t.hasMenu && !t.hasClass);
    CHECK_EQ_TEXT("Dravelin Version 0.02", t.caption);
    CHECK_EQ_INT(8, t.pointSize);
    CHECK_EQ_TEXT("MS Sans Serif", t.font);
    const TemplateControl expected[] = {
        {0, kDefPushButton | kTabStop, 110, 84, 50, 14, 1, kButton, "OK"},
        {0, kPushButton | kTabStop, 200, 84, 50, 14, 2, kButton, "Cancel"},
        {0, kGroup, 7, 7, 30, 14, -1, kStatic, "Filename"},
        {0, kGroup, 7, 35, 91, 11, -1, kStatic, "Texture Location"},
        {0, kBorder | kAutoHScroll | kTabStop, 39, 7, 302, 14, 1000, kEdit, ""},
        {0, kBorder | kAutoHScroll | kTabStop, 13, 46, 328, 14, 1001, kEdit, ""},
        {0, kPushButton | kTabStop, 344, 7, 11, 14, 1002, kButton, "..."},
        {0, kPushButton | kTabStop, 344, 46, 11, 14, 1003, kButton, "..."},
        {0, kAutoCheckBox | kTabStop, 7, 65, 87, 10, 1004, kButton, "Produce Debug Dump"},
        {0, kBorder | kAutoHScroll | kTabStop | kDisabled, 98, 65, 257, 14, 1005, kEdit, ""},
        {0, kAutoCheckBox | kTabStop, 7, 86, 98, 10, 1006, kButton, "Apply scene transforms"},
    };
    CheckTemplateControls(t, expected, sizeof(expected) / sizeof(expected[0]));
}
