// An output's name asked before a run: its folder exists, is a folder and
// takes new files; it names none of the inputs.
#include "mshost/files/output_target.h"

#include "mshost/files/quoted_name.h"
#include "platform/platform.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace mshost {

bool CheckOutputFolder(const std::string& path, std::string* error) {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    int reason = 0;
    struct stat info {};
    if (stat(folder.c_str(), &info) != 0) {
        reason = errno;
    } else if (!S_ISDIR(info.st_mode)) {
        reason = ENOTDIR;
    } else if (access(folder.c_str(), W_OK | X_OK) != 0) {
        reason = errno;
    }
    if (reason == 0) return true;
    *error = "cannot create " + Quoted(path) + ": " + std::strerror(reason);
    return false;
}

bool NamesAnInput(const std::string& output, std::initializer_list<const std::string*> inputs) {
    for (const std::string* input : inputs) {
        if (input && (*input == output || platform::SameFile(input->c_str(), output.c_str()))) return true;
    }
    return false;
}

}  // namespace mshost
