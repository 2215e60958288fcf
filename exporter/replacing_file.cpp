#include "exporter/replacing_file.h"

namespace {

bool NamesAFolder(const std::string& name) {
    return name.empty() || name.back() == '/' || name.back() == '\\';
}

}  // namespace

const ReplacingFile::Calls& ReplacingFile::StandardCalls() {
    static const Calls calls = {&platform::CreateTemporaryFile, &platform::WriteTemporaryFile,
                                &platform::CloseTemporaryFile, &platform::DiscardTemporaryFile,
                                &platform::ReplaceWithTemporaryFile};
    return calls;
}

bool ReplacingFile::Open(const std::string& outputName) {
    Discard();
    if (NamesAFolder(outputName)) return false;
    if (platform::KindOfFile(outputName.c_str()) == platform::FileKind::kOther) return false;
    if (!calls_.create(outputName, kTemporaryPrefix, &file_)) {
        file_ = {};
        return false;
    }
    outputName_ = outputName;
    return true;
}

bool ReplacingFile::Commit(const void* data, size_t size) {
    if (file_.name.empty()) return false;
    const bool written = size == 0 || calls_.write(file_, data, size);
    const bool closed = calls_.close(&file_);
    if (written && closed && calls_.replace(&file_, outputName_.c_str())) return true;
    Discard();
    return false;
}

void ReplacingFile::Discard() {
    if (!file_.name.empty() || file_.handle != -1) calls_.discard(&file_);
    file_ = {};
}
