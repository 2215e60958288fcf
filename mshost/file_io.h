// Whole-file reading and writing for the stand-in host's own files (models,
// reports), and the check every input goes through. Errors come back as one
// line of text naming the file.
#pragma once

#include <string>
#include <string_view>

namespace mshost {

// Reads the regular file `path` whole into `bytes` (sized once from the
// file's size, grown only when the file grows while read). Anything but a
// regular file is refused without waiting for it: a pipe nobody writes, a
// device such as /dev/zero.
bool ReadWholeFile(const char* path, std::string* bytes, std::string* error);

// An input of a run is refused before the run when it names something other
// than a regular file; the name is opened without blocking, so a pipe that
// nobody writes is refused at once. A name that cannot be opened at all
// passes: the reader that opens it reports that in its own words.
bool CheckInputFile(const char* path, std::string* error);

// Writes `bytes` to a new temporary file of its own next to `path` and moves
// it onto `path` only when every byte was written and the file closed, so a
// failed save leaves an existing file as it was and no partial file behind.
// Only an absent path or a regular file is replaced (keeping its permission
// bits); a device, pipe, folder or link to one is refused. Errors name `path`.
bool WriteWholeFile(const char* path, std::string_view bytes, std::string* error);

}  // namespace mshost
