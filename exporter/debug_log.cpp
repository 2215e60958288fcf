#include "exporter/debug_log.h"

#include "platform/platform.h"

std::string DebugLogPath() { return platform::TemporaryFolder() + "debug.log"; }

void WriteDebugLog(const std::string& text) {
    // The log sits in a folder every user can write to: a link or a special
    // file planted under its name is left alone rather than written through.
    platform::OverwriteRegularFile(DebugLogPath().c_str(), text.data(), text.size());
}
