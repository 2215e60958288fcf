#include "exporter/nif4/nif4_output.h"

#include <cstring>

Nif4Output Nif4Output::Counter() {
    Nif4Output counter;
    counter.counting_ = true;
    return counter;
}

void Nif4Output::Reserve(size_t size) {
    if (!counting_) bytes_.reserve(size);
}

// The fixed-size writes grow the buffer and store in place rather than
// inserting a range per value: the export writes hundreds of thousands of them.
uint8_t* Nif4Output::Grow(size_t size) {
    if (counting_) {
        counted_ += size;
        return nullptr;
    }
    const size_t at = bytes_.size();
    bytes_.resize(at + size);
    return bytes_.data() + at;
}

void Nif4Output::WriteBytes(const void* data, size_t size) {
    if (counting_) {
        counted_ += size;
        return;
    }
    const auto* bytes = static_cast<const uint8_t*>(data);
    bytes_.insert(bytes_.end(), bytes, bytes + size);
}

void Nif4Output::WriteZeros(size_t size) {
    if (counting_) {
        counted_ += size;
        return;
    }
    bytes_.insert(bytes_.end(), size, uint8_t{0});
}

void Nif4Output::WriteUInt8(uint8_t value) {
    if (uint8_t* out = Grow(1)) out[0] = value;
}

void Nif4Output::WriteUInt16(uint16_t value) {
    if (uint8_t* out = Grow(2)) {
        out[0] = static_cast<uint8_t>(value);
        out[1] = static_cast<uint8_t>(value >> 8);
    }
}

void Nif4Output::WriteInt16(int16_t value) { WriteUInt16(static_cast<uint16_t>(value)); }

void Nif4Output::WriteUInt32(uint32_t value) {
    if (uint8_t* out = Grow(4)) {
        out[0] = static_cast<uint8_t>(value);
        out[1] = static_cast<uint8_t>(value >> 8);
        out[2] = static_cast<uint8_t>(value >> 16);
        out[3] = static_cast<uint8_t>(value >> 24);
    }
}

void Nif4Output::WriteInt32(int32_t value) { WriteUInt32(static_cast<uint32_t>(value)); }

void Nif4Output::WriteFloat(float value) {
    uint32_t bits = 0;
    static_assert(sizeof bits == sizeof value);
    std::memcpy(&bits, &value, sizeof bits);
    WriteUInt32(bits);
}

void Nif4Output::WriteCountedText(int32_t length, const std::string& text) {
    WriteInt32(length);
    if (length <= 0) return;
    const size_t wanted = static_cast<size_t>(length);
    const size_t available = text.size() < wanted ? text.size() : wanted;
    WriteBytes(text.data(), available);
    WriteZeros(wanted - available);
}
