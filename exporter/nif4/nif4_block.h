// The writer's block base and the records several block layouts share.
//
// A writer block holds only what varies from file to file (names, counts,
// links, geometry, colours); `Write` produces every constant field itself.
// A block's size is its `Write` run on a counting stream, so each layout is
// stated once, in `Write`.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "exporter/nif4/nif4_output.h"

class CNIF4_Block {
public:
    virtual ~CNIF4_Block() = default;
    // Appends the whole block, type name first.
    virtual void Write(Nif4Output& out) const = 0;
    // Number of bytes `Write` appends.
    uint64_t ByteSize() const;

    // Stores the type name and the length written in front of it.
    void SetTypeName(int32_t length, const char* name);
    // Writes the type name as a length-prefixed string.
    void WriteTypeName(Nif4Output& out) const;
    const std::string& TypeName() const { return typeName_; }

    CNIF4_Block(const CNIF4_Block&) = delete;
    CNIF4_Block& operator=(const CNIF4_Block&) = delete;

protected:
    CNIF4_Block() = default;

private:
    int32_t typeNameLength_ = 0;
    std::string typeName_;
};

// Shared records of the block layouts.
namespace nif4 {

// The number of characters of a text literal, counted by the compiler: the
// type names and fixed object names are passed with their length.
template <size_t N>
consteval int32_t LengthOf(const char (&)[N]) {
    return static_cast<int32_t>(N - 1);
}

// Name (length and characters), then no extra data and no controller (-1, -1).
void WriteNamedObjectHeader(Nif4Output& out, int32_t nameLength, const std::string& name);
// Empty name, no extra data, no controller: 00 00 00 00 and eight FF bytes.
void WriteUnnamedObjectHeader(Nif4Output& out);
// Flags, then zero translation, identity rotation, scale 1, zero velocity.
void WriteIdentityTransform(Nif4Output& out, uint16_t flags);
// The count, then `count` block indices when the count is positive.
void WriteLinkList(Nif4Output& out, int32_t count, const int32_t* links);

}  // namespace nif4
