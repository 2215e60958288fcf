// Loading and driving a plug-in library through its hand-laid table.
#include "mshost/plugins/plugin_runner.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>

#include "host/plugin_abi.h"
#include "mshost/model/model_control.h"
#include "mshost/files/quoted_name.h"

namespace mshost {
namespace {

// Closes the library when the run leaves, whichever way.
struct LibraryHandle {
    void* handle = nullptr;
    ~LibraryHandle() {
        if (handle) dlclose(handle);
    }
};

std::string LastLoaderError() {
    const char* text = dlerror();
    return text ? text : "unknown error";
}

}  // namespace

bool RunPlugIn(const std::string& libraryPath, int expectedKind, msModel* model, platform::headless::DialogScript dialog,
               PlugInRun* run, std::string* error) {
    namespace headless = platform::headless;
    headless::Reset();

    LibraryHandle library;
    library.handle = dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library.handle) {
        *error = "cannot load plug-in " + Quoted(libraryPath) + ": " + LastLoaderError();
        return false;
    }
    auto create = reinterpret_cast<msCreatePlugInFunction>(dlsym(library.handle, "CreatePlugIn"));
    if (!create) {
        *error = "plug-in " + Quoted(libraryPath) + " has no CreatePlugIn";
        return false;
    }
    msPlugInObject* plugIn = create();
    if (!plugIn) {
        *error = "CreatePlugIn of " + Quoted(libraryPath) + " gave no plug-in object";
        return false;
    }

    headless::QueueDialog(std::move(dialog));
    const int destroyedBefore = msModel_GetDestroyCount(model);
    run->kind = msPlugIn_GetType(plugIn);
    if (run->kind != expectedKind) {
        msPlugIn_Delete(plugIn);
        *error = "plug-in " + Quoted(libraryPath) + " is of kind " + std::to_string(run->kind) + ", not " +
                 std::to_string(expectedKind);
        return false;
    }
    const char* title = msPlugIn_GetTitle(plugIn);
    run->title = title ? title : "";
    run->execute = msPlugIn_Execute(plugIn, model);
    msPlugIn_Delete(plugIn);

    run->destroyed = msModel_GetDestroyCount(model) - destroyedBefore;
    run->messages = headless::MessageBoxes();
    run->debugText = headless::DebugText();
    return true;
}

std::string DefaultPlugInPath(const std::string& name) {
    const std::string file = name + ".so";
    if (const char* folder = std::getenv("MSHOST_PLUGIN_DIR"); folder && *folder) {
        return std::string(folder) + "/" + file;
    }
    char self[4096];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) return file;
    std::string folder(self, static_cast<size_t>(length));
    const size_t slash = folder.rfind('/');
    if (slash == std::string::npos) return file;
    folder.resize(slash + 1);
    // In the build tree the plug-ins lie next to mshost; an installed mshost
    // (bin/) finds them in lib/mshost/ of the same prefix, wherever it was moved.
    const std::string nextToHost = folder + file;
    const std::string installed = folder + "../lib/mshost/" + file;
    if (access(nextToHost.c_str(), F_OK) != 0 && access(installed.c_str(), F_OK) == 0) return installed;
    return nextToHost;
}

}  // namespace mshost
