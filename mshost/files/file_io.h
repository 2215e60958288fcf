// Whole-file reading and writing for the stand-in host's own files (models,
// reports), and the check every input goes through. Errors come back as one
// line of text naming the file.
#pragma once

#include <string>
#include <string_view>

namespace mshost {

// A whole file's bytes in memory taken from platform::AllocateFileImage, so
// that a big file costs few page faults; released with the object.
class FileImage {
public:
    FileImage() = default;
    ~FileImage();
    FileImage(const FileImage&) = delete;
    FileImage& operator=(const FileImage&) = delete;

    const char* data() const { return data_; }
    size_t size() const { return size_; }
    std::string_view view() const { return {data_, size_}; }

private:
    friend bool ReadFileImage(const char* path, FileImage* image, std::string* error);
    char* data_ = nullptr;
    size_t size_ = 0;      // bytes read
    size_t capacity_ = 0;  // bytes allocated
};

// Reads the regular file `path` whole into `image`: as many bytes as the
// file held when it was opened (fewer when it shrank meanwhile). Anything but
// a regular file is refused without waiting for it: a pipe nobody writes, a
// device such as /dev/zero.
bool ReadFileImage(const char* path, FileImage* image, std::string* error);

// An input of a run is refused before the run when it names something other
// than a regular file; the name is opened without blocking, so a pipe that
// nobody writes is refused at once. A name that cannot be opened at all
// passes: the reader that opens it reports that in its own words.
bool CheckInputFile(const char* path, std::string* error);
// The same, but a name that cannot be opened fails too, with the system's
// reason ("cannot read '<path>': <reason>").
bool CheckReadableInputFile(const char* path, std::string* error);

// Writes `bytes` to a new temporary file of its own next to `path` and moves
// it onto `path` only when every byte was written and the file closed, so a
// failed save leaves an existing file as it was and no partial file behind.
// Only an absent path or a regular file is replaced (keeping its permission
// bits); a device, pipe, folder or link to one is refused. Errors name `path`.
bool WriteWholeFile(const char* path, std::string_view bytes, std::string* error);

}  // namespace mshost
