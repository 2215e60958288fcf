#include "ui_robot.h"

#include "check.h"
#include "test_files.h"

namespace wine_test {
namespace {

const DWORD kWaitLimit = 20000;   // milliseconds for any one window to appear or go
const DWORD kStuckLimit = 3000;   // a window still open this long after the script ended is stuck
const int kMessageBoxTextId = 0xFFFF;
const int kFileNameEdit = 0x480;  // edt1 of the common file dialog
const int kFileNameCombo = 0x47C; // cmb13, whose edit holds the name on newer systems
const int kFileTypeCombo = 0x470; // cmb1, the file type list

struct WindowSearch {
    const char* caption;
    HWND except;
    HWND found;
};

bool HasClass(HWND window, const char* name) {
    char className[64] = {};
    GetClassNameA(window, className, sizeof(className));
    return strcmp(className, name) == 0;
}

BOOL WINAPI MatchWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    if (window == search->except || !IsWindowVisible(window)) return TRUE;
    if (search->caption) {
        char caption[256] = {};
        GetWindowTextA(window, caption, sizeof(caption));
        if (strcmp(caption, search->caption) != 0) return TRUE;
    } else if (!HasClass(window, "#32770")) {
        return TRUE;
    }
    search->found = window;
    return FALSE;
}

HWND FindWindowOfThread(DWORD thread, const char* caption, HWND except) {
    WindowSearch search = {caption, except, nullptr};
    EnumThreadWindows(thread, MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct ChildList {
    DialogSnapshot* snapshot;
    HWND dialog;
};

BOOL WINAPI RecordChild(HWND child, LPARAM data) {
    auto* list = reinterpret_cast<ChildList*>(data);
    DialogSnapshot* snapshot = list->snapshot;
    if (GetParent(child) != list->dialog || snapshot->controlCount >= 32) return TRUE;
    ControlRecord& control = snapshot->controls[snapshot->controlCount++];
    control.id = GetDlgCtrlID(child);
    GetClassNameA(child, control.className, sizeof(control.className));
    GetWindowTextA(child, control.text, sizeof(control.text));
    control.enabled = IsWindowEnabled(child) != 0;
    control.visible = IsWindowVisible(child) != 0;
    control.checked = strcmp(control.className, "Button") == 0 &&
                      IsDlgButtonChecked(list->dialog, control.id) == BST_CHECKED;
    return TRUE;
}

BOOL WINAPI FindEditChild(HWND child, LPARAM data) {
    if (!HasClass(child, "Edit")) return TRUE;
    *reinterpret_cast<HWND*>(data) = child;
    return FALSE;
}

}  // namespace

const ControlRecord* DialogSnapshot::Find(int id, const char* text) const {
    for (int i = 0; i < controlCount; ++i) {
        if (controls[i].id == id && (!text || strcmp(controls[i].text, text) == 0)) return &controls[i];
    }
    return nullptr;
}

void CheckControls(const DialogSnapshot& snapshot, const char* caption, const ExpectedControl* expected, int count) {
    CHECK_EQ_TEXT(caption, snapshot.caption);
    CHECK_EQ_INT(count, snapshot.controlCount);
    for (int i = 0; i < count && i < snapshot.controlCount; ++i) {
        const ExpectedControl& e = expected[i];
        const ControlRecord& c = snapshot.controls[i];
        if (e.id != c.id || strcmp(e.className, c.className) != 0 || strcmp(e.text, c.text) != 0 ||
            e.enabled != c.enabled || e.checked != c.checked || !c.visible) {
            Fail(__FILE__, __LINE__,
                 "control %d: expected id %d %s \"%s\" enabled %d checked %d, shown id %d %s \"%s\" enabled %d "
                 "checked %d visible %d",
                 i, e.id, e.className, e.text, e.enabled, e.checked, c.id, c.className, c.text, c.enabled, c.checked,
                 c.visible);
        }
    }
}

Robot::Robot(RobotScript script, void* scriptContext)
    : context(scriptContext), pluginThread(GetCurrentThreadId()), script_(script) {
    thread_ = CreateThread(nullptr, 0, &Robot::ThreadMain, this, 0, nullptr);
    if (!thread_) Fail(__FILE__, __LINE__, "CreateThread failed");
}

Robot::~Robot() {
    if (thread_) Finish();
}

void Robot::Finish() {
    executeReturned = true;
    if (!thread_) return;
    if (WaitForSingleObject(thread_, kWaitLimit * 3) == kWaitTimeout) {
        Fail(__FILE__, __LINE__, "the robot thread did not end");
    }
    CloseHandle(thread_);
    thread_ = nullptr;
}

DWORD WINAPI Robot::ThreadMain(void* self) {
    auto* robot = static_cast<Robot*>(self);
    robot->script_(*robot);
    robot->CloseLeftovers();
    return 0;
}

// After the script: until execute returns, any window that stays open is a
// failure; it is recorded and closed so that the run can end.
void Robot::CloseLeftovers() {
    HWND seen = nullptr;
    DWORD seenSince = 0;
    const DWORD start = GetTickCount();
    while (!executeReturned && GetTickCount() - start < kWaitLimit * 2) {
        HWND window = FindWindowOfThread(pluginThread, nullptr, nullptr);
        if (window && window == seen && GetTickCount() - seenSince > kStuckLimit) {
            char caption[256] = {};
            char text[512] = {};
            GetWindowTextA(window, caption, sizeof(caption));
            GetDlgItemTextA(window, kMessageBoxTextId, text, sizeof(text));
            Fail(__FILE__, __LINE__, "window left open: \"%s\" %s", caption, text);
            PostMessageA(window, WM_COMMAND, 2, 0);
            PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
            seenSince = GetTickCount();
        } else if (window != seen) {
            seen = window;
            seenSince = GetTickCount();
        }
        Sleep(50);
    }
}

HWND Robot::WaitForWindow(const char* caption, HWND except) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < kWaitLimit) {
        if (HWND window = FindWindowOfThread(pluginThread, caption, except)) {
            Sleep(100);  // let it finish its initialisation and first paint
            return window;
        }
        if (executeReturned) break;
        Sleep(20);
    }
    Fail(__FILE__, __LINE__, "no window \"%s\" appeared", caption ? caption : "(any dialog)");
    return nullptr;
}

