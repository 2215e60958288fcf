// The exporter's debug log: "debug.log" in the system's temporary folder.
// Its one use: when the output file cannot be created, the log receives the
// output name (no terminator, no line end), replacing what it held.
#pragma once

#include <string>

// The log's full path.
std::string DebugLogPath();
// Replaces the log's contents with `text`. Does nothing when the log cannot
// be opened, or is a link, a folder, a device or a pipe rather than a regular file.
void WriteDebugLog(const std::string& text);
