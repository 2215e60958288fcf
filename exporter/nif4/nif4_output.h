// The writer's output stream: an in-memory byte buffer that every block
// appends to, number by number, in little-endian order whatever the
// machine's own order. The finished buffer goes to disk in one checked
// write (see exporter/replacing_file.h), so a block never meets a failing
// disk half way through.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class Nif4Output {
public:
    void Reserve(size_t size) { bytes_.reserve(size); }

    void WriteBytes(const void* data, size_t size);
    void WriteUInt8(uint8_t value);
    void WriteUInt16(uint16_t value);
    void WriteInt16(int16_t value);
    void WriteUInt32(uint32_t value);
    void WriteInt32(int32_t value);
    void WriteFloat(float value);
    // An int32 length, then exactly `length` characters: those of `text`,
    // padded with zero bytes should the text be shorter than the length
    // (never read past it). A length of 0 or less writes the length only.
    void WriteCountedText(int32_t length, const std::string& text);

    const std::vector<uint8_t>& Bytes() const { return bytes_; }
    size_t Size() const { return bytes_.size(); }

private:
    std::vector<uint8_t> bytes_;
};
