// mshost render: a model drawn into a PNG file. A .nif goes through the
// importer exactly as `import` runs it; a model file is loaded as it is.
#include "mshost/cli/command_status.h"
#include "mshost/cli/commands.h"
#include "mshost/files/file_extension.h"
#include "mshost/files/file_io.h"
#include "mshost/files/output_target.h"
#include "mshost/files/quoted_name.h"
#include "mshost/formats/model_files.h"
#include "mshost/model/model_control.h"
#include "mshost/plugins/import_run.h"
#include "mshost/render/draw_model.h"
#include "mshost/render/png_file.h"
#include "platform/platform.h"

namespace mshost {
namespace {

// Whether the picture can be written where it is named, before anything runs.
bool CheckPictureTarget(const CommandLine& line, std::string* error) {
    const std::string& out = *line.pngOut;
    if (!HasExtension(out, ".png")) {
        *error = Quoted(out) + ": a picture is written as .png";
        return false;
    }
    if (NamesAnInput(out, {&line.input})) {
        *error = Quoted(out) + " names the input model; it is not overwritten";
        return false;
    }
    if (!CheckOutputFolder(out, error)) return false;
    if (platform::KindOfFile(out.c_str()) == platform::FileKind::kOther) {
        *error = "cannot replace " + Quoted(out) + ": not a regular file";
        return false;
    }
    return true;
}

}  // namespace

int RunRender(const CommandLine& line, std::string* /*out*/, std::string* err) {
    std::string error;
    if (!CheckPictureTarget(line, &error)) return Problem(err, error);
    if (IsNifFile(line.input) ? !CheckImportInputs(line, &error) : !CheckInputFile(line.input.c_str(), &error)) {
        return Problem(err, error);
    }
    ModelPtr model = MakeModel();
    if (!model) return Problem(err, "out of memory");
    if (IsNifFile(line.input)) {
        PlugInRun run;
        if (!RunImporter(line, model.get(), &run, &error)) return Problem(err, error);
        if (const auto failure = ImportFailure(run)) return Failed(err, "import of " + Quoted(line.input) + " failed: " + *failure);
    } else if (!LoadModelReportingMemory(line.input, model.get(), &error)) {
        return Problem(err, error);
    }

    const int height = line.pictureWidth * 3 / 4;
    const render::Picture picture = render::DrawModel(model.get(), line.pictureWidth, height);
    std::string png;
    if (!render::EncodePng(picture, &png, &error) || !WriteWholeFile(line.pngOut->c_str(), png, &error)) {
        return Problem(err, error);
    }
    return 0;
}

}  // namespace mshost
