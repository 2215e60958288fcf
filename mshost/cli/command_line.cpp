// Parsing the mshost command line: a command, its positional arguments and
// the options that command accepts, in any order; "--" ends the options.
#include "mshost/cli/command_line.h"

#include "mshost/files/file_extension.h"
#include "mshost/files/quoted_name.h"
#include "mshost/formats/model_files.h"

namespace mshost {
namespace {

// Which commands take an option: one bit per command.
constexpr unsigned For(CommandLine::Command command) { return 1u << command; }
constexpr unsigned kImportOnly = For(CommandLine::kImport);

struct ValueOption {
    const char* name;
    std::optional<std::string> CommandLine::*field;
    unsigned commands;
};

constexpr ValueOption kValueOptions[] = {
    {"--textures", &CommandLine::textures, kImportOnly},
    {"--model", &CommandLine::modelIn, kImportOnly},
    {"--save", &CommandLine::saveOut, kImportOnly},
    {"--plugin", &CommandLine::plugIn, For(CommandLine::kImport) | For(CommandLine::kExport)},
    {"--png", &CommandLine::pngOut, For(CommandLine::kRender)},
    {"--size", &CommandLine::size, For(CommandLine::kRender)},
};

struct FlagOption {
    const char* name;
    bool CommandLine::*field;
    unsigned commands;
};

constexpr FlagOption kFlagOptions[] = {
    {"--summary", &CommandLine::summary, kImportOnly},
    {"--apply-transforms", &CommandLine::applyTransforms, For(CommandLine::kImport) | For(CommandLine::kRender)},
    {"--texture-names-only", &CommandLine::textureNamesOnly, For(CommandLine::kExport)},
};

const char* CommandName(CommandLine::Command command) {
    switch (command) {
        case CommandLine::kCheck: return "check";
        case CommandLine::kImport: return "import";
        case CommandLine::kExport: return "export";
        case CommandLine::kRender: return "render";
        case CommandLine::kHelp: break;
        case CommandLine::kVersion: return "version";
    }
    return "help";
}

// --size N: a whole number of pixels within the limits.
bool ParsePictureWidth(const std::string& text, int* width, std::string* error) {
    int value = 0;
    bool digits = !text.empty() && text.size() <= 5;
    for (char c : text) {
        if (c < '0' || c > '9') digits = false;
        if (digits) value = value * 10 + (c - '0');
    }
    if (!digits || value < CommandLine::kMinPictureWidth || value > CommandLine::kMaxPictureWidth) {
        *error = "--size takes a width in pixels from " + std::to_string(CommandLine::kMinPictureWidth) + " to " +
                 std::to_string(CommandLine::kMaxPictureWidth) + ", got '" + text + "'";
        return false;
    }
    *width = value;
    return true;
}

// The checks of a render line that the option table cannot make.
bool CheckRenderOptions(CommandLine* line, std::string* error) {
    if (!line->pngOut) {
        *error = "render needs --png OUT.png";
        return false;
    }
    if (line->applyTransforms && !IsNifFile(line->input)) {
        *error = "--apply-transforms is an option of the importer: " + Quoted(line->input) + " is not a .nif";
        return false;
    }
    return !line->size || ParsePictureWidth(*line->size, &line->pictureWidth, error);
}

}  // namespace

bool IsNifFile(const std::string& path) { return HasExtension(path, ".nif"); }

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine* line, std::string* error) {
    *line = CommandLine();
    if (args.empty()) {
        *error = "no command given";
        return false;
    }
    const std::string& command = args[0];
    if (command == "--help" || command == "-h" || command == "help" || command == "--version") {
        line->command = command == "--version" ? CommandLine::kVersion : CommandLine::kHelp;
        if (args.size() == 1) return true;
        *error = std::string(CommandName(line->command)) + " takes no arguments";
        return false;
    }
    size_t wanted = 0;  // check: at least one
    if (command == "check") {
        line->command = CommandLine::kCheck;
        wanted = 1;
    } else if (command == "render") {
        line->command = CommandLine::kRender;
        wanted = 1;
    } else if (command == "import") {
        line->command = CommandLine::kImport;
        wanted = 1;
    } else if (command == "export") {
        line->command = CommandLine::kExport;
        wanted = 2;
    } else {
        *error = "unknown command " + Quoted(command);
        return false;
    }

    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            line->help = true;
            continue;
        }
        const FlagOption* flag = nullptr;
        for (const FlagOption& option : kFlagOptions) {
            if (arg == option.name && (option.commands & For(line->command))) flag = &option;
        }
        if (flag) {
            line->*(flag->field) = true;
            continue;
        }
        const size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        const ValueOption* match = nullptr;
        for (const ValueOption& option : kValueOptions) {
            if (name == option.name && (option.commands & For(line->command))) match = &option;
        }
        if (!match) {
            *error = "unknown option " + Quoted(name) + " for " + CommandName(line->command);
            return false;
        }
        if (equals == std::string::npos && i + 1 >= args.size()) {
            *error = "option " + name + " needs a value";
            return false;
        }
        if (line->*(match->field)) {
            *error = "option " + name + " given twice";
            return false;
        }
        line->*(match->field) = equals == std::string::npos ? args[++i] : arg.substr(equals + 1);
    }
    if (line->help) return true;
    if (line->command == CommandLine::kCheck && !positional.empty()) {
        line->input = positional[0];
        line->paths = positional;
        return true;
    }
    if (line->command == CommandLine::kCheck) {
        *error = "check takes 1 or more paths, got 0";
        return false;
    }
    if (positional.size() != wanted) {
        *error = std::string(CommandName(line->command)) + " takes " + std::to_string(wanted) + " file " +
                 (wanted == 1 ? "argument" : "arguments") + ", got " + std::to_string(positional.size());
        return false;
    }
    line->input = positional[0];
    if (wanted == 2) line->output = positional[1];
    return line->command != CommandLine::kRender || CheckRenderOptions(line, error);
}

