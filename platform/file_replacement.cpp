#include "platform/file_replacement.h"

#include <cerrno>

namespace platform {

const ReplacementCalls& StandardReplacementCalls() {
    static const ReplacementCalls calls = {&CreateTemporaryFile, &WriteTemporaryFile, &CloseTemporaryFile,
                                           &DiscardTemporaryFile, &ReplaceWithTemporaryFile};
    return calls;
}

bool FileReplacement::Fail(Step step, int errorNumber) {
    failedStep_ = step;
    failedErrorNumber_ = errorNumber;
    Discard();
    return false;
}

bool FileReplacement::Begin(const std::string& target, const char* prefix) {
    Discard();
    failedStep_ = Step::kNone;
    failedErrorNumber_ = 0;
    errno = 0;
    if (!calls_.create(target, prefix, &file_)) {
        const int error = errno;
        file_ = {};
        return Fail(Step::kCreate, error);
    }
    target_ = target;
    return true;
}

bool FileReplacement::Finish(const void* data, size_t size) {
    if (file_.name.empty()) return Fail(Step::kCreate, 0);
    errno = 0;
    if (size != 0 && !calls_.write(file_, data, size)) {
        const int error = errno;
        calls_.close(&file_);
        return Fail(Step::kWrite, error);
    }
    errno = 0;
    if (!calls_.close(&file_)) return Fail(Step::kClose, errno);
    errno = 0;
    if (!calls_.replace(&file_, target_.c_str())) return Fail(Step::kReplace, errno);
    file_ = {};
    return true;
}

void FileReplacement::Discard() {
    if (!file_.name.empty() || file_.handle != -1 || file_.folder != -1) calls_.discard(&file_);
    file_ = {};
}

}  // namespace platform
