// Files for the plug-in checks: paths in the work folder, whole-file reads
// and writes, the small NIF files the checks make themselves.
#pragma once

#include "win32_api.h"

namespace wine_test {

// A path inside the folder given by --work=, or null (with a failure) when none was given.
const char* WorkPath(const char* name, char* buffer, int size);
// A path inside the folder given by --examples= (the sample NIF files), or null.
const char* ExamplePath(const char* name, char* buffer, int size);

bool WriteWholeFile(const char* path, const void* data, DWORD size);
// Reads a whole file into a new buffer (free() it); null when it cannot be read.
unsigned char* ReadWholeFile(const char* path, DWORD* size);
bool FileExists(const char* path);

// A valid NIF 4.0.0.2 file holding one NiNode and nothing else.
bool WriteNodeOnlyNif(const char* path);
// A NIF whose version field is `version` (header line and nothing else valid after it).
bool WriteNifWithVersion(const char* path, uint32_t version);

}  // namespace wine_test
