// The mshost commands. Each fills `out` (stdout) and `err` (stderr) and
// returns the exit status: 0 done (check: the files loaded), 1 check: a file
// was rejected, 2 a usage or I/O problem of mshost itself, 3 import / export / render:
// the plug-in ran and reported a failure (one line on stderr names the file
// and the reason; --save then writes nothing).
#pragma once

#include <string>
#include <vector>

#include "mshost/cli/command_line.h"

namespace mshost {

// check: loads FILE with the importer's reader only. stdout "ok: N blocks"
// and one "INDEX TYPENAME" line per block, or the single line "error: MESSAGE";
// the reader's debugger output on stderr, one line per line.
int RunCheck(const std::string& path, std::string* out, std::string* err);

// check of several paths (folders searched for .nif files in any case, links
// to folders not followed): one line per file sorted by path, then a summary
// with the block types that made files fail. stderr only paths that cannot be
// read. Returns 2 when a path cannot be read, else 1 when a file was
// rejected, else 0.
int RunCheckPaths(const std::vector<std::string>& paths, std::string* out, std::string* err);

// check as the command line gives it: one path that is not a folder is
// RunCheck (its output is what scripts read), anything else RunCheckPaths.
int RunCheckCommand(const std::vector<std::string>& paths, std::string* out, std::string* err);

// import / export: run the plug-in on the stand-in model and report the run.
int RunImport(const CommandLine& line, std::string* out, std::string* err);
int RunExport(const CommandLine& line, std::string* out, std::string* err);

// render: the model (a .nif through the importer as import runs it, or a
// model file) drawn into the PNG file line.pngOut. Prints nothing; the exit
// statuses and stderr lines of import.
int RunRender(const CommandLine& line, std::string* out, std::string* err);

// The whole program: parses `args` (without the program name) and runs the command.
int RunMshost(const std::vector<std::string>& args, std::string* out, std::string* err);

}  // namespace mshost
