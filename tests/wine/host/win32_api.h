// The few Win32 and C runtime functions the test host uses, declared by hand.
//
// The test host is compiled in the Microsoft C++ ABI without the Windows SDK
// or the Microsoft C runtime, so it declares what it calls itself and links
// against the system DLLs' import libraries (kernel32, user32, gdi32,
// version and msvcrt, which Wine provides like Windows does).
#pragma once

#include <stdarg.h>
#include <stddef.h>
#include <stdint.h>

#define WINAPI __stdcall
#define IMPORT __declspec(dllimport)

typedef struct HWND__* HWND;
typedef void* HANDLE;
typedef void* HMODULE;
typedef void* HRSRC;
typedef void* HGLOBAL;
typedef void* HDC;
typedef void* HBITMAP;
typedef void* HGDIOBJ;
typedef unsigned long DWORD;
typedef unsigned int UINT;
typedef int BOOL;
enum : BOOL { FALSE = 0, TRUE = 1 };
typedef intptr_t LPARAM;
typedef uintptr_t WPARAM;
typedef intptr_t LRESULT;

typedef BOOL(WINAPI* WNDENUMPROC)(HWND, LPARAM);
typedef DWORD(WINAPI* THREAD_START)(void*);

struct RECT {
    long left, top, right, bottom;
};

struct GUITHREADINFO {
    DWORD cbSize, flags;
    HWND hwndActive, hwndFocus, hwndCapture, hwndMenuOwner, hwndMoveSize, hwndCaret;
    RECT rcCaret;
};

extern "C" {
// kernel32
IMPORT HANDLE WINAPI GetStdHandle(DWORD which);
IMPORT BOOL WINAPI WriteFile(HANDLE file, const void* data, DWORD size, DWORD* written, void* overlapped);
IMPORT BOOL WINAPI ReadFile(HANDLE file, void* data, DWORD size, DWORD* read, void* overlapped);
IMPORT HANDLE WINAPI CreateFileA(const char* name, DWORD access, DWORD share, void* security, DWORD creation,
                                 DWORD flags, HANDLE templateFile);
IMPORT DWORD WINAPI GetFileSize(HANDLE file, DWORD* high);
IMPORT DWORD WINAPI GetFileAttributesA(const char* name);
IMPORT BOOL WINAPI DeleteFileA(const char* name);
IMPORT BOOL WINAPI CloseHandle(HANDLE handle);
IMPORT void WINAPI ExitProcess(UINT code);
IMPORT HMODULE WINAPI LoadLibraryA(const char* name);
IMPORT HMODULE WINAPI LoadLibraryExA(const char* name, HANDLE reserved, DWORD flags);
IMPORT BOOL WINAPI FreeLibrary(HMODULE module);
IMPORT void* WINAPI GetProcAddress(HMODULE module, const char* name);
IMPORT HMODULE WINAPI GetModuleHandleA(const char* name);
IMPORT DWORD WINAPI GetModuleFileNameA(HMODULE module, char* name, DWORD size);
IMPORT HANDLE WINAPI CreateThread(void* security, size_t stack, THREAD_START start, void* parameter, DWORD flags,
                                  DWORD* id);
IMPORT DWORD WINAPI WaitForSingleObject(HANDLE handle, DWORD milliseconds);
IMPORT DWORD WINAPI GetCurrentThreadId();
IMPORT void WINAPI Sleep(DWORD milliseconds);
IMPORT DWORD WINAPI GetTickCount();
IMPORT DWORD WINAPI GetLastError();
IMPORT HRSRC WINAPI FindResourceExA(HMODULE module, const char* type, const char* name, unsigned short language);
IMPORT HGLOBAL WINAPI LoadResource(HMODULE module, HRSRC resource);
IMPORT void* WINAPI LockResource(HGLOBAL data);
IMPORT DWORD WINAPI SizeofResource(HMODULE module, HRSRC resource);
IMPORT DWORD WINAPI GetFullPathNameA(const char* name, DWORD size, char* buffer, char** filePart);
IMPORT DWORD WINAPI GetTempPathA(DWORD size, char* buffer);

// user32
IMPORT BOOL WINAPI EnumThreadWindows(DWORD thread, WNDENUMPROC callback, LPARAM data);
IMPORT BOOL WINAPI EnumChildWindows(HWND parent, WNDENUMPROC callback, LPARAM data);
IMPORT int WINAPI GetClassNameA(HWND window, char* name, int max);
IMPORT int WINAPI GetWindowTextA(HWND window, char* text, int max);
IMPORT HWND WINAPI GetDlgItem(HWND dialog, int id);
IMPORT int WINAPI GetDlgCtrlID(HWND window);
IMPORT UINT WINAPI GetDlgItemTextA(HWND dialog, int id, char* text, int max);
IMPORT UINT WINAPI IsDlgButtonChecked(HWND dialog, int id);
IMPORT BOOL WINAPI IsWindowEnabled(HWND window);
IMPORT BOOL WINAPI IsWindowVisible(HWND window);
IMPORT BOOL WINAPI IsWindow(HWND window);
IMPORT HWND WINAPI GetParent(HWND window);
IMPORT long WINAPI GetWindowLongA(HWND window, int index);
IMPORT BOOL WINAPI GetWindowRect(HWND window, RECT* rect);
IMPORT BOOL WINAPI GetClientRect(HWND window, RECT* rect);
IMPORT BOOL WINAPI MapDialogRect(HWND dialog, RECT* rect);
IMPORT BOOL WINAPI ScreenToClient(HWND window, void* point);
IMPORT LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
IMPORT BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
IMPORT BOOL WINAPI GetGUIThreadInfo(DWORD thread, GUITHREADINFO* info);
IMPORT BOOL WINAPI SetForegroundWindow(HWND window);
IMPORT HDC WINAPI GetWindowDC(HWND window);
IMPORT int WINAPI ReleaseDC(HWND window, HDC dc);
IMPORT int __cdecl wsprintfA(char* buffer, const char* format, ...);

// gdi32
IMPORT HDC WINAPI CreateCompatibleDC(HDC dc);
IMPORT HBITMAP WINAPI CreateCompatibleBitmap(HDC dc, int width, int height);
IMPORT HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object);
IMPORT BOOL WINAPI BitBlt(HDC target, int x, int y, int width, int height, HDC source, int sx, int sy, DWORD rop);
IMPORT BOOL WINAPI DeleteDC(HDC dc);
IMPORT BOOL WINAPI DeleteObject(HGDIOBJ object);

