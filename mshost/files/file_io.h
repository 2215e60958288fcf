// Whole-file reading and writing for the stand-in host's own files (models,
// reports). Errors come back as one line of text naming the file.
#pragma once

#include <string>
#include <string_view>

namespace mshost {

bool ReadWholeFile(const char* path, std::string* bytes, std::string* error);

// Writes `bytes` to a new temporary file of its own next to `path` and moves
// it onto `path` only when every byte was written and the file closed, so a
// failed save leaves an existing file as it was and no partial file behind.
// Only an absent path or a regular file is replaced (keeping its permission
// bits); a device, pipe, folder or link to one is refused. Errors name `path`.
bool WriteWholeFile(const char* path, std::string_view bytes, std::string* error);

}  // namespace mshost
