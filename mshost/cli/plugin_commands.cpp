// mshost import and export: the real plug-in path on the stand-in model, with
// the options dialog answered from the command line.
#include <new>
#include <optional>

#include "host/plugin_abi.h"
#include "mshost/cli/command_status.h"
#include "mshost/cli/commands.h"
#include "mshost/files/file_io.h"
#include "mshost/files/output_target.h"
#include "mshost/files/quoted_name.h"
#include "mshost/formats/model_files.h"
#include "mshost/model/model_control.h"
#include "mshost/plugins/import_run.h"
#include "mshost/plugins/plugin_runner.h"
#include "mshost/plugins/run_report.h"
#include "platform/platform.h"

namespace mshost {
namespace {

// The exporter dialog's file name field.
constexpr int kFileField = 1000;
// The exporter's "Texture file names only" check box.
constexpr int kTextureNamesOnlyBox = 1009;

// Whether --save can go ahead, checked before the run so that a run is never
// wasted on a name that will be refused afterwards.
bool CheckSaveTarget(const CommandLine& line, std::string* error) {
    const std::string& out = *line.saveOut;
    if (!IsKnownModelFile(out.c_str(), error) || !CheckOutputFolder(out, error)) return false;
    if (NamesAnInput(out, {&line.input, line.modelIn ? &*line.modelIn : nullptr})) {
        *error = Quoted(out) + " names an input of the run; it is not overwritten";
        return false;
    }
    if (platform::KindOfFile(out.c_str()) == platform::FileKind::kOther) {
        *error = "cannot replace " + Quoted(out) + ": not a regular file";
        return false;
    }
    return true;
}

// Out of memory in mshost's own work ends the run with one line naming it.
int OutOfMemory(std::string* err, const std::string& what) { return Problem(err, "out of memory while " + what); }

// Reads the model file at `path` into `model`: status 0, or 2 with its line.
int LoadModel(const std::string& path, msModel* model, std::string* err) {
    std::string error;
    if (LoadModelReportingMemory(path, model, &error)) return 0;
    return Problem(err, error);
}

// Appends the report (`model` null: without the model) to `out`: true, or
// false with its line when memory runs out.
bool AddReport(const PlugInRun& run, msModel* model, bool summary, std::string* out) {
    try {
        *out += summary ? SummaryText(run, model) : ReportJsonText(run, model);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace

int RunImport(const CommandLine& line, std::string* out, std::string* err) {
    std::string error;
    if (!CheckImportInputs(line, &error)) return Problem(err, error);
    if (line.saveOut && !CheckSaveTarget(line, &error)) return Problem(err, error);
    ModelPtr model = MakeModel();
    if (!model) return Problem(err, "out of memory");
    if (line.modelIn) {
        if (const int status = LoadModel(*line.modelIn, model.get(), err)) return status;
    }

    PlugInRun run;
    if (!RunImporter(line, model.get(), &run, &error)) return Problem(err, error);

    if (!AddReport(run, model.get(), line.summary, out)) return OutOfMemory(err, "building the report");
    if (const auto failure = ImportFailure(run)) {
        return Failed(err, "import of " + Quoted(line.input) + " failed: " + *failure);
    }
    if (line.saveOut) {
        try {
            if (!SaveModelFile(line.saveOut->c_str(), model.get(), &error)) return Problem(err, error);
        } catch (const std::bad_alloc&) {
            return OutOfMemory(err, "writing " + Quoted(*line.saveOut));
        }
    }
    return 0;
}

int RunExport(const CommandLine& line, std::string* out, std::string* err) {
    if (NamesAnInput(line.output, {&line.input})) {
        return Problem(err, Quoted(line.output) + " names the input model; it is not overwritten");
    }
    std::string error;
    if (!CheckInputFile(line.input.c_str(), &error)) return Problem(err, error);
    if (!CheckOutputFolder(line.output, &error)) return Problem(err, error);
    ModelPtr model = MakeModel();
    if (!model) return Problem(err, "out of memory");
    if (const int status = LoadModel(line.input, model.get(), err)) return status;

    platform::headless::DialogScript dialog;
    dialog.actions = {platform::headless::SetText(kFileField, line.output)};
    if (line.textureNamesOnly) dialog.actions.push_back(platform::headless::SetCheck(kTextureNamesOnlyBox, true));
    dialog.actions.push_back(platform::headless::Press(platform::kIdOk));
    PlugInRun run;
    const std::string library = line.plugIn.value_or(DefaultPlugInPath("korbastel"));
    if (!RunPlugIn(library, eTypeExport, model.get(), std::move(dialog), &run, &error)) return Problem(err, error);

    if (!AddReport(run, nullptr, false, out)) return OutOfMemory(err, "building the report");
    // Every message box of the exporter tells of a failure; a failure without
    // one is an output it could not create.
    if (!run.messages.empty()) {
        return Failed(err, "export to " + Quoted(line.output) + " failed: " + OneLine(run.messages.front().text));
    }
    if (run.execute != 0) return Failed(err, "the exporter could not create " + Quoted(line.output));
    return 0;
}

int RunMshost(const std::vector<std::string>& args, std::string* out, std::string* err) {
    CommandLine line;
    std::string error;
    if (!ParseCommandLine(args, &line, &error)) {
        *err += "mshost: " + error + "; see mshost --help\n";
        return 2;
    }
    if (line.help) {
        *out += CommandUsageText(line.command);
        return 0;
    }
    switch (line.command) {
        case CommandLine::kHelp:
            *out += UsageText();
            return 0;
        case CommandLine::kVersion:
            *out += VersionText();
            return 0;
        case CommandLine::kCheck: return RunCheckCommand(line.paths, out, err);
        case CommandLine::kImport: return RunImport(line, out, err);
        case CommandLine::kExport: return RunExport(line, out, err);
        case CommandLine::kRender: return RunRender(line, out, err);
    }
    return 2;
}

}  // namespace mshost