// version
IMPORT DWORD WINAPI GetFileVersionInfoSizeA(const char* file, DWORD* handle);
IMPORT BOOL WINAPI GetFileVersionInfoA(const char* file, DWORD handle, DWORD size, void* data);
IMPORT BOOL WINAPI VerQueryValueA(const void* block, const char* subBlock, void** value, UINT* size);

// msvcrt
IMPORT int __cdecl printf(const char* format, ...);
IMPORT int __cdecl vprintf(const char* format, va_list args);
IMPORT int __cdecl _vsnprintf(char* buffer, size_t size, const char* format, va_list args);
IMPORT int __cdecl fflush(void* stream);
IMPORT int __cdecl strcmp(const char* a, const char* b);
IMPORT int __cdecl strncmp(const char* a, const char* b, size_t n);
IMPORT size_t __cdecl strlen(const char* text);
IMPORT char* __cdecl strcpy(char* to, const char* from);
IMPORT char* __cdecl strncpy(char* to, const char* from, size_t n);
IMPORT char* __cdecl strcat(char* to, const char* from);
IMPORT char* __cdecl strncat(char* to, const char* from, size_t n);
IMPORT char* __cdecl strrchr(const char* text, int c);
IMPORT void* __cdecl memcpy(void* to, const void* from, size_t size);
IMPORT void* __cdecl memset(void* to, int value, size_t size);
IMPORT int __cdecl memcmp(const void* a, const void* b, size_t size);
IMPORT void* __cdecl malloc(size_t size);
IMPORT void __cdecl free(void* memory);
}

// Constants (Win32 values).
enum : DWORD {
    kStdOutput = static_cast<DWORD>(-11),
    kGenericRead = 0x80000000u,
    kGenericWrite = 0x40000000u,
    kOpenExisting = 3,
    kCreateAlways = 2,
    kFileShareRead = 1,
    kInvalidAttributes = 0xFFFFFFFFu,
    kWaitTimeout = 0x102,
    kLoadAsDataFile = 0x2,
};

enum : UINT {
    WM_SETTEXT = 0x000C,
    WM_CLOSE = 0x0010,
    WM_KEYDOWN = 0x0100,
    WM_KEYUP = 0x0101,
    WM_CHAR = 0x0102,
    WM_COMMAND = 0x0111,
    WM_SYSCOMMAND = 0x0112,
    WM_USER = 0x0400,
    EM_SETSEL = 0x00B1,
    BM_CLICK = 0x00F5,
    CB_SETCURSEL = 0x014E,
    CBN_SELCHANGE = 1,
    CBN_SELENDOK = 9,
    SC_CLOSE = 0xF060,
    VK_RETURN = 0x0D,
    VK_ESCAPE = 0x1B,
    BST_CHECKED = 1,
    BFFM_SETSELECTIONA = WM_USER + 102,
};

enum : long {
    GWL_STYLE = -16,
    GWL_EXSTYLE = -20,
    WS_DISABLED = 0x08000000L,
};
