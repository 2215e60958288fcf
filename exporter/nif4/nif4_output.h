// The writer's output stream: an in-memory byte buffer that every block
// appends to, number by number, in little-endian order whatever the
// machine's own order. The finished buffer goes to disk in one checked
// write (see exporter/replacing_file.h), so a block never meets a failing
// disk half way through.
//
// A counting stream (`Counter()`) stores nothing and only adds up the
// lengths of the writes: running a block's `Write` on it gives the block's
// size from the very code that lays the block out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class Nif4Output {
public:
    Nif4Output() = default;
    static Nif4Output Counter();

    void Reserve(size_t size);

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

    // The bytes stored so far (none for a counting stream).
    const std::vector<uint8_t>& Bytes() const { return bytes_; }
    size_t Size() const { return bytes_.size(); }
    // Bytes written so far, stored or only counted. 64 bits wide, so that
    // sizing a scene cannot wrap on a 32-bit build.
    uint64_t Length() const { return counting_ ? counted_ : bytes_.size(); }

private:
    // Appends `size` zero bytes.
    void WriteZeros(size_t size);
    // Where the next `size` bytes go; null for a counting stream, which has
    // then already counted them.
    uint8_t* Grow(size_t size);

    std::vector<uint8_t> bytes_;
    bool counting_ = false;
    uint64_t counted_ = 0;
};
