// The shared folder of real model files (NIF_SHARED_DIR/corpus), which lives
// outside the project and may be absent.
//
//     TEST(RealFiles, Something) {
//         NIF_NEED_SHARED_CORPUS("nif");   // or "" for the corpus folder itself
//         ...
//     }
//
// Without it the test ends as skipped, with the missing path as the reason, so
// that CTest lists it among the skipped tests instead of passing it. Where the
// environment variable CI is set the folder must be there, and the test fails.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace shared_corpus {

// NIF_SHARED_DIR/corpus.
std::filesystem::path Folder();

// Empty when `entry` (a folder or file under the corpus; "" for the corpus
// itself) is there, otherwise a sentence naming what is missing.
std::string Missing(const std::string& entry);

// Whether a missing corpus fails the test (CI is set and not empty).
bool Required();

// The files of the corpus folder `folder` ("nif", "ms3d") whose extension is
// `extension` (".nif"), sorted; none when the folder is absent.
std::vector<std::filesystem::path> Files(const std::string& folder, const std::string& extension);

}  // namespace shared_corpus

// Skips (or, under CI, fails) the current test when `entry` of the shared
// corpus is absent. Use it in a test body or a fixture's SetUp.
#define NIF_NEED_SHARED_CORPUS(entry)                                                   \
    do {                                                                                \
        const std::string nif_missing_ = ::shared_corpus::Missing(entry);               \
        if (!nif_missing_.empty()) {                                                    \
            if (::shared_corpus::Required()) FAIL() << nif_missing_ << " (CI is set)"; \
            GTEST_SKIP() << nif_missing_;                                               \
        }                                                                               \
    } while (0)
