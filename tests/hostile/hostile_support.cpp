#include "tests/hostile/hostile_support.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "host/msLib.h"
#include "importer/import_run.h"
#include "importer/nif/debug_printer.h"
#include "importer/nif/nif_file.h"
#include "importer/nif/qiv_stream.h"
#include "importer/nif/text_exception.h"
#include "mshost/model/model_control.h"
#include "platform/headless.h"
#include "tests/support/allocation_meter.h"

namespace hostile {

LoadOutcome LoadBytes(const unsigned char* bytes, size_t size) {
    platform::headless::Reset();
    LoadOutcome outcome;
    {
        AllocationMeter meter;
        DebugPrinter printer;
        Qiv_Stream stream(&printer);
        try {
            stream.OpenBytes(bytes, size, "hostile.nif");
            NifFile file(&stream);
            outcome.loaded = true;
            outcome.blockCount = file.GetBlockCount();
        } catch (const TextException& error) {
            outcome.failure = error.Text();
        }
        // The stream views the caller's bytes: they are the load's image, counted as such.
        outcome.peakBytes = meter.PeakBytes() + size;
    }
    outcome.debugText = platform::headless::DebugText();
    outcome.pauseMilliseconds = platform::headless::PauseMilliseconds();
    platform::headless::Reset();
    return outcome;
}

namespace {

void AddExistingContent(msModel* model) {
    msMesh* mesh = msModel_GetMeshAt(model, msModel_AddMesh(model));
    msMesh_SetName(mesh, "Existing");
    msMesh_AddVertex(mesh);
    msMaterial* material = msModel_GetMaterialAt(model, msModel_AddMaterial(model));
    msMaterial_SetName(material, "Kept");
}

bool StillOnlyExistingContent(msModel* model) {
    if (msModel_GetMeshCount(model) != 1 || msModel_GetMaterialCount(model) != 1 || msModel_GetBoneCount(model) != 0)
        return false;
    char name[32] = {};
    msMesh_GetName(msModel_GetMeshAt(model, 0), name, 31);
    return std::string(name) == "Existing" && msMesh_GetVertexCount(msModel_GetMeshAt(model, 0)) == 1 &&
           msMesh_GetTriangleCount(msModel_GetMeshAt(model, 0)) == 0;
}

}  // namespace

ImportOutcome ImportBytes(const std::vector<unsigned char>& bytes) {
    platform::headless::Reset();
    ImportOutcome outcome;
    TempNifFile file(bytes);
    ModelPtr model = MakeModel();
    AddExistingContent(model.get());
    {
        AllocationMeter meter;
        try {
            outcome.result = ImportNifFile(model.get(), file.Path().c_str(), "");
        } catch (const TextException& error) {
            outcome.failure = error.Text();
        }
        // The file's image comes from the platform layer, not the heap: counted here.
        outcome.peakBytes = meter.PeakBytes() + bytes.size();
    }
    outcome.modelUnchanged = StillOnlyExistingContent(model.get());
    outcome.debugText = platform::headless::DebugText();
    outcome.messageBoxCount = static_cast<int>(platform::headless::MessageBoxes().size());
    platform::headless::Reset();
    return outcome;
}

int LineCount(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

std::vector<unsigned char> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ExamplePath(const std::string& name) { return std::string(NIF_BINARY_DIR) + "/examples/" + name; }

std::string SharedNifPath(const std::string& name) { return std::string(NIF_SHARED_DIR) + "/corpus/nif/" + name; }

bool SharedCorpusPresent() { return std::filesystem::is_directory(std::string(NIF_SHARED_DIR) + "/corpus/nif"); }

}  // namespace hostile
