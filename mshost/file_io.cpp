// Whole-file I/O with every step checked.
#include "mshost/file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace mshost {
namespace {

std::string Failure(const char* what, const char* path, int errorNumber) {
    return std::string(what) + " '" + path + "': " + std::strerror(errorNumber);
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
    const std::string temporary = std::string(path) + ".mshost-part";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) {
        *error = Failure("cannot create", temporary.c_str(), errno);
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const int writeError = errno;
    const bool closed = std::fclose(file) == 0;
    const int closeError = errno;
    if (!written || !closed) {
        std::remove(temporary.c_str());
        *error = Failure("cannot write", path, !written ? writeError : closeError);
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