bool Robot::WaitUntilGone(HWND window) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < kWaitLimit) {
        if (!IsWindow(window) || !IsWindowVisible(window)) return true;
        Sleep(20);
    }
    Fail(__FILE__, __LINE__, "window did not close");
    return false;
}

void Robot::TypeInto(HWND edit, const char* text) {
    PostMessageA(edit, EM_SETSEL, 0, -1);  // typing replaces what the field held
    for (const char* p = text; *p; ++p) {
        PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(*p), 1);
    }
    if (!*text) PostMessageA(edit, WM_CHAR, 8, 1);  // backspace clears the selection
}

void Robot::Type(HWND dialog, int controlId, const char* text) {
    HWND edit = GetDlgItem(dialog, controlId);
    if (!edit) {
        Fail(__FILE__, __LINE__, "no control %d to type into", controlId);
        return;
    }
    TypeInto(edit, text);
}

void Robot::Click(HWND dialog, int controlId) {
    HWND button = GetDlgItem(dialog, controlId);
    if (!button) {
        Fail(__FILE__, __LINE__, "no button %d to click", controlId);
        return;
    }
    PostMessageA(button, BM_CLICK, 0, 0);
}

void Robot::PressKey(HWND dialog, int controlId, unsigned virtualKey) {
    HWND control = GetDlgItem(dialog, controlId);
    PostMessageA(control ? control : dialog, WM_KEYDOWN, virtualKey, 1);
    PostMessageA(control ? control : dialog, WM_KEYUP, virtualKey, static_cast<LPARAM>(0xC0000001u));
}

void Robot::PressCloseBox(HWND window) { PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); }

void Robot::ReadText(HWND dialog, int controlId, char* text, int max) {
    text[0] = '\0';
    GetDlgItemTextA(dialog, controlId, text, max);
}

