// The two failing exit statuses of a command, each with its one stderr line
// "mshost: <reason>".
#pragma once

#include <string>

namespace mshost {

// Status 2: mshost's own problem (usage, input, output); nothing was run or saved.
inline int Problem(std::string* err, const std::string& reason) {
    *err += "mshost: " + reason + "\n";
    return 2;
}

// Status 3: the plug-in ran and reported a failure.
inline int Failed(std::string* err, const std::string& reason) {
    *err += "mshost: " + reason + "\n";
    return 3;
}

}  // namespace mshost
