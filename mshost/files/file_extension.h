// Whether a file name ends in a given extension, in any case.
#pragma once

#include <cctype>
#include <string_view>

namespace mshost {

// `lowerExtension` is given in lower case, with its dot (".nif").
inline bool HasExtension(std::string_view path, std::string_view lowerExtension) {
    if (path.size() < lowerExtension.size()) return false;
    const std::string_view tail = path.substr(path.size() - lowerExtension.size());
    for (size_t i = 0; i < tail.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(tail[i])) != lowerExtension[i]) return false;
    }
    return true;
}

}  // namespace mshost
