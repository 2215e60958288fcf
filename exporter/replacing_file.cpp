#include "exporter/replacing_file.h"

#include "platform/platform.h"

namespace {

std::FILE* OpenFile(const char* path, const char* mode) { return std::fopen(path, mode); }
size_t WriteFile(const void* data, size_t size, size_t count, std::FILE* file) {
    return std::fwrite(data, size, count, file);
}
int CloseFile(std::FILE* file) { return std::fclose(file); }
int RemoveFile(const char* path) { return std::remove(path); }

bool NamesAFolder(const std::string& name) {
    return name.empty() || name.back() == '/' || name.back() == '\\';
}

// Candidate temporary names next to the output: "<output>.tmp", then
// "<output>.1.tmp" and so on.
std::string TemporaryCandidate(const std::string& outputName, int attempt) {
    if (attempt == 0) return outputName + ".tmp";
    return outputName + "." + std::to_string(attempt) + ".tmp";
}

constexpr int kTemporaryNameAttempts = 100;

}  // namespace

const ReplacingFile::Calls& ReplacingFile::StandardCalls() {
    static const Calls calls = {&OpenFile, &WriteFile, &CloseFile, &RemoveFile, &platform::MoveFileReplacing};
    return calls;
}

bool ReplacingFile::Open(const std::string& outputName) {
    Discard();
    if (NamesAFolder(outputName)) return false;
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        const std::string candidate = TemporaryCandidate(outputName, attempt);
        // Never truncate a file that happens to carry the candidate name.
        if (std::FILE* existing = m_calls.open(candidate.c_str(), "rb")) {
            m_calls.close(existing);
            continue;
        }
        m_file = m_calls.open(candidate.c_str(), "wb");
        if (!m_file) return false;
        m_outputName = outputName;
        m_temporaryName = candidate;
        return true;
    }
    return false;
}

bool ReplacingFile::Commit(const void* data, size_t size) {
    if (!m_file) return false;
    const bool written = size == 0 || m_calls.write(data, 1, size, m_file) == size;
    const bool closed = m_calls.close(m_file) == 0;
    m_file = nullptr;
    if (written && closed && m_calls.move(m_temporaryName.c_str(), m_outputName.c_str())) {
        m_temporaryName.clear();
        return true;
    }
    Discard();
    return false;
}

void ReplacingFile::Discard() {
    if (m_file) {
        m_calls.close(m_file);
        m_file = nullptr;
    }
    if (!m_temporaryName.empty()) {
        m_calls.remove(m_temporaryName.c_str());
        m_temporaryName.clear();
    }
}
