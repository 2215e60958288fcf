// Writes an output file so that it is either complete or untouched.
//
// The data go to a new temporary file in the output's folder, created
// exclusively under a name no other file has; only after every byte was
// written and the file closed without error is it moved onto the output
// name (platform::FileReplacement). The output is replaced only when it is
// absent or a regular file, and keeps its permission bits; a device, pipe,
// folder or a link to one is an output that cannot be opened. Any failure,
// or a run that ends before `Commit`, removes the temporary file and leaves
// the output as it was.
#pragma once

#include <cstddef>
#include <string>

#include "platform/file_replacement.h"

class ReplacingFile {
public:
    // The file operations used, replaceable so that tests can make any one fail.
    using Calls = platform::ReplacementCalls;
    static const Calls& StandardCalls() { return platform::StandardReplacementCalls(); }

    // The start of every temporary file's name.
    static constexpr const char* kTemporaryPrefix = ".korbastel-";

    explicit ReplacingFile(const Calls& calls = StandardCalls()) : replacement_(calls) {}

    // Creates the temporary file for `outputName`. False when the output
    // cannot be opened: no such folder, no rights, an empty name, a name
    // ending in a separator, or an output that is not a regular file.
    bool Open(const std::string& outputName);
    // Writes `size` bytes, closes, moves onto the output name. False when any
    // step fails; the temporary file is then removed and the output untouched.
    bool Commit(const void* data, size_t size);
    // Closes and removes the temporary file, if one is open.
    void Discard() { replacement_.Discard(); }

    const std::string& TemporaryName() const { return replacement_.TemporaryName(); }

private:
    platform::FileReplacement replacement_;
};
