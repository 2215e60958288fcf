// Puts new contents under a file name in one step, so that the name holds
// either its old contents or all of the new: the one sequence of create,
// write, close, replace (and discard on any failure) that every writer of
// an output file goes through.
#pragma once

#include <cstddef>
#include <string>

#include "platform/platform.h"

namespace platform {

// The file operations used, replaceable so that tests can make any one fail.
struct ReplacementCalls {
    bool (*create)(const std::string& target, const char* prefix, TemporaryFile* file);
    bool (*write)(const TemporaryFile& file, const void* data, size_t size);
    bool (*close)(TemporaryFile* file);
    void (*discard)(TemporaryFile* file);
    bool (*replace)(TemporaryFile* file, const char* target);
};
// CreateTemporaryFile, WriteTemporaryFile, CloseTemporaryFile,
// DiscardTemporaryFile and ReplaceWithTemporaryFile.
const ReplacementCalls& StandardReplacementCalls();

class FileReplacement {
public:
    // The step that failed, for the caller's message.
    enum class Step { kNone, kCreate, kWrite, kClose, kReplace };

    explicit FileReplacement(const ReplacementCalls& calls = StandardReplacementCalls()) : calls_(calls) {}
    ~FileReplacement() { Discard(); }
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Creates the temporary file of `target` ("<prefix><random>.tmp" in its
    // folder). False when the folder takes no new file.
    bool Begin(const std::string& target, const char* prefix);
    // Writes `size` bytes, closes the file and puts it under the target.
    // False when any step fails; the temporary file is then removed and the
    // target left as it was.
    bool Finish(const void* data, size_t size);
    // Closes and removes the temporary file, if there is one.
    void Discard();

    Step FailedStep() const { return failedStep_; }
    // errno right after the failed step (0 where the system keeps none).
    int FailedErrorNumber() const { return failedErrorNumber_; }
    const std::string& TemporaryName() const { return file_.name; }

private:
    bool Fail(Step step, int errorNumber);

    ReplacementCalls calls_;
    std::string target_;
    TemporaryFile file_;
    Step failedStep_ = Step::kNone;
    int failedErrorNumber_ = 0;
};

}  // namespace platform
