// Whole-file I/O with every step checked.
#include "mshost/files/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <new>
#include <cstring>

#include "mshost/files/quoted_name.h"
#include "platform/file_replacement.h"
#include "platform/platform.h"

namespace mshost {
namespace {

constexpr char kTemporaryPrefix[] = ".mshost-";

std::string Failure(const char* what, const char* path, int errorNumber) {
    return std::string(what) + " " + Quoted(path) + ": " + std::strerror(errorNumber);
}

std::string NotARegularFile(const char* what, const char* path) {
    return std::string(what) + " " + Quoted(path) + ": not a regular file";
}

// Opens `path` for reading without blocking (a pipe with no writer would
// otherwise hold the open) and without giving the descriptor to children.
int OpenForReading(const char* path) { return open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC); }

struct Descriptor {
    int value;
    ~Descriptor() {
        if (value >= 0) close(value);
    }
};

// Opens `path` for reading when it is a regular file, with its size as it
// was opened; else false with the one-line reason.
bool OpenRegularFile(const char* path, Descriptor* file, struct stat* info, std::string* error) {
    file->value = OpenForReading(path);
    if (file->value < 0) {
        *error = Failure("cannot open", path, errno);
        return false;
    }
    if (fstat(file->value, info) != 0) {
        *error = Failure("cannot read", path, errno);
        return false;
    }
    if (!S_ISREG(info->st_mode)) {
        *error = NotARegularFile("cannot read", path);
        return false;
    }
    return true;
}

}  // namespace

namespace {

// CheckInputFile, where `unopenedPasses` says whether a name that cannot be opened passes.
bool CheckInput(const char* path, bool unopenedPasses, std::string* error) {
    Descriptor file{OpenForReading(path)};
    if (file.value < 0) {
        if (unopenedPasses) return true;
        *error = Failure("cannot read", path, errno);
        return false;
    }
    struct stat info;
    if (fstat(file.value, &info) == 0 && S_ISREG(info.st_mode)) return true;
    *error = NotARegularFile("cannot read", path);
    return false;
}

}  // namespace

bool CheckInputFile(const char* path, std::string* error) { return CheckInput(path, true, error); }

bool CheckReadableInputFile(const char* path, std::string* error) { return CheckInput(path, false, error); }

FileImage::~FileImage() { platform::ReleaseFileImage(data_, capacity_); }

bool ReadFileImage(const char* path, FileImage* image, std::string* error) {
    Descriptor file{-1};
    struct stat info;
    if (!OpenRegularFile(path, &file, &info, error)) return false;
    const auto size = static_cast<uint64_t>(info.st_size);
    if (size > SIZE_MAX / 2) throw std::bad_alloc();
    platform::ReleaseFileImage(image->data_, image->capacity_);
    image->data_ = nullptr;
    image->size_ = 0;
    image->capacity_ = static_cast<size_t>(size);
    image->data_ = static_cast<char*>(platform::AllocateFileImage(image->capacity_));
    if (!image->data_) {
        image->capacity_ = 0;
        throw std::bad_alloc();
    }
    while (image->size_ < image->capacity_) {
        const ssize_t got = read(file.value, image->data_ + image->size_, image->capacity_ - image->size_);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            *error = Failure("cannot read", path, errno);
            return false;
        }
        if (got == 0) break;
        image->size_ += static_cast<size_t>(got);
    }
    return true;
}

bool WriteWholeFile(const char* path, std::string_view bytes, std::string* error) {
    if (platform::KindOfFile(path) == platform::FileKind::kOther) {
        *error = NotARegularFile("cannot replace", path);
        return false;
    }
    platform::FileReplacement file;
    if (file.Begin(path, kTemporaryPrefix) && file.Finish(bytes.data(), bytes.size())) return true;
    const int errorNumber = file.FailedErrorNumber();
    switch (file.FailedStep()) {
        case platform::FileReplacement::Step::kCreate:
            *error = Failure("cannot create", path, errorNumber);
            break;
        case platform::FileReplacement::Step::kReplace:
            *error = platform::KindOfFile(path) == platform::FileKind::kOther ? NotARegularFile("cannot replace", path)
                                                                             : Failure("cannot replace", path, errorNumber);
            break;
        case platform::FileReplacement::Step::kNone:
        case platform::FileReplacement::Step::kWrite:
        case platform::FileReplacement::Step::kClose:
            *error = Failure("cannot write", path, errorNumber);
            break;
    }
    return false;
}

}  // namespace mshost
