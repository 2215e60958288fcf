#include "exporter/nif4/property_blocks.h"

namespace {

void WriteColour(Nif4Output& out, const Nif4Colour& colour) {
    out.WriteFloat(colour.r);
    out.WriteFloat(colour.g);
    out.WriteFloat(colour.b);
}

// The has-base-texture field carries this value rather than 1 (see the
// has-fields of the geometry block).
constexpr uint32_t kHasBaseTexture = 0x172394B0;

}  // namespace

CNIF4_ZBufferProperty::CNIF4_ZBufferProperty() { SetTypeName(17, "NiZBufferProperty"); }

bool CNIF4_ZBufferProperty::Write(Nif4Output& out) const {
    WriteTypeName(out);
    nif4::WriteUnnamedObjectHeader(out);
    out.WriteUInt16(3);  // flags
    return true;
}

uint64_t CNIF4_ZBufferProperty::ByteSize() const { return TypeNameSize() + nif4::kUnnamedObjectHeaderSize + 2; }

CNIF4_VertexColorProperty::CNIF4_VertexColorProperty() { SetTypeName(21, "NiVertexColorProperty"); }

bool CNIF4_VertexColorProperty::Write(Nif4Output& out) const {
    WriteTypeName(out);
    nif4::WriteUnnamedObjectHeader(out);
    out.WriteUInt16(0);  // flags
    out.WriteUInt32(0);  // vertex mode
    out.WriteUInt32(1);  // lighting mode
    return true;
}

uint64_t CNIF4_VertexColorProperty::ByteSize() const { return TypeNameSize() + nif4::kUnnamedObjectHeaderSize + 10; }

CNIF4_MaterialProperty::CNIF4_MaterialProperty(int32_t nameLength, const char* name, Nif4Colour diffuse,
                                               Nif4Colour ambient, Nif4Colour specular, Nif4Colour emissive,
                                               float shininess, float transparency)
    : m_nameLength(nameLength),
      m_name(name ? name : ""),
      m_diffuse(diffuse),
      m_ambient(ambient),
      m_specular(specular),
      m_emissive(emissive),
      m_shininess(shininess),
      m_transparency(transparency) {
    SetTypeName(18, "NiMaterialProperty");
}

bool CNIF4_MaterialProperty::Write(Nif4Output& out) const {
    WriteTypeName(out);
    nif4::WriteNamedObjectHeader(out, m_nameLength, m_name);
    out.WriteUInt16(1);  // flags
    WriteColour(out, m_ambient);
    WriteColour(out, m_diffuse);
    WriteColour(out, m_specular);
    WriteColour(out, m_emissive);
    out.WriteFloat(m_shininess);     // glossiness
    out.WriteFloat(m_transparency);  // alpha
    return true;
}

uint64_t CNIF4_MaterialProperty::ByteSize() const {
    return TypeNameSize() + nif4::CountedTextSize(m_nameLength) + 8 + 2 + 4 * 12 + 8;
}

CNIF4_SourceTexture::CNIF4_SourceTexture(int32_t fileNameLength, const char* fileName)
    : m_fileNameLength(fileNameLength), m_fileName(fileName ? fileName : "") {
    SetTypeName(15, "NiSourceTexture");
}

bool CNIF4_SourceTexture::Write(Nif4Output& out) const {
    WriteTypeName(out);
    nif4::WriteUnnamedObjectHeader(out);
    out.WriteUInt8(1);  // external file
    out.WriteCountedText(m_fileNameLength, m_fileName);
    out.WriteUInt32(5);  // the three format values
    out.WriteUInt32(1);
    out.WriteUInt32(3);
    out.WriteUInt8(1);  // static
    return true;
}

uint64_t CNIF4_SourceTexture::ByteSize() const {
    return TypeNameSize() + nif4::kUnnamedObjectHeaderSize + 1 + nif4::CountedTextSize(m_fileNameLength) + 13;
}

CNIF4_TexturingProperty::CNIF4_TexturingProperty(int32_t sourceTextureLink) : m_sourceTextureLink(sourceTextureLink) {
    SetTypeName(19, "NiTexturingProperty");
}

bool CNIF4_TexturingProperty::Write(Nif4Output& out) const {
    WriteTypeName(out);
    nif4::WriteUnnamedObjectHeader(out);
    out.WriteUInt16(0);  // flags
    out.WriteUInt32(2);  // apply mode
    out.WriteUInt32(7);  // texture count
    out.WriteUInt32(kHasBaseTexture);
    out.WriteInt32(m_sourceTextureLink);
    out.WriteUInt32(3);   // clamp mode
    out.WriteUInt32(2);   // filter mode
    out.WriteUInt32(0);   // texture-coordinate set
    out.WriteInt16(0);  // the slot's three further values
    out.WriteInt16(-75);
    out.WriteUInt16(0);
    for (int slot = 0; slot < 6; ++slot) out.WriteUInt32(0);  // dark, detail, gloss, glow, bump, decal
    return true;
}

uint64_t CNIF4_TexturingProperty::ByteSize() const {
    return TypeNameSize() + nif4::kUnnamedObjectHeaderSize + 2 + 4 * 4 + 3 * 4 + 3 * 2 + 6 * 4;
}
