// Control of the headless platform twin, for tests and the mshost command.
//
// Only the Linux build has this: it scripts the answers to dialogs and file
// pickers and exposes what the plug-ins showed or wrote.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform::headless {

// One step of a scripted modal dialog, played after the dialog is initialised.
struct DialogAction {
    enum Kind { kSetText, kCommand, kClose, kSetCheck } kind;
    int controlId = 0;     // kSetText, kCommand, kSetCheck
    std::string text;      // kSetText
    bool checked = false;  // kSetCheck
};
inline DialogAction SetText(int controlId, std::string text) { return {DialogAction::kSetText, controlId, std::move(text)}; }
// A check box ticked or cleared the way a click leaves it; like typing into
// a field, it sends the dialog no message.
inline DialogAction SetCheck(int controlId, bool checked) { return {DialogAction::kSetCheck, controlId, {}, checked}; }
inline DialogAction Press(int controlId) { return {DialogAction::kCommand, controlId, {}}; }
inline DialogAction CloseBox() { return {DialogAction::kClose, 0, {}}; }

// What the next RunModalDialog does. `fail` makes it return -1 without
// running the procedure (a dialog that could not be created).
struct DialogScript {
    std::vector<DialogAction> actions;
    bool fail = false;
};

// Queue the script for the next modal dialog (FIFO). A dialog started with no
// script queued is cancelled by a close request after initialisation.
void QueueDialog(DialogScript script);

// Queue answers for the next file or folder picker (FIFO, one queue for the
// three kinds); std::nullopt means the user cancelled. A picker with no answer queued cancels.
void QueuePickerAnswer(std::optional<std::string> path);

struct RecordedMessageBox {
    std::string text;
    std::optional<std::string> caption;  // nullopt: the system's default caption
};

struct RecordedPicker {
    enum Kind { kOpenFile, kSaveFile, kFolder } kind;
    std::string title;
    std::string filter;            // the double-zero list with the zeros as '|'
    std::string defaultExtension;
    unsigned flags = 0;
};

// Everything the plug-ins showed since the last Reset.
const std::vector<RecordedMessageBox>& MessageBoxes();
const std::string& DebugText();           // all debugger output, concatenated
unsigned long long PauseMilliseconds();   // total of the pauses asked for
const std::vector<RecordedPicker>& Pickers();
int DialogsRun();                         // modal dialogs started

// State of the last modal dialog's controls when it ended: text per control id
// and the checked buttons.
std::string LastDialogText(int controlId);
bool LastDialogChecked(int controlId);
intptr_t LastDialogResult();

// Where TemporaryFolder points; by default $TMPDIR or /tmp.
void SetTemporaryFolder(std::optional<std::string> folder);

// Clears every record and every queued answer.
void Reset();

}  // namespace platform::headless
