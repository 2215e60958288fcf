// Small helpers for the writer's byte-exact tests: hex literals, reading
// little-endian values back at an offset, and writing one block.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "exporter/nif4/nif4_block.h"
#include "exporter/nif4/nif4_output.h"

namespace bytes {

using Bytes = std::vector<uint8_t>;

// "11 00 ff" -> {0x11, 0x00, 0xff}; spaces and line breaks are ignored.
inline Bytes Hex(const std::string& text) {
    Bytes out;
    int high = -1;
    for (char c : text) {
        int value;
        if (c >= '0' && c <= '9') {
            value = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            value = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            value = c - 'A' + 10;
        } else {
            continue;
        }
        if (high < 0) {
            high = value;
        } else {
            out.push_back(static_cast<uint8_t>(high * 16 + value));
            high = -1;
        }
    }
    return out;
}

// The characters of `text` as bytes, no terminator.
inline Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

inline Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

inline Bytes Slice(const Bytes& data, size_t offset, size_t size) {
    if (offset > data.size() || size > data.size() - offset) return {};
    return Bytes(data.begin() + static_cast<std::ptrdiff_t>(offset),
                 data.begin() + static_cast<std::ptrdiff_t>(offset + size));
}

inline uint32_t U32At(const Bytes& data, size_t offset) {
    EXPECT_LE(offset + 4, data.size());
    if (offset + 4 > data.size()) return 0;
    return uint32_t(data[offset]) | uint32_t(data[offset + 1]) << 8 | uint32_t(data[offset + 2]) << 16 |
           uint32_t(data[offset + 3]) << 24;
}

inline int32_t I32At(const Bytes& data, size_t offset) { return static_cast<int32_t>(U32At(data, offset)); }

inline uint16_t U16At(const Bytes& data, size_t offset) {
    EXPECT_LE(offset + 2, data.size());
    if (offset + 2 > data.size()) return 0;
    return static_cast<uint16_t>(data[offset] | data[offset + 1] << 8);
}

inline float F32At(const Bytes& data, size_t offset) {
    const uint32_t bits = U32At(data, offset);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Writes one block and checks that it wrote exactly the size it reports.
inline Bytes Written(const CNIF4_Block& block) {
    Nif4Output out;
    block.Write(out);
    EXPECT_EQ(out.Size(), block.ByteSize()) << "the counted size differs from the bytes written";
    return out.Bytes();
}

}  // namespace bytes
