#include "tests/support/shared_corpus.h"

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

}  // namespace shared_corpus
