// Fuzz target 2: the whole import run on arbitrary bytes, as the host starts
// it: the plug-in object's execute, the options dialog answered with the
// file's name, the load and the conversion into a stand-in model. Execute
// must return 0 or 1 and never let an exception out; a failed load must
// leave the model empty.
#include <cstdlib>
#include <optional>
#include <string>

#include "host/msLib.h"
#include "importer/import_dialog.h"
#include "importer/import_plugin.h"
#include "mshost/model/model_control.h"
#include "platform/headless.h"
#include "platform/platform.h"
#include "tests/fuzz/fuzz_files.h"
#include "tests/fuzz/fuzz_target.h"

namespace headless = platform::headless;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzzfiles::WriteScratchFile("input.nif", data, size);
    headless::Reset();
    headless::QueueDialog({{headless::SetText(kImportFileField, path), headless::SetText(kTextureDirectoryField, "textures"),
                            headless::Press(platform::kIdOk)}});
    ModelPtr model = MakeModel();
    CNifImportPlugIn plugin;
    const int result = plugin.Execute(model.get());
    if (result != 0 && result != 1) std::abort();
    // The importer's error box means the load failed, and a failed load adds nothing.
    for (const headless::RecordedMessageBox& box : headless::MessageBoxes())
        if (box.caption == std::optional<std::string>("NIF Import Error") && msModel_GetMeshCount(model.get()) != 0) std::abort();
    headless::Reset();
    return 0;
}
