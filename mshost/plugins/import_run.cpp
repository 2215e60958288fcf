// The importer's run shared by import and render.
#include "mshost/plugins/import_run.h"

#include <new>

#include "host/plugin_abi.h"
#include "importer/module_state.h"
#include "importer/nif/messages.h"
#include "mshost/files/file_io.h"
#include "mshost/files/quoted_name.h"
#include "mshost/formats/model_files.h"
#include "platform/platform.h"

namespace mshost {
namespace {

// The importer dialog's fields and its "Apply scene transforms" box.
constexpr int kFileField = 1000;
constexpr int kTextureField = 1001;
constexpr int kApplyTransformsBox = 1006;
// The longest text the importer's file-name and texture-directory fields keep:
// their buffers end in a zero at position 1000.
constexpr size_t kImporterFieldLimit = kImportPathBufferSize - 2;

// The importer refuses names its fields cannot hold; so does mshost, before the run.
bool CheckImporterField(const std::string& text, std::string* error) {
    if (text.size() <= kImporterFieldLimit) return true;
    *error = Quoted(text) + ": names longer than 999 characters are not supported";
    return false;
}

}  // namespace

bool RunImporter(const CommandLine& line, msModel* model, PlugInRun* run, std::string* error) {
    platform::headless::DialogScript dialog;
    dialog.actions = {platform::headless::SetText(kFileField, line.input),
                      platform::headless::SetText(kTextureField, line.textures.value_or(""))};
    if (line.applyTransforms) dialog.actions.push_back(platform::headless::SetCheck(kApplyTransformsBox, true));
    dialog.actions.push_back(platform::headless::Press(platform::kIdOk));
    const std::string library = line.plugIn.value_or(DefaultPlugInPath("dravelin"));
    return RunPlugIn(library, eTypeImport, model, std::move(dialog), run, error);
}

bool CheckImportInputs(const CommandLine& line, std::string* error) {
    if (!CheckImporterField(line.input, error)) return false;
    if (line.textures && !CheckImporterField(*line.textures, error)) return false;
    if (!CheckInputFile(line.input.c_str(), error)) return false;
    return !line.modelIn || CheckInputFile(line.modelIn->c_str(), error);
}

bool LoadModelReportingMemory(const std::string& path, msModel* model, std::string* error) {
    try {
        return LoadModelFile(path.c_str(), model, error);
    } catch (const std::bad_alloc&) {
        *error = "out of memory while reading " + Quoted(path);
        return false;
    }
}

std::optional<std::string> ImportFailure(const PlugInRun& run) {
    for (const auto& box : run.messages) {
        if (box.caption && *box.caption == nif_messages::kImportErrorCaption) return OneLine(box.text);
    }
    if (run.execute != 0) return "execute returned " + std::to_string(run.execute);
    return std::nullopt;
}

std::string OneLine(std::string text) {
    for (char& c : text) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    return text;
}

}  // namespace mshost
