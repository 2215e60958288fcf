// Loading hostile files in tests: through the reader alone (bytes in memory)
// or through the whole import into a stand-in model that already holds one
// mesh and one material, with the memory the load held at its peak.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "nif_builder/nif_builder.h"

namespace hostile {

// Every load must stay within this much memory: three times the file's size
// (the file's image, the blocks, the model) and 16 MB.
inline size_t MemoryBound(size_t fileSize) { return 3 * fileSize + (16u << 20); }

struct LoadOutcome {
    bool loaded = false;
    std::string failure;       // the TextException's text when the load failed
    int blockCount = 0;        // when loaded
    size_t peakBytes = 0;      // the file's image and the heap memory held at the peak of the load
    std::string debugText;     // everything written to the debugger output
    unsigned long long pauseMilliseconds = 0;
};

// Loads `bytes` with the reader (stream from memory, NifFile).
LoadOutcome LoadBytes(const unsigned char* bytes, size_t size);
inline LoadOutcome LoadBytes(const std::vector<unsigned char>& bytes) { return LoadBytes(bytes.data(), bytes.size()); }
inline LoadOutcome LoadBytes(const NifBuilder& nif) { return LoadBytes(nif.Data(), nif.Size()); }

struct ImportOutcome {
    int result = -1;             // ImportNifFile's result when it returned
    std::string failure;         // the TextException's text when it threw
    bool modelUnchanged = false; // still exactly the one mesh and one material it started with
    size_t peakBytes = 0;
    std::string debugText;
    int messageBoxCount = 0;
};

// Runs the whole import of `bytes` (written to a temporary file) into a model
// holding one mesh "Existing" with one vertex and one material "Kept".
ImportOutcome ImportBytes(const std::vector<unsigned char>& bytes);
inline ImportOutcome ImportBytes(const NifBuilder& nif) { return ImportBytes(nif.Bytes()); }

// Number of lines in debugger output (each ends with a line feed).
int LineCount(const std::string& text);

// The project's sample files (written by the build) and the shared real
// files, by name; empty when the file is absent.
std::vector<unsigned char> ReadFileBytes(const std::string& path);
std::string ExamplePath(const std::string& name);
std::string SharedNifPath(const std::string& name);
bool SharedCorpusPresent();

}  // namespace hostile
