// Loads a plug-in library and finds its CreatePlugIn, for one test case.
#pragma once

#include "check.h"
#include "host_plugin.h"

// Whether a DLL of that name lies next to the test host (built at all).
inline bool BuiltNextToHost(const char* fileName) {
    char path[600] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, 512);
    if (length == 0 || length >= 512) return false;
    char* slash = strrchr(path, '\\');
    if (!slash) return false;
    strcpy(slash + 1, fileName);
    return GetFileAttributesA(path) != kInvalidAttributes;
}

struct PlugInLibrary {
    explicit PlugInLibrary(const char* fileName) {
        module = LoadLibraryA(fileName);
        if (!module) {
            wine_test::Fail(__FILE__, __LINE__, "LoadLibrary(%s) failed, error %d", fileName, (int)GetLastError());
            return;
        }
        create = reinterpret_cast<CreatePlugInFunction>(GetProcAddress(module, "CreatePlugIn"));
        if (!create) wine_test::Fail(__FILE__, __LINE__, "%s exports no CreatePlugIn", fileName);
    }
    ~PlugInLibrary() {
        if (module) FreeLibrary(module);
    }
    PlugInLibrary(const PlugInLibrary&) = delete;
    PlugInLibrary& operator=(const PlugInLibrary&) = delete;

    HMODULE module = nullptr;
    CreatePlugInFunction create = nullptr;
};
