#include "exporter/nif4/nif4_output.h"

#include <cstring>

void Nif4Output::WriteBytes(const void* data, size_t size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    bytes_.insert(bytes_.end(), bytes, bytes + size);
}

void Nif4Output::WriteUInt8(uint8_t value) { bytes_.push_back(value); }

// The fixed-size writes grow the buffer and store in place: a range insert
// per value was the largest entry of the export's profile.
void Nif4Output::WriteUInt16(uint16_t value) {
    const size_t at = bytes_.size();
    bytes_.resize(at + 2);
    uint8_t* out = bytes_.data() + at;
    out[0] = static_cast<uint8_t>(value);
    out[1] = static_cast<uint8_t>(value >> 8);
}

void Nif4Output::WriteInt16(int16_t value) { WriteUInt16(static_cast<uint16_t>(value)); }

void Nif4Output::WriteUInt32(uint32_t value) {
    const size_t at = bytes_.size();
    bytes_.resize(at + 4);
    uint8_t* out = bytes_.data() + at;
    out[0] = static_cast<uint8_t>(value);
    out[1] = static_cast<uint8_t>(value >> 8);
    out[2] = static_cast<uint8_t>(value >> 16);
    out[3] = static_cast<uint8_t>(value >> 24);
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
    bytes_.insert(bytes_.end(), wanted - available, uint8_t{0});
}
