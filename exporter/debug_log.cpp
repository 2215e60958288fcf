#include "exporter/debug_log.h"

#include <cstdio>

#include "platform/platform.h"

std::string DebugLogPath() { return platform::TemporaryFolder() + "debug.log"; }

void WriteDebugLog(const std::string& text) {
    std::FILE* log = std::fopen(DebugLogPath().c_str(), "w");
    if (!log) return;
    std::fwrite(text.data(), 1, text.size(), log);
    std::fclose(log);
}
