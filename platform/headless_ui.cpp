// The headless twin of the Win32 user interface (Linux builds): message
// boxes and debugger output are recorded, pauses only counted, and dialogs
// and file pickers answered by what the caller queued (platform/headless.h).
// The files the plug-ins write go through the real POSIX calls: posix_files.cpp.
//
// Dialogs run their procedure for real: WM_INITDIALOG, then the scripted
// actions as WM_COMMAND / WM_CLOSE messages, until the procedure ends the
// dialog. Control texts and check states live in a small per-dialog table.
#include <deque>
#include <dlfcn.h>
#include <map>
#include <set>

#include "headless.h"
#include "platform.h"

namespace platform {
namespace {

struct HeadlessDialog {
    std::map<int, std::string> texts;
    std::set<int> checked;
    bool ended = false;
    intptr_t result = 0;
};

struct HeadlessState {
    std::deque<headless::DialogScript> dialogScripts;
    std::deque<std::optional<std::string>> pickerAnswers;
    std::vector<headless::RecordedMessageBox> messageBoxes;
    std::vector<headless::RecordedPicker> pickers;
    std::string debugText;
    unsigned long long pauseMilliseconds = 0;
    int dialogsRun = 0;
    HeadlessDialog lastDialog;
};

HeadlessState& State() {
    static HeadlessState state;
    return state;
}

std::string FilterAsText(const char* filter) {
    std::string text;
    if (!filter) return text;
    // Pairs of zero-terminated strings, ended by an empty string.
    for (const char* p = filter; *p; p += std::char_traits<char>::length(p) + 1) {
        text += p;
        text += '|';
    }
    return text;
}

bool AnswerPicker(headless::RecordedPicker::Kind kind, const char* title, const char* filter,
                  const char* defaultExtension, unsigned flags, std::string& chosenPath) {
    HeadlessState& state = State();
    state.pickers.push_back({kind, title ? title : "", FilterAsText(filter), defaultExtension ? defaultExtension : "", flags});
    if (state.pickerAnswers.empty()) return false;
    std::optional<std::string> answer = std::move(state.pickerAnswers.front());
    state.pickerAnswers.pop_front();
    if (!answer) return false;
    chosenPath = *answer;
    return true;
}

// The close box sends WM_CLOSE; a dialog procedure that does not handle it
// gets IDCANCEL from the default dialog handling, as on Windows.
void CloseLikeTheCloseBox(DialogProcedure procedure, HeadlessDialog& dialog) {
    if (procedure(&dialog, kMessageClose, 0, 0) == 0 && !dialog.ended) {
        procedure(&dialog, kMessageCommand, kIdCancel, 0);
    }
}

}  // namespace

intptr_t RunModalDialog(ModuleHandle, int, DialogProcedure procedure, intptr_t initParam) {
    HeadlessState& state = State();
    headless::DialogScript script;
    if (!state.dialogScripts.empty()) {
        script = std::move(state.dialogScripts.front());
        state.dialogScripts.pop_front();
    } else {
        script.actions.push_back(headless::CloseBox());
    }
    if (script.fail) return -1;
    ++state.dialogsRun;

    HeadlessDialog dialog;
    procedure(&dialog, kMessageInitDialog, 0, initParam);
    for (const headless::DialogAction& action : script.actions) {
        if (dialog.ended) break;
        switch (action.kind) {
            case headless::DialogAction::kSetText:
                dialog.texts[action.controlId] = action.text;
                break;
            case headless::DialogAction::kSetCheck:
                CheckButton(&dialog, action.controlId, action.checked);
                break;
            case headless::DialogAction::kCommand:
                procedure(&dialog, kMessageCommand, static_cast<uintptr_t>(action.controlId), 0);
                break;
            case headless::DialogAction::kClose:
                CloseLikeTheCloseBox(procedure, dialog);
                break;
        }
    }
    // A script that leaves the dialog open ends the way a user closing the
    // window would; a procedure that ignores even that is cut off with 0.
    if (!dialog.ended) CloseLikeTheCloseBox(procedure, dialog);
    state.lastDialog = dialog;
    return dialog.ended ? dialog.result : 0;
}

void EndModalDialog(DialogHandle dialog, intptr_t result) {
    auto* d = static_cast<HeadlessDialog*>(dialog);
    d->ended = true;
    d->result = result;
}

std::string GetItemText(DialogHandle dialog, int controlId, int maxChars) {
    auto* d = static_cast<HeadlessDialog*>(dialog);
    auto it = d->texts.find(controlId);
    if (it == d->texts.end() || maxChars <= 0) return {};
    std::string text = it->second;
    const size_t limit = static_cast<size_t>(maxChars - 1);
    if (text.size() > limit) text.resize(limit);
    return text;
}

void SetItemText(DialogHandle dialog, int controlId, const char* text) {
    static_cast<HeadlessDialog*>(dialog)->texts[controlId] = text ? text : "";
}

void CheckButton(DialogHandle dialog, int controlId, bool checked) {
    auto* d = static_cast<HeadlessDialog*>(dialog);
    if (checked) {
        d->checked.insert(controlId);
    } else {
        d->checked.erase(controlId);
    }
}

bool IsButtonChecked(DialogHandle dialog, int controlId) {
    return static_cast<HeadlessDialog*>(dialog)->checked.count(controlId) != 0;
}

void ShowMessageBox(const char* text, const char* caption) {
    headless::RecordedMessageBox box;
    box.text = text ? text : "";
    if (caption) box.caption = caption;
    State().messageBoxes.push_back(std::move(box));
}

void DebugOutput(const char* text) {
    if (text) State().debugText += text;
}

void Pause(unsigned milliseconds) { State().pauseMilliseconds += milliseconds; }

bool ShowOpenFileDialog(const FileDialogRequest& request, std::string& chosenPath) {
    return AnswerPicker(headless::RecordedPicker::kOpenFile, request.title, request.filter, request.defaultExtension,
                        request.flags, chosenPath);
}

bool ShowSaveFileDialog(const FileDialogRequest& request, std::string& chosenPath) {
    return AnswerPicker(headless::RecordedPicker::kSaveFile, request.title, request.filter, request.defaultExtension,
                        request.flags, chosenPath);
}

bool ShowFolderBrowser(const char* title, std::string& chosenPath) {
    return AnswerPicker(headless::RecordedPicker::kFolder, title, nullptr, nullptr, 0, chosenPath);
}

ModuleHandle ModuleContaining(const void* address) {
    Dl_info info{};
    if (dladdr(address, &info) == 0) return nullptr;
    return info.dli_fbase;
}

namespace headless {

void QueueDialog(DialogScript script) { State().dialogScripts.push_back(std::move(script)); }
void QueuePickerAnswer(std::optional<std::string> path) { State().pickerAnswers.push_back(std::move(path)); }
const std::vector<RecordedMessageBox>& MessageBoxes() { return State().messageBoxes; }
const std::string& DebugText() { return State().debugText; }
unsigned long long PauseMilliseconds() { return State().pauseMilliseconds; }
const std::vector<RecordedPicker>& Pickers() { return State().pickers; }
int DialogsRun() { return State().dialogsRun; }

std::string LastDialogText(int controlId) {
    const auto& texts = State().lastDialog.texts;
    auto it = texts.find(controlId);
    return it == texts.end() ? std::string() : it->second;
}
bool LastDialogChecked(int controlId) { return State().lastDialog.checked.count(controlId) != 0; }
intptr_t LastDialogResult() { return State().lastDialog.result; }

void Reset() {
    State() = HeadlessState{};
    SetTemporaryFolder(std::nullopt);
}

}  // namespace headless
}  // namespace platform