namespace {

constexpr char kCheckUsage[] = "  mshost check PATH...\n";
constexpr char kImportUsage[] =
    "  mshost import FILE.nif [--textures DIR] [--apply-transforms] [--model IN] [--save OUT] [--summary]\n"
    "                [--plugin LIB]\n";
constexpr char kExportUsage[] = "  mshost export MODEL OUT.nif [--texture-names-only] [--plugin LIB]\n";
constexpr char kRenderUsage[] = "  mshost render MODEL --png OUT.png [--apply-transforms] [--size N]\n";
constexpr char kExitStatuses[] =
    "Exit status: 0 done; 1 check: a file was rejected; 2 a usage or I/O problem of mshost\n"
    "(nothing was run, or the result could not be saved); 3 import, export, render: the plug-in ran\n"
    "and reported a failure (a message box, or execute's result), named in one line on stderr.\n";
constexpr char kPlugIns[] =
    "Plug-ins are dravelin.so and korbastel.so next to mshost (or in ../lib/mshost from it),\n"
    "or in $MSHOST_PLUGIN_DIR; --plugin names another library.\n";

// How option values are written, with an example of the command's own.
std::string OptionsNote(const char* example) {
    return std::string("Options take their value as the next argument or after '=' (") + example + ").\n" +
           "Model files, by extension: " + KnownModelExtensions() + ".\n";
}

}  // namespace

std::string UsageText() {
    return std::string("usage:\n") + kCheckUsage + kImportUsage + kExportUsage + kRenderUsage +
           "  mshost COMMAND --help | mshost --version\n"
           "\n"
           "check   loads each NIF file (folders: every .nif in them) with the importer's reader.\n"
           "import  runs the importer plug-in on an empty model (or the model in IN) and\n"
           "        prints the run's report with the model as JSON (--summary: a short account).\n"
           "export  runs the exporter plug-in on the model in MODEL, writing OUT.nif.\n"
           "render  draws the model (a .nif through the importer, as import does) into OUT.png.\n" +
           OptionsNote("--save=OUT") + kPlugIns + kExitStatuses;
}

std::string CommandUsageText(CommandLine::Command command) {
    switch (command) {
        case CommandLine::kCheck:
            return std::string("usage:\n") + kCheckUsage +
                   "Loads NIF files with the importer's reader only; a folder stands for every .nif\n"
                   "file in it and its subfolders (any case; links to folders are not followed).\n"
                   "One file: stdout 'ok: N blocks' and one 'INDEX TYPENAME' line per block, or\n"
                   "'error: MESSAGE' (exit status 1); stderr the reader's debugger output.\n"
                   "Several files: one line per file, sorted by path ('PATH: loaded, N blocks' or\n"
                   "'PATH: rejected: MESSAGE'), then a summary with the block types that made files\n"
                   "fail; stderr only paths that cannot be read.\n"
                   "Exit status: 0 every file loaded; 1 a file was rejected; 2 a path cannot be read.\n";
        case CommandLine::kImport:
            return std::string("usage:\n") + kImportUsage +
                   "Runs the importer on an empty model, or on the model in IN (a model file or the\n"
                   "report of an earlier import), with FILE.nif and DIR in its dialog, and prints the\n"
                   "report JSON (--summary: a short account). --apply-transforms ticks the dialog's\n"
                   "\"Apply scene transforms\" box. --save OUT writes the model after a run that did not\n"
                   "fail; OUT must not name an input, and its folder must take new files.\n" +
                   OptionsNote("--save=OUT") + kPlugIns + kExitStatuses;
        case CommandLine::kExport:
            return std::string("usage:\n") + kExportUsage +
                   "Runs the exporter on the model in MODEL with OUT.nif in its dialog and prints the\n"
                   "report JSON without the model. OUT.nif must not name MODEL, and its folder must\n"
                   "take new files. --texture-names-only ticks 'Texture file names only': each\n"
                   "texture is written under its file name alone.\n" +
                   OptionsNote("--plugin=LIB") + kPlugIns + kExitStatuses;
        case CommandLine::kRender:
            return std::string("usage:\n") + kRenderUsage +
                   "Draws the model as the host holds it into a PNG picture: a .nif through the\n"
                   "importer as import does (--apply-transforms ticks its \"Apply scene transforms\"\n"
                   "box), a model file as it loads. Seen from the front, right and above with y up,\n"
                   "fitted to the model's bounds; faces shaded by their normal. --size N: N pixels\n"
                   "wide (16 to 2048, default 400), 3/4 of that high. Nothing is printed.\n" +
                   OptionsNote("--png=OUT.png") + kExitStatuses;
        case CommandLine::kHelp:
        case CommandLine::kVersion: break;
    }
    return UsageText();
}

std::string VersionText() { return std::string("mshost ") + MSHOST_VERSION + "\n"; }

}  // namespace mshost
