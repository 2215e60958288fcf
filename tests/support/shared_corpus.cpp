#include "tests/support/shared_corpus.h"

#include <algorithm>
#include <cstdlib>

namespace shared_corpus {

std::filesystem::path Folder() { return std::filesystem::path(NIF_SHARED_DIR) / "corpus"; }

std::string Missing(const std::string& entry) {
    const std::filesystem::path path = entry.empty() ? Folder() : Folder() / entry;
    std::error_code error;
    if (std::filesystem::exists(path, error)) return {};
    return "the shared corpus is absent: no " + path.string();
}

bool Required() {
    const char* ci = std::getenv("CI");
    return ci != nullptr && *ci != '\0';
}

std::vector<std::filesystem::path> Files(const std::string& folder, const std::string& extension) {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(Folder() / folder, error)) {
        if (entry.path().extension() == extension) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace shared_corpus
