// mshost import and export: the real plug-in path on the stand-in model, with
// the options dialog answered from the command line.
#include "host/plugin_abi.h"
#include "mshost/commands.h"
#include "mshost/model/model_control.h"
#include "mshost/model_files.h"
#include "mshost/plugin_runner.h"
#include "mshost/run_report.h"
#include "platform/platform.h"

namespace mshost {
namespace {

// Dialog control ids shared by both plug-ins' options dialogs.
constexpr int kFileField = 1000;
constexpr int kTextureField = 1001;

int Problem(std::string* err, const std::string& reason) {
    *err += "mshost: " + reason + "\n";
    return 2;
}

}  // namespace

int RunImport(const CommandLine& line, std::string* out, std::string* err) {
    ModelPtr model = MakeModel();
    if (!model) return Problem(err, "out of memory");
    std::string error;
    if (line.modelIn && !LoadModelFile(line.modelIn->c_str(), model.get(), &error)) return Problem(err, error);

    platform::headless::DialogScript dialog;
    dialog.actions = {platform::headless::SetText(kFileField, line.input),
                      platform::headless::SetText(kTextureField, line.textures.value_or("")),
                      platform::headless::Press(platform::kIdOk)};
    PlugInRun run;
    const std::string library = line.plugIn.value_or(DefaultPlugInPath("dravelin"));
    if (!RunPlugIn(library, eTypeImport, model.get(), std::move(dialog), &run, &error)) return Problem(err, error);

    *out += line.summary ? SummaryText(run, model.get()) : ReportJsonText(run, model.get());
    if (line.saveOut && !SaveModelFile(line.saveOut->c_str(), model.get(), &error)) return Problem(err, error);
    return 0;
}

int RunExport(const CommandLine& line, std::string* out, std::string* err) {
    ModelPtr model = MakeModel();
    if (!model) return Problem(err, "out of memory");
    std::string error;
    if (!LoadModelFile(line.input.c_str(), model.get(), &error)) return Problem(err, error);

    platform::headless::DialogScript dialog;
    dialog.actions = {platform::headless::SetText(kFileField, line.output), platform::headless::Press(platform::kIdOk)};
    PlugInRun run;
    const std::string library = line.plugIn.value_or(DefaultPlugInPath("korbastel"));
    if (!RunPlugIn(library, eTypeExport, model.get(), std::move(dialog), &run, &error)) return Problem(err, error);

    *out += ReportJsonText(run, nullptr);
    return 0;
}

int RunMshost(const std::vector<std::string>& args, std::string* out, std::string* err) {
    CommandLine line;
    std::string error;
    if (!ParseCommandLine(args, &line, &error)) {
        *err += "mshost: " + error + "\n" + UsageText();
        return 2;
    }
    switch (line.command) {
        case CommandLine::kHelp:
            *out += UsageText();
            return 0;
        case CommandLine::kCheck: return RunCheck(line.input, out, err);
        case CommandLine::kImport: return RunImport(line, out, err);
        case CommandLine::kExport: return RunExport(line, out, err);
    }
    return 2;
}

}  // namespace mshost
