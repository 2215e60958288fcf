// NifBuilder: writes NIF bytes for tests, value by value.
//
// Every number is appended little-endian, exactly as a NIF 4.0.0.2 file holds
// it. Calls chain:
//
//     NifBuilder nif;
//     nif.FileStart(1)                       // header line, version, block count 1
//        .TypeName("NiZBufferProperty")      // length-prefixed type name
//        .String("").Long(-1).Long(-1).Short(3)
//        .Footer();                          // root count 1, root index 0
//     TempNifFile file(nif);                 // on disk until `file` goes away
//     Qiv_Stream stream(&printer); stream.OpenFile(file.Path().c_str());
//
// Or load straight from memory: stream.OpenBytes(nif.Data(), nif.Size(), "test").
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

class NifBuilder {
public:
    // The header line of every NIF 4.0.0.2 file, without its line feed.
    static constexpr const char* kHeaderLine = "NetImmerse File Format, Version 4.0.0.2";
    static constexpr int32_t kVersion = 0x04000002;

    // Plain values, little-endian.
    NifBuilder& Long(int32_t value);
    NifBuilder& Short(int value);  // the low 16 bits: pass -1 or 0xFFFF alike
    NifBuilder& Byte(int value);   // the low 8 bits
    NifBuilder& Float(float value);
    NifBuilder& Floats(std::initializer_list<float> values);
    // `count` copies of `value` (a block of filler Floats).
    NifBuilder& RepeatFloat(float value, int count);
    // Raw bytes with no length prefix.
    NifBuilder& Raw(std::string_view bytes);
    // A Long length followed by the bytes (no terminator).
    NifBuilder& String(std::string_view text);

    // Records shared by many blocks.
    NifBuilder& Vector(float x, float y, float z);
    NifBuilder& IdentityMatrix33();                      // 9 Floats
    NifBuilder& LinkList(std::initializer_list<int32_t> indices);  // count, then the indices

    // The envelope.
    NifBuilder& HeaderLine(std::string_view line = kHeaderLine);  // the line and a 0x0A byte
    NifBuilder& FileStart(int32_t blockCount);            // header line, version, block count
    NifBuilder& TypeName(std::string_view name);          // same as String
    NifBuilder& Footer(std::initializer_list<int32_t> roots = {0});  // root count, then the roots

    const std::vector<unsigned char>& Bytes() const { return bytes_; }
    const unsigned char* Data() const { return bytes_.data(); }
    size_t Size() const { return bytes_.size(); }

private:
    std::vector<unsigned char> bytes_;
};

// A temporary file holding a builder's bytes (or any bytes); removed when
// the object goes away. Each one gets a fresh name in the system's temporary folder.
class TempNifFile {
public:
    explicit TempNifFile(const NifBuilder& builder);
    explicit TempNifFile(const std::vector<unsigned char>& bytes);
    ~TempNifFile();
    TempNifFile(const TempNifFile&) = delete;
    TempNifFile& operator=(const TempNifFile&) = delete;

    const std::string& Path() const { return path_; }

private:
    std::string path_;
};
