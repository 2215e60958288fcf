#include "tests/support/nif_builder.h"

#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

NifBuilder& NifBuilder::Long(int32_t value) {
    const uint32_t bits = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) bytes_.push_back(static_cast<unsigned char>(bits >> shift));
    return *this;
}

NifBuilder& NifBuilder::Short(int value) {
    bytes_.push_back(static_cast<unsigned char>(value & 0xFF));
    bytes_.push_back(static_cast<unsigned char>((value >> 8) & 0xFF));
    return *this;
}

NifBuilder& NifBuilder::Byte(int value) {
    bytes_.push_back(static_cast<unsigned char>(value & 0xFF));
    return *this;
}

NifBuilder& NifBuilder::Float(float value) {
    int32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return Long(bits);
}

NifBuilder& NifBuilder::Floats(std::initializer_list<float> values) {
    for (float value : values) Float(value);
    return *this;
}

NifBuilder& NifBuilder::RepeatFloat(float value, int count) {
    for (int i = 0; i < count; ++i) Float(value);
    return *this;
}

NifBuilder& NifBuilder::Raw(std::string_view bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
}

NifBuilder& NifBuilder::String(std::string_view text) {
    Long(static_cast<int32_t>(text.size()));
    return Raw(text);
}

NifBuilder& NifBuilder::Vector(float x, float y, float z) { return Floats({x, y, z}); }

NifBuilder& NifBuilder::IdentityMatrix33() { return Floats({1, 0, 0, 0, 1, 0, 0, 0, 1}); }

NifBuilder& NifBuilder::LinkList(std::initializer_list<int32_t> indices) {
    Long(static_cast<int32_t>(indices.size()));
    for (int32_t index : indices) Long(index);
    return *this;
}

NifBuilder& NifBuilder::HeaderLine(std::string_view line) {
    Raw(line);
    return Byte('\n');
}

NifBuilder& NifBuilder::FileStart(int32_t blockCount) { return HeaderLine().Long(kVersion).Long(blockCount); }

NifBuilder& NifBuilder::TypeName(std::string_view name) { return String(name); }

NifBuilder& NifBuilder::Footer(std::initializer_list<int32_t> roots) { return LinkList(roots); }

namespace {

std::string FreshTemporaryPath() {
    static std::atomic<unsigned> counter{0};
    static const unsigned long long session = std::random_device{}();
    const auto name = "nif_builder_" + std::to_string(session) + "_" + std::to_string(counter++) + ".nif";
    return (std::filesystem::temp_directory_path() / name).string();
}

}  // namespace

TempNifFile::TempNifFile(const NifBuilder& builder) : TempNifFile(builder.Bytes()) {}

TempNifFile::TempNifFile(const std::vector<unsigned char>& bytes) : path_(FreshTemporaryPath()) {
    std::ofstream out(path_, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write temporary file " + path_);
}

TempNifFile::~TempNifFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
}
