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
#include <cstring>
#include <string>
#include <vector>

class Nif4Output {
public:
    Nif4Output() = default;
    static Nif4Output Counter();

    void Reserve(size_t size);

    void WriteBytes(const void* data, size_t size);
    // The fixed-size writes are inline: an export makes hundreds of
    // thousands of them, twice (once counting, once storing).
    void WriteUInt8(uint8_t value) {
        if (uint8_t* out = Grow(1)) out[0] = value;
    }
    void WriteUInt16(uint16_t value) {
        if (uint8_t* out = Grow(2)) {
            out[0] = static_cast<uint8_t>(value);
            out[1] = static_cast<uint8_t>(value >> 8);
        }
    }
    void WriteInt16(int16_t value) { WriteUInt16(static_cast<uint16_t>(value)); }
    void WriteUInt32(uint32_t value) {
        if (uint8_t* out = Grow(4)) {
            out[0] = static_cast<uint8_t>(value);
            out[1] = static_cast<uint8_t>(value >> 8);
            out[2] = static_cast<uint8_t>(value >> 16);
            out[3] = static_cast<uint8_t>(value >> 24);
        }
    }
    void WriteInt32(int32_t value) { WriteUInt32(static_cast<uint32_t>(value)); }
    void WriteFloat(float value) {
        uint32_t bits = 0;
        static_assert(sizeof bits == sizeof value);
        std::memcpy(&bits, &value, sizeof bits);
        WriteUInt32(bits);
    }
    // An int32 length, then exactly `length` characters: those of `text`,
    // padded with zero bytes should the text be shorter than the length
    // (never read past it). A length of 0 or less writes the length only.
    void WriteCountedText(int32_t length, const std::string& text);

    // The bytes stored so far (none for a counting stream).
    const std::vector<uint8_t>& Bytes() const {
        bytes_.resize(used_);  // drops the room kept for later writes; never moves the bytes
        return bytes_;
    }
    size_t Size() const { return used_; }
    // Bytes written so far, stored or only counted. 64 bits wide, so that
    // sizing a scene cannot wrap on a 32-bit build.
    uint64_t Length() const { return counting_ ? counted_ : used_; }

private:
    // Appends `size` zero bytes.
    void WriteZeros(size_t size);
    // Where the next `size` bytes go; null for a counting stream, which has
    // then already counted them.
    uint8_t* Grow(size_t size) {
        if (counting_) {
            counted_ += size;
            return nullptr;
        }
        if (bytes_.size() - used_ < size) MakeRoom(size);
        uint8_t* at = bytes_.data() + used_;
        used_ += size;
        return at;
    }
    // Enlarges the storage so that `size` more bytes fit (at least doubling it).
    void MakeRoom(size_t size);

    // The storage: the first used_ bytes are the output, the rest room for more.
    mutable std::vector<uint8_t> bytes_;
    size_t used_ = 0;
    bool counting_ = false;
    uint64_t counted_ = 0;
};
