// The Win32 side of the platform layer (Windows builds of the plug-ins).
//
// Each function is the matching Win32 call, made the way the plug-ins' dialogs
// and messages need it: no owner windows, ANSI texts, buffers sized as asked.
#include <windows.h>

#include <commdlg.h>
#include <shlobj.h>

#include <vector>

#include "platform.h"

namespace platform {
namespace {

// The portable procedure and its initialisation value, kept in the dialog's
// window data (DWLP_USER) from WM_INITDIALOG on.
struct DialogBinding {
    DialogProcedure procedure;
    intptr_t initParam;
};

INT_PTR CALLBACK DialogTrampoline(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* binding = reinterpret_cast<DialogBinding*>(lParam);
        SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(binding));
        return binding->procedure(window, message, wParam, binding->initParam);
    }
    // Messages that arrive before WM_INITDIALOG (WM_SETFONT and the like) find
    // no binding yet and get the default handling.
    auto* binding = reinterpret_cast<DialogBinding*>(GetWindowLongPtrA(window, DWLP_USER));
    if (!binding) return FALSE;
    return binding->procedure(window, message, wParam, lParam);
}

// Calls `show` with a filled OPENFILENAMEA and returns the chosen path.
template <class ShowFunction>
bool RunFileDialog(const FileDialogRequest& request, std::string& chosenPath, ShowFunction show) {
    if (request.fileBufferSize <= 0) return false;
    std::vector<char> file(static_cast<size_t>(request.fileBufferSize), '\0');
    std::vector<char> title(request.titleBufferSize > 0 ? static_cast<size_t>(request.titleBufferSize) : 1u, '\0');

    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = nullptr;
    dialog.lpstrFilter = request.filter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrFileTitle = request.titleBufferSize > 0 ? title.data() : nullptr;
    dialog.nMaxFileTitle = request.titleBufferSize > 0 ? static_cast<DWORD>(title.size()) : 0;
    dialog.lpstrInitialDir = nullptr;
    dialog.lpstrTitle = request.title;
    dialog.lpstrDefExt = request.defaultExtension;
    dialog.Flags = request.flags;
    if (!show(&dialog)) return false;
    file.back() = '\0';  // the dialog terminates the path; this only guards the read below
    chosenPath = file.data();
    return true;
}

// Frees an item identifier list with the shell's allocator.
void FreeItemList(LPITEMIDLIST items) {
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator)) && allocator) {
        allocator->Free(items);
        allocator->Release();
    } else {
        CoTaskMemFree(items);
    }
}

}  // namespace

intptr_t RunModalDialog(ModuleHandle module, int resourceId, DialogProcedure procedure, intptr_t initParam) {
    DialogBinding binding{procedure, initParam};
    return DialogBoxParamA(static_cast<HINSTANCE>(module), MAKEINTRESOURCEA(resourceId), nullptr, DialogTrampoline,
                           reinterpret_cast<LPARAM>(&binding));
}

void EndModalDialog(DialogHandle dialog, intptr_t result) { EndDialog(static_cast<HWND>(dialog), result); }

std::string GetItemText(DialogHandle dialog, int controlId, int maxChars) {
    if (maxChars <= 0) return {};
    std::vector<char> buffer(static_cast<size_t>(maxChars), '\0');
    const UINT length = GetDlgItemTextA(static_cast<HWND>(dialog), controlId, buffer.data(), maxChars);
    return std::string(buffer.data(), length < buffer.size() ? length : buffer.size() - 1);
}

void SetItemText(DialogHandle dialog, int controlId, const char* text) {
    SetDlgItemTextA(static_cast<HWND>(dialog), controlId, text ? text : "");
}

