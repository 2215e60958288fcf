// The writer's block base and the records several block layouts share.
//
// A writer block holds only what varies from file to file (names, counts,
// links, geometry, colours); `Write` produces every constant field itself.
// Each block also reports the exact number of bytes its `Write` emits, so
// the whole file can be sized before it is written.
#pragma once

#include <cstdint>
#include <string>

#include "exporter/nif4/nif4_output.h"

class CNIF4_Block {
public:
    virtual ~CNIF4_Block() = default;
    // Appends the whole block, type name first. Always true.
    virtual bool Write(Nif4Output& out) const = 0;
    // Number of bytes `Write` appends.
    virtual uint64_t ByteSize() const = 0;

    // Stores the type name and the length written in front of it.
    void SetTypeName(int32_t length, const char* name);
    // Writes the type name as a length-prefixed string.
    void WriteTypeName(Nif4Output& out) const;
    const std::string& TypeName() const { return typeName_; }

    CNIF4_Block(const CNIF4_Block&) = delete;
    CNIF4_Block& operator=(const CNIF4_Block&) = delete;

protected:
    CNIF4_Block() = default;
    uint64_t TypeNameSize() const;

private:
    int32_t typeNameLength_ = 0;
    std::string typeName_;
};

// Shared records of the block layouts.
namespace nif4 {

constexpr uint64_t kUnnamedObjectHeaderSize = 12;
constexpr uint64_t kTransformSize = 66;

// Bytes of an int32 length and its characters (none for a length of 0 or less).
uint64_t CountedTextSize(int32_t length);
// Bytes of a link list: the count, then the entries when it is positive.
uint64_t LinkListSize(int32_t count);

// Name (length and characters), then no extra data and no controller (-1, -1).
void WriteNamedObjectHeader(Nif4Output& out, int32_t nameLength, const std::string& name);
// Empty name, no extra data, no controller: 00 00 00 00 and eight FF bytes.
void WriteUnnamedObjectHeader(Nif4Output& out);
// Flags, then zero translation, identity rotation, scale 1, zero velocity.
void WriteIdentityTransform(Nif4Output& out, uint16_t flags);
// The count, then `count` block indices when the count is positive.
void WriteLinkList(Nif4Output& out, int32_t count, const int32_t* links);

}  // namespace nif4
