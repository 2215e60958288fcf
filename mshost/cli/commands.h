// The mshost commands. Each fills `out` (stdout) and `err` (stderr) and
// returns the exit status: 0 done (check: the file loaded), 1 check: the file
// was rejected, 2 a usage or I/O problem of mshost itself, 3 import / export:
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

// import / export: run the plug-in on the stand-in model and report the run.
int RunImport(const CommandLine& line, std::string* out, std::string* err);
int RunExport(const CommandLine& line, std::string* out, std::string* err);

// The whole program: parses `args` (without the program name) and runs the command.
int RunMshost(const std::vector<std::string>& args, std::string* out, std::string* err);

}  // namespace mshost