void CheckButton(DialogHandle dialog, int controlId, bool checked) {
    CheckDlgButton(static_cast<HWND>(dialog), controlId, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool IsButtonChecked(DialogHandle dialog, int controlId) {
    return IsDlgButtonChecked(static_cast<HWND>(dialog), controlId) == BST_CHECKED;
}

void ShowMessageBox(const char* text, const char* caption) {
    MessageBoxA(nullptr, text ? text : "", caption, MB_OK);
}

void DebugOutput(const char* text) { OutputDebugStringA(text ? text : ""); }

void Pause(unsigned milliseconds) { Sleep(milliseconds); }

bool ShowOpenFileDialog(const FileDialogRequest& request, std::string& chosenPath) {
    return RunFileDialog(request, chosenPath, [](OPENFILENAMEA* dialog) { return GetOpenFileNameA(dialog) != 0; });
}

bool ShowSaveFileDialog(const FileDialogRequest& request, std::string& chosenPath) {
    return RunFileDialog(request, chosenPath, [](OPENFILENAMEA* dialog) { return GetSaveFileNameA(dialog) != 0; });
}

bool ShowFolderBrowser(const char* title, std::string& chosenPath) {
    // The new dialog style needs COM on this thread in a single-threaded
    // apartment. The host normally has it; when it has not, set it up for the
    // browser's lifetime (a thread already in another apartment keeps its own).
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    char displayName[MAX_PATH] = {};
    BROWSEINFOA browse{};
    browse.hwndOwner = nullptr;
    browse.pidlRoot = nullptr;
    browse.pszDisplayName = displayName;
    browse.lpszTitle = title;
    browse.ulFlags = BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON | BIF_RETURNONLYFSDIRS;

    bool chosen = false;
    if (LPITEMIDLIST items = SHBrowseForFolderA(&browse)) {
        char path[MAX_PATH] = {};
        if (SHGetPathFromIDListA(items, path)) {
            path[MAX_PATH - 1] = '\0';
            chosenPath = path;
            chosen = true;
        }
        FreeItemList(items);  // released whether or not a path was obtained
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return chosen;
}

ModuleHandle ModuleContaining(const void* address) {
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<LPCSTR>(address), &module)) {
        return nullptr;
    }
    return module;
}

void* AllocateFileImage(size_t size) {
    return VirtualAlloc(nullptr, size != 0 ? size : 1, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void ReleaseFileImage(void* memory, size_t) {
    if (memory) VirtualFree(memory, 0, MEM_RELEASE);
}

std::string TemporaryFolder() {
    // GetTempPathA answers with the length it needs when the buffer is too small.
    std::vector<char> buffer(MAX_PATH + 1, '\0');
    DWORD length = GetTempPathA(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length >= buffer.size()) {
        buffer.assign(static_cast<size_t>(length) + 1, '\0');
        length = GetTempPathA(static_cast<DWORD>(buffer.size()), buffer.data());
    }
    if (length == 0 || length >= buffer.size()) return {};
    std::string folder(buffer.data(), length);
    if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
    return folder;
}

namespace {

std::string FolderOf(const std::string& path) {
    const size_t separator = path.find_last_of("/\\:");
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

// Opens `path` as it is (a link itself, not its target) to ask what it is.
FileKind KindOfOpenedFile(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &info)) return FileKind::kOther;
    return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? FileKind::kOther : FileKind::kRegularFile;
}

HANDLE OpenForInspection(const char* path) {
    return CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

constexpr int kTemporaryNameAttempts = 100;

}  // namespace

FileKind KindOfFile(const char* path) {
    HANDLE file = OpenForInspection(path);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND ? FileKind::kAbsent : FileKind::kOther;
    }
    const FileKind kind = KindOfOpenedFile(file);
    CloseHandle(file);
    return kind;
}

bool SameFile(const char* first, const char* second) {
    HANDLE a = OpenForInspection(first);
    if (a == INVALID_HANDLE_VALUE) return false;
    HANDLE b = OpenForInspection(second);
    bool same = false;
    if (b != INVALID_HANDLE_VALUE) {
        BY_HANDLE_FILE_INFORMATION infoA;
        BY_HANDLE_FILE_INFORMATION infoB;
        same = GetFileInformationByHandle(a, &infoA) && GetFileInformationByHandle(b, &infoB) &&
               infoA.dwVolumeSerialNumber == infoB.dwVolumeSerialNumber &&
               infoA.nFileIndexHigh == infoB.nFileIndexHigh && infoA.nFileIndexLow == infoB.nFileIndexLow;
        CloseHandle(b);
    }
    CloseHandle(a);
    return same;
}

bool CreateTemporaryFile(const std::string& target, const char* prefix, TemporaryFile* file) {
    const std::string folder = FolderOf(target);
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        char part[32];
        wsprintfA(part, "%08lx%04x", GetTickCount() ^ (GetCurrentProcessId() << 16),
                  static_cast<unsigned>(attempt * 7919 + GetCurrentThreadId()) & 0xFFFF);
        const std::string name = folder + prefix + part + ".tmp";
        // CREATE_NEW fails on any existing name, a link included, and never follows it.
        HANDLE handle = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            file->handle = reinterpret_cast<intptr_t>(handle);
            file->name = name;
            return true;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return false;
    }
    return false;
}

bool WriteTemporaryFile(const TemporaryFile& file, const void* data, size_t size) {
    if (file.handle == -1) return false;
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(reinterpret_cast<HANDLE>(file.handle), bytes, chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes += written;
        size -= written;
    }
    return true;
}

bool CloseTemporaryFile(TemporaryFile* file) {
    if (file->handle == -1) return false;
    HANDLE handle = reinterpret_cast<HANDLE>(file->handle);
    file->handle = -1;
    const bool flushed = FlushFileBuffers(handle) != 0;
    return CloseHandle(handle) != 0 && flushed;
}

void DiscardTemporaryFile(TemporaryFile* file) {
    if (file->handle != -1) {
        CloseHandle(reinterpret_cast<HANDLE>(file->handle));
        file->handle = -1;
    }
    if (!file->name.empty()) {
        DeleteFileA(file->name.c_str());
        file->name.clear();
    }
}

bool ReplaceWithTemporaryFile(TemporaryFile* file, const char* target) {
    if (file->handle != -1 || file->name.empty()) return false;
    if (KindOfFile(target) == FileKind::kOther) return false;
    if (!MoveFileExA(file->name.c_str(), target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return false;
    file->name.clear();
    return true;
}

// Windows ends a process without running code of ours on Ctrl-C inside the
// host, so there is nothing to clean up from here.
void RemoveTemporaryFilesNow() {}

bool OverwriteRegularFile(const char* path, const void* data, size_t size) {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION info;
    bool done = GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &info) &&
                !(info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) &&
                SetEndOfFile(file);
    const char* bytes = static_cast<const char*>(data);
    while (done && size > 0) {
        DWORD written = 0;
        done = WriteFile(file, bytes, static_cast<DWORD>(size > 0x40000000u ? 0x40000000u : size), &written, nullptr) &&
               written > 0;
        bytes += written;
        size -= written;
    }
    return CloseHandle(file) != 0 && done;
}

}  // namespace platform
