#include "exporter/nif4/nif4_block.h"

uint64_t CNIF4_Block::ByteSize() const {
    Nif4Output counter = Nif4Output::Counter();
    Write(counter);
    return counter.Length();
}

void CNIF4_Block::SetTypeName(int32_t length, const char* name) {
    typeNameLength_ = length;
    typeName_ = name ? name : "";
}

void CNIF4_Block::WriteTypeName(Nif4Output& out) const { out.WriteCountedText(typeNameLength_, typeName_); }

namespace nif4 {

void WriteNamedObjectHeader(Nif4Output& out, int32_t nameLength, const std::string& name) {
    out.WriteCountedText(nameLength, name);
    out.WriteInt32(-1);  // extra data
    out.WriteInt32(-1);  // controller
}

void WriteUnnamedObjectHeader(Nif4Output& out) { WriteNamedObjectHeader(out, 0, std::string()); }

void WriteIdentityTransform(Nif4Output& out, uint16_t flags) {
    out.WriteUInt16(flags);
    for (int i = 0; i < 3; ++i) out.WriteFloat(0.0f);  // translation
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) out.WriteFloat(row == column ? 1.0f : 0.0f);
    }
    out.WriteFloat(1.0f);                              // scale
    for (int i = 0; i < 3; ++i) out.WriteFloat(0.0f);  // velocity
}

void WriteLinkList(Nif4Output& out, int32_t count, const int32_t* links) {
    out.WriteInt32(count);
    for (int32_t i = 0; i < count; ++i) out.WriteInt32(links[i]);
}

}  // namespace nif4
