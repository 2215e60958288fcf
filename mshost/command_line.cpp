// Parsing the mshost command line: a command, its positional arguments and
// the options that command accepts, in any order; "--" ends the options.
#include "mshost/command_line.h"

#include "mshost/model_files.h"

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
    if (command == "--help" || command == "-h" || command == "help") {
        line->command = CommandLine::kHelp;
        if (args.size() == 1) return true;
        *error = "help takes no arguments";
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
        *error = "unknown command '" + command + "'";
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
        if (arg == "--summary" && line->command == CommandLine::kImport) {
            line->summary = true;
            continue;
        }
        const ValueOption* match = nullptr;
        for (const ValueOption& option : kValueOptions) {
            if (arg == option.name && Accepts(option, line->command)) match = &option;
        }
        if (!match) {
            *error = "unknown option '" + arg + "' for " + CommandName(line->command);
            return false;
        }
        if (i + 1 >= args.size()) {
            *error = "option " + arg + " needs a value";
            return false;
        }
        if (line->*(match->field)) {
            *error = "option " + arg + " given twice";
            return false;
        }
        line->*(match->field) = args[++i];
    }
    if (positional.size() != wanted) {
        *error = std::string(CommandName(line->command)) + " takes " + std::to_string(wanted) + " file " +
                 (wanted == 1 ? "argument" : "arguments") + ", got " + std::to_string(positional.size());
        return false;
    }
    line->input = positional[0];
    if (wanted == 2) line->output = positional[1];
    return true;
}

std::string UsageText() {
    return "usage:\n"
           "  mshost check FILE.nif\n"
           "  mshost import FILE.nif [--textures DIR] [--model IN] [--save OUT] [--summary] [--plugin LIB]\n"
           "  mshost export MODEL OUT.nif [--plugin LIB]\n"
           "\n"
           "check   loads FILE.nif with the importer's reader and lists its blocks.\n"
           "import  runs the importer plug-in on an empty model (or the model in IN) and\n"
           "        prints the run's report with the model as JSON (--summary: a short account).\n"
           "export  runs the exporter plug-in on the model in MODEL, writing OUT.nif.\n"
           "Model files, by extension: " +
           KnownModelExtensions() + ".\n" +
           "Plug-ins are dravelin.so and korbastel.so next to mshost, or in $MSHOST_PLUGIN_DIR;\n"
           "--plugin names another library.\n"
           "Exit status: 0 done (check: loaded), 1 check: file rejected, 2 usage or I/O problem.\n";
}

}  // namespace mshost
