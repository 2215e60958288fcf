// Drives a modal dialog from a second thread, the way a person would: waits
// for the window, types into fields, clicks buttons, presses keys, answers
// message boxes and the file and folder pickers. Every wait has a time limit;
// a script that gets stuck leaves the windows to the clean-up, which closes
// whatever the plug-in still shows so that execute returns.
#pragma once

#include "win32_api.h"

namespace wine_test {

struct MessageBoxRecord {
    char caption[256];
    char text[2048];
};

// One control of a dialog as the robot saw it.
struct ControlRecord {
    int id;
    char className[32];
    char text[256];
    bool enabled;
    bool visible;
    bool checked;
};

struct DialogSnapshot {
    char caption[256];
    int controlCount;
    ControlRecord controls[32];
    const ControlRecord* Find(int id, const char* text = nullptr) const;
};

// What a control should show: id, window class, text, enabled and checked.
struct ExpectedControl {
    int id;
    const char* className;
    const char* text;
    bool enabled;
    bool checked;
};

// Checks the caption and every control, in template order (child windows keep it),
// each visible and as `expected` says.
void CheckControls(const DialogSnapshot& snapshot, const char* caption, const ExpectedControl* expected, int count);

class Robot;
using RobotScript = void (*)(Robot& robot);

class Robot {
public:
    // Starts `script` on a second thread; the calling thread (the plug-in's)
    // then runs execute. `context` is for the script's own use.
    Robot(RobotScript script, void* context);
    ~Robot();
    // Called after execute returned: waits for the script and the clean-up.
    void Finish();

    // --- used by scripts, on the robot's thread ---
    // A visible top-level window of the plug-in's thread with this caption
    // (any #32770 dialog other than `except` when caption is null), or null after the time limit.
    HWND WaitForWindow(const char* caption, HWND except = nullptr);
    bool WaitUntilGone(HWND window);
    void Type(HWND dialog, int controlId, const char* text);
    void TypeInto(HWND edit, const char* text);
    void Click(HWND dialog, int controlId);
    void PressKey(HWND dialog, int controlId, unsigned virtualKey);
    void PressCloseBox(HWND window);
    // Waits for a message box (a window other than `except`), records its
    // caption and text, presses OK.
    bool AnswerMessageBox(MessageBoxRecord* record, HWND except = nullptr);
    // Answers an open or save file dialog with a typed name (null: Cancel),
    // after choosing its file type `filterIndex` (1-based; 0 leaves the first).
    bool AnswerFilePicker(const char* caption, HWND except, const char* path, int filterIndex = 0);
    // Answers the folder browser with a folder (null: Cancel).
    bool AnswerFolderBrowser(HWND except, const char* folder);
    void Snapshot(HWND dialog, DialogSnapshot* snapshot);
    // Writes "<work>\\NAME.ready" with the window's screen rectangle, then
    // waits (bounded) for the test script to answer with "NAME.done" once it
    // has taken its screenshot.
    bool HoldForScreenshot(HWND window, const char* name);
    void ReadText(HWND dialog, int controlId, char* text, int max);

    void* context;
    DWORD pluginThread;
    volatile bool executeReturned = false;

private:
    static DWORD WINAPI ThreadMain(void* self);
    void CloseLeftovers();
    RobotScript script_;
    HANDLE thread_ = nullptr;
};

}  // namespace wine_test
