// The importer's run shared by import and render.
#include "mshost/plugins/import_run.h"

#include "host/plugin_abi.h"
#include "platform/platform.h"

namespace mshost {
namespace {

// The importer dialog's fields and its "Apply scene transforms" box.
constexpr int kFileField = 1000;
constexpr int kTextureField = 1001;
constexpr int kApplyTransformsBox = 1006;
// The caption of the importer's error box.
constexpr char kImportErrorCaption[] = "NIF Import Error";

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

std::optional<std::string> ImportFailure(const PlugInRun& run) {
    for (const auto& box : run.messages) {
        if (box.caption && *box.caption == kImportErrorCaption) return OneLine(box.text);
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
