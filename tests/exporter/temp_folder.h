// A fresh folder per test under the build's temporary area, removed with
// everything in it when the test ends. Its name holds the process id, so
// that two test runs on one machine keep out of each other's folders.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

class TempFolder {
public:
    explicit TempFolder(const std::string& suffix = "") {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = "korbastel_" + std::to_string(getpid()) + "_";
        if (info) name += std::string(info->test_suite_name()) + "_" + info->name();
        name += suffix;
        path_ = std::filesystem::temp_directory_path() / name;
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string Path(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& Root() const { return path_; }

    // Names of every entry in the folder, sorted.
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    static bool Exists(const std::string& path) { return std::filesystem::exists(path); }
    static std::string ReadAll(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static void WriteAll(const std::string& path, const std::string& data) {
        std::ofstream out(path, std::ios::binary);
        out << data;
    }

private:
    std::filesystem::path path_;
};
