// The plug-ins' only door to the operating system.
//
// On Windows every function here is the matching Win32 call. On Linux a
// headless twin stands in for the user interface (headless_ui.cpp): message
// boxes and debugger output are recorded, pauses do not pause, and modal
// dialogs and file pickers are answered by a script that the caller (a test,
// or the mshost command) set up beforehand through platform/headless.h; files
// are written through the real POSIX calls (posix_files.cpp). Plug-in logic
// includes this header only and never windows.h, so it runs the same on both.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// An opaque module (library) handle: HMODULE on Windows.
using ModuleHandle = void*;
// An opaque dialog window handle: HWND on Windows.
using DialogHandle = void*;

// Window messages a dialog procedure sees; the values are Win32's.
enum : unsigned {
    kMessageClose = 0x0010,       // WM_CLOSE
    kMessageInitDialog = 0x0110,  // WM_INITDIALOG
    kMessageCommand = 0x0111,     // WM_COMMAND
};

// Command ids Windows sends for Enter / Escape / the close box.
enum : int { kIdOk = 1, kIdCancel = 2 };

// A dialog procedure in portable form: returns nonzero when it handled the message.
using DialogProcedure = intptr_t (*)(DialogHandle dialog, unsigned message, uintptr_t wParam, intptr_t lParam);

// Runs dialog resource `resourceId` of `module` modally, with no owner window.
// Returns the value given to EndDialog, or -1 when the dialog could not be created.
intptr_t RunModalDialog(ModuleHandle module, int resourceId, DialogProcedure procedure, intptr_t initParam);
void EndModalDialog(DialogHandle dialog, intptr_t result);

// Dialog controls. GetItemText reads at most maxChars - 1 characters (Win32's rule).
std::string GetItemText(DialogHandle dialog, int controlId, int maxChars);
void SetItemText(DialogHandle dialog, int controlId, const char* text);
void CheckButton(DialogHandle dialog, int controlId, bool checked);
// True when the check box or option button is checked.
bool IsButtonChecked(DialogHandle dialog, int controlId);

// Modal message box with an OK button and no owner. A null caption uses the
// system's default caption ("Error" on Windows).
void ShowMessageBox(const char* text, const char* caption);

// Debugger output (OutputDebugStringA) and a pause in milliseconds (Sleep).
void DebugOutput(const char* text);
void Pause(unsigned milliseconds);

// The system's open-file dialog. `filter` is Win32's double-zero-terminated
// list of description/pattern pairs. Returns true and the full path when the user picked a file.
struct FileDialogRequest {
    const char* title = nullptr;
    const char* filter = nullptr;       // "Desc\0*.ext\0...\0\0"
    const char* defaultExtension = nullptr;
    unsigned flags = 0;                 // OFN_* flags
    int fileBufferSize = 256;
    int titleBufferSize = 256;
};
bool ShowOpenFileDialog(const FileDialogRequest& request, std::string& chosenPath);
bool ShowSaveFileDialog(const FileDialogRequest& request, std::string& chosenPath);

// The OFN_* flags the plug-ins use (Win32 values).
enum : unsigned {
    kFileOverwritePrompt = 0x00000002,  // OFN_OVERWRITEPROMPT
    kFileHideReadOnly = 0x00000004,     // OFN_HIDEREADONLY
    kFilePathMustExist = 0x00000800,    // OFN_PATHMUSTEXIST
    kFileFileMustExist = 0x00001000,    // OFN_FILEMUSTEXIST
};

// The shell's folder browser with the new dialog style and no new-folder
// button. Returns true and the folder's file-system path when the user picked one.
bool ShowFolderBrowser(const char* title, std::string& chosenPath);

// The module that contains `address` (used to find our own dialog resources
// whatever name the host loaded the library under), or null.
ModuleHandle ModuleContaining(const void* address);

// Memory for a whole file's image: `size` bytes, writable and not cleared,
// or null when there is not that much. Released with ReleaseFileImage(memory,
// size). Large images are asked for so that filling them costs few page
// faults: on Linux in transparent huge pages, populated in one go where the
// kernel allows it; on Windows committed in one call.
void* AllocateFileImage(size_t size);
void ReleaseFileImage(void* memory, size_t size);

// The system's folder for temporary files, ending in a path separator.
std::string TemporaryFolder();

// Output files that replace their target in one step.
//
// What a name stands for when a file is about to be put under it. A link is
// followed: a link to a regular file is kRegularFile, a dangling one kAbsent.
// Devices, pipes, folders and links to them are kOther and are never replaced.
enum class FileKind { kAbsent, kRegularFile, kOther };
FileKind KindOfFile(const char* path);

// True when both names exist and are the same file (through links, too).
bool SameFile(const char* first, const char* second);

// A file created only for the run that made it.
struct TemporaryFile {
    intptr_t handle = -1;  // file descriptor / HANDLE; -1 when none is open
    std::string name;
};

// Creates a new, empty file in the folder of `target` under a name no file
// has yet ("<folder>/<prefix><random>.tmp"). The create is exclusive: an
// existing file or link under the chosen name is never opened, truncated or
// followed; another name is tried instead. Returns false when the folder
// takes no new file. While the file exists it is listed for
// RemoveTemporaryFilesNow.
bool CreateTemporaryFile(const std::string& target, const char* prefix, TemporaryFile* file);
// Writes all `size` bytes, or returns false.
bool WriteTemporaryFile(const TemporaryFile& file, const void* data, size_t size);
// Flushes and closes the file; false when either fails. The name stays.
bool CloseTemporaryFile(TemporaryFile* file);
// Closes (when open) and removes the file, and forgets it.
void DiscardTemporaryFile(TemporaryFile* file);
// Puts the closed temporary file under `target`: only when `target` is
// absent or a regular file, whose permission bits the new file then takes.
// On success the temporary name no longer exists and is forgotten.
bool ReplaceWithTemporaryFile(TemporaryFile* file, const char* target);

// Removes every temporary file of this process that still exists. Safe to
// call from a signal handler; used when the process is interrupted.
void RemoveTemporaryFilesNow();

// Replaces the contents of the regular file `path` with `size` bytes,
// creating it when absent. Never writes through a link nor into a device,
// pipe or folder: then, as when it cannot be opened, nothing is written and
// false is returned.
bool OverwriteRegularFile(const char* path, const void* data, size_t size);

}  // namespace platform
