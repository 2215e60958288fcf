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
    if (!m_calls.create(outputName, kTemporaryPrefix, &m_file)) {
        m_file = {};
        return false;
    }
    m_outputName = outputName;
    return true;
}

bool ReplacingFile::Commit(const void* data, size_t size) {
    if (m_file.name.empty()) return false;
    const bool written = size == 0 || m_calls.write(m_file, data, size);
    const bool closed = m_calls.close(&m_file);
    if (written && closed && m_calls.replace(&m_file, m_outputName.c_str())) return true;
    Discard();
    return false;
}

void ReplacingFile::Discard() {
    if (!m_file.name.empty() || m_file.handle != -1) m_calls.discard(&m_file);
    m_file = {};
}
