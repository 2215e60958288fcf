// Whole-file I/O with every step checked.
#include "mshost/files/file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/platform.h"

namespace mshost {
namespace {

constexpr char kTemporaryPrefix[] = ".mshost-";

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
    if (platform::KindOfFile(path) == platform::FileKind::kOther) {
        *error = std::string("cannot replace '") + path + "': not a regular file";
        return false;
    }
    platform::TemporaryFile file;
    if (!platform::CreateTemporaryFile(path, kTemporaryPrefix, &file)) {
        *error = Failure("cannot create", path, errno);
        return false;
    }
    errno = 0;
    const bool written = platform::WriteTemporaryFile(file, bytes.data(), bytes.size());
    const int writeError = errno;
    const bool closed = platform::CloseTemporaryFile(&file);
    const int closeError = errno;
    if (!written || !closed) {
        platform::DiscardTemporaryFile(&file);
        *error = Failure("cannot write", path, !written ? writeError : closeError);
        return false;
    }
    if (!platform::ReplaceWithTemporaryFile(&file, path)) {
        const int replaceError = errno;
        platform::DiscardTemporaryFile(&file);
        *error = platform::KindOfFile(path) == platform::FileKind::kOther
                     ? std::string("cannot replace '") + path + "': not a regular file"
                     : Failure("cannot replace", path, replaceError);
        return false;
    }
    return true;
}

}  // namespace mshost
