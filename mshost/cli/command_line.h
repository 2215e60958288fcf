// The mshost command line:
//
//   mshost check PATH...
//   mshost import FILE.nif [--textures DIR] [--apply-transforms] [--model IN] [--save OUT] [--summary] [--plugin LIB]
//   mshost export MODEL OUT.nif [--texture-names-only] [--plugin LIB]
//   mshost render MODEL --png OUT.png [--apply-transforms] [--size N]
//   mshost --help | mshost COMMAND --help | mshost --version
//
// Options take their value as the next argument or after "=" (--save=out.json).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace mshost {

struct CommandLine {
    enum Command { kHelp, kVersion, kCheck, kImport, kExport, kRender } command = kHelp;
    bool help = false;   // COMMAND --help: the usage of that command
    std::string input;   // check, import: the (first) NIF file; export, render: the model file
    std::vector<std::string> paths;  // check: every file or folder named
    std::string output;  // export: the NIF file to write
    std::optional<std::string> textures;  // import
    std::optional<std::string> modelIn;   // import
    std::optional<std::string> saveOut;   // import
    bool summary = false;                 // import
    bool applyTransforms = false;         // import, render (a .nif): ticks "Apply scene transforms"
    bool textureNamesOnly = false;        // export: tick "Texture file names only"
    std::optional<std::string> plugIn;    // import, export: the plug-in library to run
    std::optional<std::string> pngOut;    // render: the picture to write
    std::optional<std::string> size;      // render: the picture's width in pixels, as given
    int pictureWidth = kDefaultPictureWidth;  // render: --size, checked (the height is 3/4 of it)

    static constexpr int kDefaultPictureWidth = 400;
    static constexpr int kMinPictureWidth = 16;
    static constexpr int kMaxPictureWidth = 2048;
};

// Parses the arguments after the program name. Returns false with a one-line
// reason for a usage problem.
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine* line, std::string* error);

// Whether `path` ends in ".nif" in any case: a file for the importer.
bool IsNifFile(const std::string& path);

// The usage text, ending in a line feed.
std::string UsageText();
// The usage of one command (check, import, export, render), ending in a line feed.
std::string CommandUsageText(CommandLine::Command command);
// "mshost VERSION" and a line feed.
std::string VersionText();

}  // namespace mshost