bool Robot::AnswerMessageBox(MessageBoxRecord* record, HWND except) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < kWaitLimit) {
        HWND window = FindWindowOfThread(pluginThread, nullptr, except);
        if (window && GetDlgItem(window, kMessageBoxTextId)) {
            Sleep(100);
            GetWindowTextA(window, record->caption, sizeof(record->caption));
            GetDlgItemTextA(window, kMessageBoxTextId, record->text, sizeof(record->text));
            Click(window, 1);  // OK
            return WaitUntilGone(window);
        }
        if (executeReturned) break;
        Sleep(20);
    }
    Fail(__FILE__, __LINE__, "no message box appeared");
    return false;
}

bool Robot::AnswerFilePicker(const char* caption, HWND except, const char* path, int filterIndex) {
    HWND picker = WaitForWindow(caption, except);
    if (!picker) return false;
    if (filterIndex > 0) {
        // Picking an entry of the list sends the same notification.
        HWND types = GetDlgItem(picker, kFileTypeCombo);
        if (!types) {
            Fail(__FILE__, __LINE__, "the file picker has no file type list");
        } else {
            SendMessageA(types, CB_SETCURSEL, static_cast<WPARAM>(filterIndex - 1), 0);
            PostMessageA(picker, WM_COMMAND, static_cast<WPARAM>(kFileTypeCombo | (CBN_SELCHANGE << 16)),
                         reinterpret_cast<LPARAM>(types));
            PostMessageA(picker, WM_COMMAND, static_cast<WPARAM>(kFileTypeCombo | (CBN_SELENDOK << 16)),
                         reinterpret_cast<LPARAM>(types));
            Sleep(100);
        }
    }
    if (!path) {
        Click(picker, 2);
        return WaitUntilGone(picker);
    }
    HWND edit = GetDlgItem(picker, kFileNameEdit);
    if (!edit || !HasClass(edit, "Edit")) {
        edit = nullptr;
        if (HWND combo = GetDlgItem(picker, kFileNameCombo)) EnumChildWindows(combo, FindEditChild, reinterpret_cast<LPARAM>(&edit));
    }
    if (!edit) {
        Fail(__FILE__, __LINE__, "the file picker has no file name field");
        Click(picker, 2);
        return false;
    }
    TypeInto(edit, path);
    Sleep(100);
    Click(picker, 1);
    return WaitUntilGone(picker);
}

bool Robot::AnswerFolderBrowser(HWND except, const char* folder) {
    HWND browser = WaitForWindow(nullptr, except);
    if (!browser) return false;
    if (!folder) {
        Click(browser, 2);
        return WaitUntilGone(browser);
    }
    // BFFM_SETSELECTION selects a folder as a click in the tree would.
    SendMessageA(browser, BFFM_SETSELECTIONA, 1, reinterpret_cast<LPARAM>(folder));
    Sleep(200);
    Click(browser, 1);
    return WaitUntilGone(browser);
}

void Robot::Snapshot(HWND dialog, DialogSnapshot* snapshot) {
    memset(snapshot, 0, sizeof(*snapshot));
    GetWindowTextA(dialog, snapshot->caption, sizeof(snapshot->caption));
    ChildList list = {snapshot, dialog};
    EnumChildWindows(dialog, RecordChild, reinterpret_cast<LPARAM>(&list));
}

bool Robot::HoldForScreenshot(HWND window, const char* name) {
    char readyName[64];
    char doneName[64];
    char readyPath[512];
    char donePath[512];
    wsprintfA(readyName, "%s.ready", name);
    wsprintfA(doneName, "%s.done", name);
    if (!WorkPath(readyName, readyPath, sizeof(readyPath)) || !WorkPath(doneName, donePath, sizeof(donePath))) return false;
    Sleep(500);  // the first paint of every control
    RECT rect = {};
    GetWindowRect(window, &rect);
    char line[128];
    const int length = wsprintfA(line, "%d %d %d %d\n", (int)rect.left, (int)rect.top, (int)(rect.right - rect.left),
                                 (int)(rect.bottom - rect.top));
    if (!WriteWholeFile(readyPath, line, static_cast<DWORD>(length))) {
        Fail(__FILE__, __LINE__, "cannot write %s", readyPath);
        return false;
    }
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < kWaitLimit) {
        if (FileExists(donePath)) return true;
        Sleep(50);
    }
    Fail(__FILE__, __LINE__, "no screenshot was taken of %s", name);
    return false;
}

}  // namespace wine_test
