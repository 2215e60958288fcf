// The mshost command line:
//
//   mshost check FILE.nif
//   mshost import FILE.nif [--textures DIR] [--apply-transforms] [--model IN] [--save OUT] [--summary] [--plugin LIB]
//   mshost export MODEL OUT.nif [--texture-names-only] [--plugin LIB]
//   mshost --help | mshost COMMAND --help | mshost --version
//
// Options take their value as the next argument or after "=" (--save=out.json).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace mshost {

struct CommandLine {
    enum Command { kHelp, kVersion, kCheck, kImport, kExport } command = kHelp;
    bool help = false;   // COMMAND --help: the usage of that command
    std::string input;   // check, import: the NIF file; export: the model file
    std::string output;  // export: the NIF file to write
    std::optional<std::string> textures;  // import
    std::optional<std::string> modelIn;   // import
    std::optional<std::string> saveOut;   // import
    bool summary = false;                 // import
    bool applyTransforms = false;         // import: ticks "Apply scene transforms"
    bool textureNamesOnly = false;        // export: tick "Texture file names only"
    std::optional<std::string> plugIn;    // import, export: the plug-in library to run
};

// Parses the arguments after the program name. Returns false with a one-line
// reason for a usage problem.
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine* line, std::string* error);

// The usage text, ending in a line feed.
std::string UsageText();
// The usage of one command (check, import, export), ending in a line feed.
std::string CommandUsageText(CommandLine::Command command);
// "mshost VERSION" and a line feed.
std::string VersionText();

}  // namespace mshost
