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

int CNifExportPlugIn::ExportModel() {
    msModel* model = m_model;
    const int meshCount = msModel_GetMeshCount(model);
    const int materialCount = msModel_GetMaterialCount(model);
    if (meshCount <= 0) {
        platform::ShowMessageBox(export_messages::kNoMeshData, nullptr);
        return 0;
    }
    if (materialCount <= 0) {
        platform::ShowMessageBox(export_messages::kNoMaterials, nullptr);
        return 0;
    }

    // The file is created before the model is read so that an unusable name
    // is found first; it stays a temporary file until everything is written.
    ReplacingFile output;
    if (!output.Open(m_outputFileName)) {
        WriteDebugLog(m_outputFileName);
        return 0;
    }

    CNIF4_File file;
    if (!GatherScene(model, meshCount, file)) return 0;  // `output` removes the temporary file
    Nif4Output bytes;
    if (!file.Write(&bytes)) return 0;
    if (!output.Commit(bytes.Bytes().data(), bytes.Size())) {
        platform::ShowMessageBox(export_messages::UnableToWriteFile(m_outputFileName).c_str(), nullptr);
        return 0;
    }
    return 1;
}
