// What mshost prints after a plug-in run: the report JSON, or with --summary
// a short account for people.
#pragma once

#include <string>
#include <vector>

#include "host/msLib.h"
#include "mshost/plugins/plugin_runner.h"

namespace mshost {

// Debugger output split into lines at "\n" (the line feed not kept); a last
// unterminated piece is a line too, so "a\nb" and "a\nb\n" both give a, b.
std::vector<std::string> SplitLines(const std::string& text);

// The report JSON ending in a line feed: kind, title, execute, messages,
// debug, destroyed and, when `model` is not null, the model.
std::string ReportJsonText(const PlugInRun& run, msModel* model);

// The --summary account of an import run: the plug-in, what execute
// returned, the model's meshes, materials and bones, and the message boxes.
std::string SummaryText(const PlugInRun& run, msModel* model);

}  // namespace mshost
