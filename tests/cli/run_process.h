// Runs a program with arguments and extra environment variables, and
// captures its stdout, stderr and exit status (for command-line tests).
#pragma once

#include <string>
#include <utility>
#include <vector>

struct ProcessResult {
    int status = -1;  // the exit status, or -1 when it did not exit normally
    std::string out;
    std::string err;
};

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::pair<std::string, std::string>>& environment = {});
