// Runs a plug-in library the way the host does: load it, CreatePlugIn, ask
// for kind and title, execute on the model, delete the object through its
// table, unload. The options dialog is answered by a script on the headless
// platform, whose records (message boxes, debugger output) are the run's.
#pragma once

#include <string>
#include <vector>

#include "host/msLib.h"
#include "platform/headless.h"

namespace mshost {

struct PlugInRun {
    int kind = 0;
    std::string title;
    int execute = 0;
    std::vector<platform::headless::RecordedMessageBox> messages;
    std::string debugText;
    int destroyed = 0;  // msModel_Destroy calls on the model during the run
};

// Clears the platform's records, queues `dialog` for the plug-in's options
// dialog and runs the plug-in in `libraryPath` once on `model`. Returns false
// with a one-line reason when the library cannot be loaded, has no
// CreatePlugIn, CreatePlugIn gives no object, or the object's kind is not
// `expectedKind` (execute is then not called).
bool RunPlugIn(const std::string& libraryPath, int expectedKind, msModel* model, platform::headless::DialogScript dialog,
               PlugInRun* run, std::string* error);

// Where the plug-in library `name` (e.g. "dravelin") is looked for:
// $MSHOST_PLUGIN_DIR/name.so when that variable is set, else name.so in the
// folder of the running mshost executable, else (an installed mshost)
// ../lib/mshost/name.so from that folder.
std::string DefaultPlugInPath(const std::string& name);

}  // namespace mshost
