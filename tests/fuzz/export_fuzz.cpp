// Fuzz target 3: the whole export run on a model decoded from the fuzz bytes
// (model_bytes.h), as the host starts it: execute, the options dialog
// answered with an output name in a scratch folder, OK. Afterwards:
// - a successful run (0) released the model once and left exactly the output
//   file, which our reader loads;
// - any other run (-1) left the model alone and no file behind at all.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "exporter/export_plugin.h"
#include "host/msLib.h"
#include "importer/nif/debug_printer.h"
#include "importer/nif/nif_file.h"
#include "importer/nif/qiv_stream.h"
#include "importer/nif/text_exception.h"
#include "mshost/model/model_control.h"
#include "platform/headless.h"
#include "platform/platform.h"
#include "tests/fuzz/fuzz_files.h"
#include "tests/fuzz/fuzz_target.h"
#include "tests/fuzz/model_bytes.h"

namespace headless = platform::headless;

namespace {

// The output goes alone into its own folder; the debug log into another.
struct Folders {
    std::filesystem::path output, temporary;
    Folders() {
        output = std::filesystem::path(fuzzfiles::ScratchFolder()) / "out";
        temporary = std::filesystem::path(fuzzfiles::ScratchFolder()) / "temp";
        std::filesystem::create_directories(output);
        std::filesystem::create_directories(temporary);
    }
};

int FilesIn(const std::filesystem::path& folder) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        (void)entry;
        ++count;
    }
    return count;
}

bool ReadsBack(const std::string& path) {
    DebugPrinter printer;
    Qiv_Stream stream(&printer);
    try {
        stream.OpenFile(path.c_str());
        NifFile file(&stream);
        return true;
    } catch (const TextException&) {
        return false;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const Folders folders;
    const std::string output = (folders.output / "model.nif").string();
    headless::Reset();
    headless::SetTemporaryFolder(folders.temporary.string());
    headless::QueueDialog({{headless::SetText(kControlFileName, output), headless::Press(platform::kIdOk)}});

    ModelPtr model = MakeModel();
    modelbytes::DecodeModel(data, size, model.get());
    const int meshes = msModel_GetMeshCount(model.get());
    CNifExportPlugIn plugin;
    const int result = plugin.Execute(model.get());

    if (result == 0) {
        if (msModel_GetDestroyCount(model.get()) != 1) std::abort();
        if (FilesIn(folders.output) != 1 || !ReadsBack(output)) std::abort();
    } else {
        if (result != -1) std::abort();
        if (msModel_GetDestroyCount(model.get()) != 0 || msModel_GetMeshCount(model.get()) != meshes) std::abort();
        if (FilesIn(folders.output) != 0) std::abort();
    }
    std::error_code ignored;
    std::filesystem::remove(output, ignored);
    headless::Reset();
    return 0;
}
