// A scratch file per fuzz process for the targets whose code under test reads
// or writes files by name.
#pragma once

#include <string>

namespace fuzzfiles {

// A folder of this process's own in the temporary folder, created on first use
// and removed with its contents when the process ends normally.
const std::string& ScratchFolder();

// Writes `size` bytes to `name` inside the scratch folder and returns the
// path; aborts when the file cannot be written (a fault of the machine, not
// of the code under test).
std::string WriteScratchFile(const char* name, const void* data, size_t size);

}  // namespace fuzzfiles
