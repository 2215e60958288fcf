// The importer's run as `import` and `render` both make it: the options
// dialog answered from the command line, the plug-in run on a model, and
// what counts as a failed import.
#pragma once

#include <optional>
#include <string>

#include "host/msLib.h"
#include "mshost/cli/command_line.h"
#include "mshost/plugins/plugin_runner.h"

namespace mshost {

// Runs the importer (`line.plugIn`, else dravelin from the default place) on
// `model` with the dialog answered from `line`: field 1000 = line.input,
// field 1001 = line.textures (empty when not given), box 1006 ("Apply scene
// transforms") ticked when line.applyTransforms, OK. False with a
// one-line reason when the plug-in could not be run at all.
bool RunImporter(const CommandLine& line, msModel* model, PlugInRun* run, std::string* error);

// Why the run failed, on one line: the text of the importer's "NIF Import
// Error" box, or execute's result when it is other than 0; nothing when it did not.
std::optional<std::string> ImportFailure(const PlugInRun& run);

// The importer's inputs checked before the run: FILE and DIR no longer than
// the importer's fields hold (999 characters), FILE and IN regular files (or
// not openable at all, which their reader reports). False with the one-line reason.
bool CheckImportInputs(const CommandLine& line, std::string* error);

// Loads the model file at `path` into `model`; false with the loader's
// reason, or "out of memory while reading 'PATH'" when memory runs out.
bool LoadModelReportingMemory(const std::string& path, msModel* model, std::string* error);

// A message box text on one line: line breaks become spaces.
std::string OneLine(std::string text);

}  // namespace mshost
