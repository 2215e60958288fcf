#include "tests/fuzz/fuzz_files.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace fuzzfiles {

namespace {

struct Scratch {
    std::filesystem::path folder;
    Scratch() {
        folder = std::filesystem::temp_directory_path() / ("nif_fuzz_" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
    }
    ~Scratch() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
};

Scratch& TheScratch() {
    static Scratch scratch;
    return scratch;
}

}  // namespace

const std::string& ScratchFolder() {
    static const std::string path = TheScratch().folder.string();
    return path;
}

std::string WriteScratchFile(const char* name, const void* data, size_t size) {
    const std::string path = ScratchFolder() + "/" + name;
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) std::abort();
    const bool written = size == 0 || std::fwrite(data, 1, size, out) == size;
    if (std::fclose(out) != 0 || !written) std::abort();
    return path;
}

}  // namespace fuzzfiles
