// One plug-in object of a freshly loaded DLL and a new stand-in model, for one
// check; execute runs while a robot script drives the windows it opens.
#pragma once

#include "check.h"
#include "host_plugin.h"
#include "plugin_loader.h"
#include "ui_robot.h"

namespace wine_test {

struct PlugInSession {
    explicit PlugInSession(const char* dll) : library(dll) {
        plugin = library.create ? library.create() : nullptr;
        model = msModel_Create();
    }
    ~PlugInSession() {
        delete plugin;  // the host's way: the plug-in's own deleting destructor
        msModel_Free(model);
    }
    PlugInSession(const PlugInSession&) = delete;
    PlugInSession& operator=(const PlugInSession&) = delete;

    bool Ready() const { return plugin && model; }

    // Calls execute with `target` while `script` runs on a second thread; returns execute's result.
    int ExecuteDriven(RobotScript script, void* context, msModel* target) {
        Robot robot(script, context);
        const int result = plugin->Execute(target);
        robot.Finish();
        return result;
    }
    int ExecuteDriven(RobotScript script, void* context) { return ExecuteDriven(script, context, model); }

    PlugInLibrary library;
    HostPlugIn* plugin = nullptr;
    msModel* model = nullptr;
};

}  // namespace wine_test
