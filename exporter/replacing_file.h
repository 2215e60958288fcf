// Writes an output file so that it is either complete or untouched.
//
// The data go to a temporary file in the output's folder; only after every
// byte was written and the file closed without error is it moved onto the
// output name, replacing an existing file. Any failure, or a run that ends
// before `Commit`, removes the temporary file and leaves the output as it
// was. A full disk therefore never leaves a cut file under the output name.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

class ReplacingFile {
public:
    // The file operations used, replaceable so that tests can make any one fail.
    struct Calls {
        std::FILE* (*open)(const char* path, const char* mode);
        size_t (*write)(const void* data, size_t size, size_t count, std::FILE* file);
        int (*close)(std::FILE* file);
        int (*remove)(const char* path);
        bool (*move)(const char* from, const char* to);  // replaces `to`
    };
    static const Calls& StandardCalls();

    explicit ReplacingFile(const Calls& calls = StandardCalls()) : m_calls(calls) {}
    ~ReplacingFile() { Discard(); }
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Creates the temporary file for `outputName`. False when it cannot be
    // created (no such folder, no rights, an empty name or a folder name).
    bool Open(const std::string& outputName);
    // Writes `size` bytes, closes, moves onto the output name. False when any
    // step fails; the temporary file is then removed and the output untouched.
    bool Commit(const void* data, size_t size);
    // Closes and removes the temporary file, if one is open.
    void Discard();

    const std::string& TemporaryName() const { return m_temporaryName; }

private:
    Calls m_calls;
    std::string m_outputName;
    std::string m_temporaryName;
    std::FILE* m_file = nullptr;
};
