#include "exporter/replacing_file.h"

namespace {

bool NamesAFolder(const std::string& name) {
    return name.empty() || name.back() == '/' || name.back() == '\\';
}

}  // namespace

bool ReplacingFile::Open(const std::string& outputName) {
    Discard();
    open_ = false;
    if (NamesAFolder(outputName)) return false;
    if (platform::KindOfFile(outputName.c_str()) == platform::FileKind::kOther) return false;
    open_ = replacement_.Begin(outputName, kTemporaryPrefix);
    return open_;
}

bool ReplacingFile::Commit(const void* data, size_t size) {
    if (!open_) return false;
    open_ = false;
    return replacement_.Finish(data, size);
}
