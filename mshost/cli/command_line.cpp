// Parsing the mshost command line: a command, its positional arguments and
// the options that command accepts, in any order; "--" ends the options.
#include "mshost/cli/command_line.h"

#include "mshost/files/quoted_name.h"
#include "mshost/formats/model_files.h"

namespace mshost {
namespace {

struct ValueOption {
    const char* name;
    std::optional<std::string> CommandLine::*field;
    bool forImport;
    bool forExport;
};

constexpr ValueOption kValueOptions[] = {
    {"--textures", &CommandLine::textures, true, false},
    {"--model", &CommandLine::modelIn, true, false},
    {"--save", &CommandLine::saveOut, true, false},
    {"--plugin", &CommandLine::plugIn, true, true},
};

const char* CommandName(CommandLine::Command command) {
    switch (command) {
        case CommandLine::kCheck: return "check";
        case CommandLine::kImport: return "import";
        case CommandLine::kExport: return "export";
        case CommandLine::kHelp: break;
        case CommandLine::kVersion: return "version";
    }
    return "help";
}

bool Accepts(const ValueOption& option, CommandLine::Command command) {
    return (command == CommandLine::kImport && option.forImport) || (command == CommandLine::kExport && option.forExport);
}

}  // namespace

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
    size_t wanted = 0;
    if (command == "check") {
        line->command = CommandLine::kCheck;
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
        if (arg == "--summary" && line->command == CommandLine::kImport) {
            line->summary = true;
            continue;
        }
        if (arg == "--apply-transforms" && line->command == CommandLine::kImport) {
            line->applyTransforms = true;
            continue;
        }
        if (arg == "--texture-names-only" && line->command == CommandLine::kExport) {
            line->textureNamesOnly = true;
            continue;
        }
        const size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        const ValueOption* match = nullptr;
        for (const ValueOption& option : kValueOptions) {
            if (name == option.name && Accepts(option, line->command)) match = &option;
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
    if (positional.size() != wanted) {
        *error = std::string(CommandName(line->command)) + " takes " + std::to_string(wanted) + " file " +
                 (wanted == 1 ? "argument" : "arguments") + ", got " + std::to_string(positional.size());
        return false;
    }
    line->input = positional[0];
    if (wanted == 2) line->output = positional[1];
    return true;
}

namespace {

constexpr char kCheckUsage[] = "  mshost check FILE.nif\n";
constexpr char kImportUsage[] =
    "  mshost import FILE.nif [--textures DIR] [--apply-transforms] [--model IN] [--save OUT] [--summary]\n"
    "                [--plugin LIB]\n";
constexpr char kExportUsage[] = "  mshost export MODEL OUT.nif [--texture-names-only] [--plugin LIB]\n";
constexpr char kExitStatuses[] =
    "Exit status: 0 done; 1 check: the file was rejected; 2 a usage or I/O problem of mshost\n"
    "(nothing was run, or the result could not be saved); 3 import, export: the plug-in ran and\n"
    "reported a failure (a message box, or execute's result), named in one line on stderr.\n";

std::string OptionsNote() {
    return "Options take their value as the next argument or after '=' (--save=OUT).\n"
           "Model files, by extension: " +
           KnownModelExtensions() + ".\n";
}

}  // namespace

std::string UsageText() {
    return std::string("usage:\n") + kCheckUsage + kImportUsage + kExportUsage +
           "  mshost COMMAND --help | mshost --version\n"
           "\n"
           "check   loads FILE.nif with the importer's reader and lists its blocks.\n"
           "import  runs the importer plug-in on an empty model (or the model in IN) and\n"
           "        prints the run's report with the model as JSON (--summary: a short account).\n"
           "export  runs the exporter plug-in on the model in MODEL, writing OUT.nif.\n" +
           OptionsNote() +
           "Plug-ins are dravelin.so and korbastel.so next to mshost, or in $MSHOST_PLUGIN_DIR;\n"
           "--plugin names another library.\n" +
           kExitStatuses;
}

std::string CommandUsageText(CommandLine::Command command) {
    switch (command) {
        case CommandLine::kCheck:
            return std::string("usage:\n") + kCheckUsage +
                   "Loads FILE.nif with the importer's reader only. stdout: 'ok: N blocks' and one\n"
                   "'INDEX TYPENAME' line per block, or 'error: MESSAGE' (exit status 1).\n";
        case CommandLine::kImport:
            return std::string("usage:\n") + kImportUsage +
                   "Runs the importer on an empty model, or on the model in IN (a model file or the\n"
                   "report of an earlier import), with FILE.nif and DIR in its dialog, and prints the\n"
                   "report JSON (--summary: a short account). --apply-transforms ticks the dialog's\n"
                   "\"Apply scene transforms\" box. --save OUT writes the model after a run\n"
                   "that did not fail; OUT must not name an input.\n" +
                   OptionsNote() + kExitStatuses;
        case CommandLine::kExport:
            return std::string("usage:\n") + kExportUsage +
                   "Runs the exporter on the model in MODEL with OUT.nif in its dialog and prints the\n"
                   "report JSON without the model. OUT.nif must not name MODEL. --texture-names-only\n"
                   "ticks 'Texture file names only': each texture is written under its file name alone.\n" +
                   OptionsNote() + kExitStatuses;
        case CommandLine::kHelp:
        case CommandLine::kVersion: break;
    }
    return UsageText();
}

std::string VersionText() { return std::string("mshost ") + MSHOST_VERSION + "\n"; }

}  // namespace mshost
