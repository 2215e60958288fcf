// Whole-file I/O with every step checked.
#include "mshost/file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <sys/stat.h>

namespace mshost {
namespace {

std::string Failure(const char* what, const char* path, int errorNumber) {
    return std::string(what) + " '" + path + "': " + std::strerror(errorNumber);
}

// Writes and closes, checking both; errno of the first failure goes into `error`.
bool WriteAndClose(std::FILE* file, std::string_view bytes, const char* path, std::string* error) {
    errno = 0;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
    const int writeError = errno;
    const bool closed = std::fclose(file) == 0;
    const int closeError = errno;
    if (written && closed) return true;
    *error = Failure("cannot write", path, !written ? writeError : closeError);
    return false;
}

// A device, pipe or other special file (e.g. /dev/stdout) is written in place:
// moving a temporary file onto it would replace it.
bool IsSpecialFile(const char* path) {
    struct stat info;
    return stat(path, &info) == 0 && !S_ISREG(info.st_mode);
}

}  // namespace

bool ReadWholeFile(const char* path, std::string* bytes, std::string* error) {
    std::FILE* file = std::fopen(path, "rb");
    if (!file) {
        *error = Failure("cannot open", path, errno);
        return false;
    }
    bytes->clear();
    char buffer[65536];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes->append(buffer, got);
    const bool failed = std::ferror(file) != 0;
    const int readError = errno;
    std::fclose(file);
    if (failed) {
        *error = Failure("cannot read", path, readError);
        return false;
    }
    return true;
}

bool WriteWholeFile(const char* path, std::string_view bytes, std::string* error) {
    if (IsSpecialFile(path)) {
        std::FILE* file = std::fopen(path, "wb");
        if (!file) {
            *error = Failure("cannot open", path, errno);
            return false;
        }
        return WriteAndClose(file, bytes, path, error);
    }
    const std::string temporary = std::string(path) + ".mshost-part";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) {
        *error = Failure("cannot create", temporary.c_str(), errno);
        return false;
    }
    if (!WriteAndClose(file, bytes, path, error)) {
        std::remove(temporary.c_str());
        return false;
    }
    if (std::rename(temporary.c_str(), path) != 0) {
        const int renameError = errno;
        std::remove(temporary.c_str());
        *error = Failure("cannot replace", path, renameError);
        return false;
    }
    return true;
}

}  // namespace mshost
