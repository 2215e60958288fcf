// Replays saved fuzz inputs through a fuzz target without libFuzzer, so the
// normal (sanitizer) build checks every kept crash input on every test run.
//
//     fuzz_replay_reader FILE_OR_FOLDER...
//
// Folders are read one level deep, in name order, skipping names that start
// with a dot (.gitkeep). Prints how many inputs it replayed. Exits 0 when every
// input ran through (a crash or sanitizer report ends the process with a
// failure first), 1 when a folder holds no input (a replay of nothing checks
// nothing), 2 when an argument cannot be read.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/fuzz/fuzz_target.h"

namespace {

bool ReadFile(const std::filesystem::path& path, std::vector<uint8_t>* bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i) {
        std::error_code error;
        const std::filesystem::path argument(argv[i]);
        if (std::filesystem::is_directory(argument, error)) {
            std::vector<std::filesystem::path> found;
            for (const auto& entry : std::filesystem::directory_iterator(argument, error))
                if (entry.is_regular_file() && entry.path().filename().string()[0] != '.') found.push_back(entry.path());
            if (found.empty()) {
                std::fprintf(stderr, "no inputs in '%s'\n", argv[i]);
                return 1;
            }
            std::sort(found.begin(), found.end());
            inputs.insert(inputs.end(), found.begin(), found.end());
        } else if (std::filesystem::is_regular_file(argument, error)) {
            inputs.push_back(argument);
        } else {
            std::fprintf(stderr, "cannot read '%s'\n", argv[i]);
            return 2;
        }
    }
    std::vector<uint8_t> bytes;
    for (const auto& path : inputs) {
        if (!ReadFile(path, &bytes)) {
            std::fprintf(stderr, "cannot read '%s'\n", path.string().c_str());
            return 2;
        }
        std::fprintf(stderr, "replaying %s (%zu bytes)\n", path.string().c_str(), bytes.size());
        // A copy of exactly the input's size, so that an overread past it is caught.
        std::vector<uint8_t> exact(bytes);
        LLVMFuzzerTestOneInput(exact.empty() ? nullptr : exact.data(), exact.size());
    }
    std::printf("%zu inputs replayed\n", inputs.size());
    return 0;
}
