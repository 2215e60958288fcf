// Loads a plug-in library and finds its CreatePlugIn, for one test case.
#pragma once

#include "check.h"
#include "host_plugin.h"

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
