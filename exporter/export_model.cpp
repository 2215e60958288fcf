// The export run: checks the model, gathers it into a scene, serialises the
// scene in memory and puts the file in place in one checked step.
#include <cstring>

#include "exporter/debug_log.h"
#include "exporter/export_messages.h"
#include "exporter/export_plugin.h"
#include "exporter/model_to_scene.h"
#include "exporter/nif4/nif4_file.h"
#include "exporter/replacing_file.h"
#include "platform/platform.h"

ExportResult CNifExportPlugIn::RunExportUnguarded() {
    msModel* model = model_;
    const int meshCount = msModel_GetMeshCount(model);
    const int materialCount = msModel_GetMaterialCount(model);
    if (meshCount <= 0) return {0, export_messages::kNoMeshData};
    if (materialCount <= 0) return {0, export_messages::kNoMaterials};

    // The file is created before the model is read so that an unusable name
    // is found first; it stays a temporary file until everything is written.
    ReplacingFile output;
    if (!output.Open(outputFileName_)) {
        WriteDebugLog(outputFileName_);
        return {0, {}};
    }

    CNIF4_File file;
    std::string failure;
    const TextureNaming naming =
        ConfirmedExportOptions().textureFileNamesOnly ? TextureNaming::kFileNameOnly : TextureNaming::kAsHeld;
    if (!GatherScene(model, meshCount, naming, file, &failure)) return {0, failure};  // `output` removes the temporary file
    Nif4Output bytes;
    if (!file.Write(&bytes)) return {0, {}};
    if (!output.Commit(bytes.Bytes().data(), bytes.Size())) return {0, export_messages::UnableToWriteFile(outputFileName_)};
    return {1, {}};
}
