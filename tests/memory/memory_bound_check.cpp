// memory_bound_check: the whole-process peak memory of `mshost check FILE`
// against its bound, for each file named.
//
//     memory_bound_check [--size-times K] [--extra-mb M] [--largest N] [--shared-corpus] MSHOST PATH...
//
// The peak is the maximum resident set size the kernel reports for the
// finished child (what /usr/bin/time -v prints); the bound is K x the file's
// size + M MiB (K 3 and M 16 unless given). A PATH that is a folder stands for
// its .nif files, or with --largest N for the N largest of them. With
// --shared-corpus the PATH lies in the shared corpus, which may be absent: the
// run then ends as skipped (exit 77) naming what is missing, or fails where
// the environment variable CI is set, as the corpus tests do.
//
// Prints one line per file: name, bytes, peak and limit in KiB, ok or OVER.
// Exits 1 when a file goes over its bound, when mshost cannot be run or ends
// other than by loading (0) or rejecting (1) the file, or when a PATH names no file.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr int kSkipped = 77;  // the tests' SKIP_RETURN_CODE

struct Options {
    unsigned long long sizeTimes = 3;
    unsigned long long extraMiB = 16;
    size_t largest = 0;  // 0: every file of a folder
    bool sharedCorpus = false;
    std::string mshost;
    std::vector<std::string> paths;
};

bool ParseNumber(const char* text, unsigned long long* value) {
    char* end = nullptr;
    errno = 0;
    *value = std::strtoull(text, &end, 10);
    return errno == 0 && end != text && *end == '\0';
}

bool ParseOptions(int argc, char** argv, Options* options) {
    int i = 1;
    for (; i < argc && std::strncmp(argv[i], "--", 2) == 0; ++i) {
        const std::string name = argv[i];
        unsigned long long number = 0;
        if (name == "--shared-corpus") {
            options->sharedCorpus = true;
        } else if (i + 1 < argc && ParseNumber(argv[i + 1], &number) &&
                   (name == "--size-times" || name == "--extra-mb" || name == "--largest")) {
            if (name == "--size-times") options->sizeTimes = number;
            if (name == "--extra-mb") options->extraMiB = number;
            if (name == "--largest") options->largest = static_cast<size_t>(number);
            ++i;
        } else {
            return false;
        }
    }
    if (argc - i < 2) return false;
    options->mshost = argv[i++];
    options->paths.assign(argv + i, argv + argc);
    return true;
}

// The .nif files of `folder`, largest first (names break ties), at most `largest` of them.
std::vector<fs::path> NifFilesOf(const fs::path& folder, size_t largest) {
    std::vector<std::pair<uintmax_t, fs::path>> found;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        if (entry.is_regular_file() && entry.path().extension() == ".nif") found.emplace_back(entry.file_size(), entry.path());
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    if (largest != 0 && found.size() > largest) found.resize(largest);
    std::vector<fs::path> files;
    for (auto& [size, path] : found) files.push_back(std::move(path));
    return files;
}

// Runs `mshost check FILE` with its output discarded; the child's peak
// resident set in KiB, or -1 with `problem` set when it did not run to an end
// of its own with status 0 or 1.
long RunCheck(const std::string& mshost, const fs::path& file, std::string* problem) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::string command = "check";
    std::string path = file.string();
    char* args[] = {const_cast<char*>(mshost.c_str()), command.data(), path.data(), nullptr};
    pid_t child = 0;
    const int spawned = posix_spawn(&child, mshost.c_str(), &actions, nullptr, args, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        *problem = "cannot run " + mshost + ": " + std::strerror(spawned);
        return -1;
    }
    int status = 0;
    struct rusage usage {};
    if (wait4(child, &status, 0, &usage) != child) {
        *problem = std::string("lost the child: ") + std::strerror(errno);
        return -1;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) > 1) {
        *problem = WIFEXITED(status) ? "mshost check ended with status " + std::to_string(WEXITSTATUS(status))
                                     : "mshost check ended by signal " + std::to_string(WTERMSIG(status));
        return -1;
    }
    return usage.ru_maxrss;  // KiB on Linux
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, &options)) {
        std::fprintf(stderr,
                     "usage: memory_bound_check [--size-times K] [--extra-mb M] [--largest N] [--shared-corpus] "
                     "MSHOST PATH...\n");
        return 2;
    }

    std::vector<fs::path> files;
    for (const std::string& path : options.paths) {
        std::error_code error;
        if (!fs::exists(path, error)) {
            const std::string missing = "no " + path;
            if (!options.sharedCorpus) {
                std::printf("%s\n", missing.c_str());
                return 1;
            }
            const char* ci = std::getenv("CI");
            if (ci != nullptr && *ci != '\0') {
                std::printf("the shared corpus is absent: %s (CI is set)\n", missing.c_str());
                return 1;
            }
            std::printf("skipped: the shared corpus is absent: %s\n", missing.c_str());
            return kSkipped;
        }
        if (fs::is_directory(path)) {
            const std::vector<fs::path> found = NifFilesOf(path, options.largest);
            if (found.empty()) {
                std::printf("no .nif file in %s\n", path.c_str());
                return 1;
            }
            files.insert(files.end(), found.begin(), found.end());
        } else {
            files.emplace_back(path);
        }
    }

    int status = 0;
    std::printf("%-40s %12s %12s %12s %s\n", "file", "bytes", "peak_kb", "limit_kb", "result");
    for (const fs::path& file : files) {
        const unsigned long long size = fs::file_size(file);
        const unsigned long long limitKiB = (options.sizeTimes * size + (options.extraMiB << 20)) / 1024;
        std::string problem;
        const long peakKiB = RunCheck(options.mshost, file, &problem);
        if (peakKiB < 0) {
            std::printf("%-40s %s\n", file.filename().c_str(), problem.c_str());
            status = 1;
            continue;
        }
        const bool over = static_cast<unsigned long long>(peakKiB) >= limitKiB;
        if (over) status = 1;
        std::printf("%-40s %12llu %12ld %12llu %s\n", file.filename().c_str(), size, peakKiB, limitKiB,
                    over ? "OVER" : "ok");
    }
    return status;
}
