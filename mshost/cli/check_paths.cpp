// mshost check of several paths: every NIF file named or found in the folders
// named, one sorted line per file and a summary of why files were rejected.

#include <algorithm>
#include <filesystem>
#include <map>
#include <system_error>
#include <utility>

#include "mshost/cli/check_file.h"
#include "mshost/cli/commands.h"
#include "mshost/files/file_extension.h"
#include "mshost/files/file_io.h"
#include "mshost/files/quoted_name.h"
#include "mshost/plugins/import_run.h"

namespace mshost {
namespace {

namespace fs = std::filesystem;

// A path problem goes to stderr and makes the exit status 2.
struct PathProblems {
    std::string* err;
    bool any = false;
    void Add(const std::string& path, const std::string& reason) { AddLine("cannot read " + Quoted(path) + ": " + reason); }
    void AddLine(const std::string& line) {
        *err += "mshost: " + line + "\n";
        any = true;
    }
};

// A name that is only ".nif" is a hidden file without an extension.
bool HasNifExtension(const fs::path& path) {
    const std::string name = path.filename().string();
    return name.size() > 4 && HasExtension(name, ".nif");
}

// Every .nif file under `folder`. Subfolders are searched, links to folders
// are not followed (they could lead back up or out of the tree); a link to a
// file counts as that file.
void CollectFolder(const fs::path& folder, std::vector<std::string>* files, PathProblems* problems) {
    std::error_code error;
    fs::directory_iterator entries(folder, error);
    if (error) return problems->Add(folder.string(), error.message());
    for (const fs::directory_iterator end; entries != end; entries.increment(error)) {
        const fs::directory_entry& entry = *entries;
        const fs::file_status own = entry.symlink_status(error);
        if (error) {
            problems->Add(entry.path().string(), error.message());
            error.clear();
            continue;
        }
        if (fs::is_directory(own)) {
            CollectFolder(entry.path(), files, problems);
        } else if (HasNifExtension(entry.path()) && !fs::is_directory(entry.status(error))) {
            files->push_back(entry.path().string());
        }
        error.clear();
    }
    if (error) problems->Add(folder.string(), error.message());
}

std::string Files(size_t count) { return std::to_string(count) + (count == 1 ? " file" : " files"); }

}  // namespace

int RunCheckPaths(const std::vector<std::string>& paths, std::string* out, std::string* err) {
    PathProblems problems{err};
    std::vector<std::string> files;
    for (const std::string& path : paths) {
        std::error_code error;
        const fs::file_status status = fs::status(path, error);
        if (error) {
            problems.Add(path, error.message());
        } else if (fs::is_directory(status)) {
            CollectFolder(path, &files, &problems);
        } else {
            files.push_back(path);  // named by the user: checked whatever its extension
        }
    }
    std::sort(files.begin(), files.end());
    files.erase(std::unique(files.begin(), files.end()), files.end());

    size_t loaded = 0;
    size_t rejected = 0;
    size_t otherErrors = 0;
    std::map<std::string, size_t> unknownTypes;  // type name -> files rejected for it
    for (const std::string& file : files) {
        std::string reason;
        if (!CheckReadableInputFile(file.c_str(), &reason)) {
            problems.AddLine(reason);
            continue;
        }
        const FileCheck check = CheckNifFile(file);
        switch (check.result) {
            case FileCheck::kLoaded:
                *out += file + ": loaded, " + std::to_string(check.blockKinds.size()) + " blocks\n";
                ++loaded;
                break;
            case FileCheck::kRejected: {
                *out += file + ": rejected: " + OneLine(check.error) + "\n";
                ++rejected;
                const std::string type = UnknownBlockTypeOf(check.error);
                if (type.empty()) {
                    ++otherErrors;
                } else {
                    ++unknownTypes[type];
                }
                break;
            }
            case FileCheck::kFailed: problems.AddLine(check.error); break;
        }
    }

    *out += "summary: " + Files(loaded + rejected) + ", " + std::to_string(loaded) + " loaded, " +
            std::to_string(rejected) + " rejected\n";
    std::vector<std::pair<std::string, size_t>> types(unknownTypes.begin(), unknownTypes.end());
    std::stable_sort(types.begin(), types.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    for (const auto& [type, count] : types) *out += "rejected for block type " + type + ": " + Files(count) + "\n";
    if (otherErrors > 0) *out += "rejected for other errors: " + Files(otherErrors) + "\n";

    if (problems.any) return 2;
    return rejected > 0 ? 1 : 0;
}

int RunCheckCommand(const std::vector<std::string>& paths, std::string* out, std::string* err) {
    std::error_code error;
    if (paths.size() == 1 && !fs::is_directory(paths[0], error)) return RunCheck(paths[0], out, err);
    return RunCheckPaths(paths, out, err);
}

}  // namespace mshost
