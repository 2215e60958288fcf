#include "exporter/replacing_file.h"

namespace {

bool NamesAFolder(const std::string& name) {
    return name.empty() || name.back() == '/' || name.back() == '\\';
}

}  // namespace

bool ReplacingFile::Open(const std::string& outputName) {
    Discard();
    if (NamesAFolder(outputName)) return false;
    if (platform::KindOfFile(outputName.c_str()) == platform::FileKind::kOther) return false;
    return replacement_.Begin(outputName, kTemporaryPrefix);
}

// Without an open temporary file (never opened, or already committed) Finish fails.
bool ReplacingFile::Commit(const void* data, size_t size) { return replacement_.Finish(data, size); }
