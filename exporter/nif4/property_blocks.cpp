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

CNIF4_ZBufferProperty::CNIF4_ZBufferProperty() { SetTypeName(nif4::LengthOf(kTypeName), kTypeName); }

void CNIF4_ZBufferProperty::Write(Nif4Output& out) const {
    WriteTypeName(out);
    nif4::WriteUnnamedObjectHeader(out);
    out.WriteUInt16(3);  // flags
}

CNIF4_VertexColorProperty::CNIF4_VertexColorProperty() { SetTypeName(nif4::LengthOf(kTypeName), kTypeName); }

void CNIF4_VertexColorProperty::Write(Nif4Output& out) const {
    WriteTypeName(out);
    nif4::WriteUnnamedObjectHeader(out);
    out.WriteUInt16(0);  // flags
    out.WriteUInt32(0);  // vertex mode
    out.WriteUInt32(1);  // lighting mode
}

CNIF4_MaterialProperty::CNIF4_MaterialProperty(int32_t nameLength, const char* name, Nif4Colour diffuse,
                                               Nif4Colour ambient, Nif4Colour specular, Nif4Colour emissive,
                                               float shininess, float transparency)
    : nameLength_(nameLength),
      name_(name ? name : ""),
      diffuse_(diffuse),
      ambient_(ambient),
      specular_(specular),
      emissive_(emissive),
      shininess_(shininess),
      transparency_(transparency) {
    SetTypeName(nif4::LengthOf(kTypeName), kTypeName);
}

void CNIF4_MaterialProperty::Write(Nif4Output& out) const {
    WriteTypeName(out);
    nif4::WriteNamedObjectHeader(out, nameLength_, name_);
    out.WriteUInt16(1);  // flags
    WriteColour(out, ambient_);
    WriteColour(out, diffuse_);
    WriteColour(out, specular_);
    WriteColour(out, emissive_);
    out.WriteFloat(shininess_);     // glossiness
    out.WriteFloat(transparency_);  // alpha
}

CNIF4_SourceTexture::CNIF4_SourceTexture(int32_t fileNameLength, const char* fileName)
    : fileNameLength_(fileNameLength), fileName_(fileName ? fileName : "") {
    SetTypeName(nif4::LengthOf(kTypeName), kTypeName);
}

void CNIF4_SourceTexture::Write(Nif4Output& out) const {
    WriteTypeName(out);
    nif4::WriteUnnamedObjectHeader(out);
    out.WriteUInt8(1);  // external file
    out.WriteCountedText(fileNameLength_, fileName_);
    out.WriteUInt32(5);  // the three format values
    out.WriteUInt32(1);
    out.WriteUInt32(3);
    out.WriteUInt8(1);  // static
}

CNIF4_TexturingProperty::CNIF4_TexturingProperty(int32_t sourceTextureLink) : sourceTextureLink_(sourceTextureLink) {
    SetTypeName(nif4::LengthOf(kTypeName), kTypeName);
}

void CNIF4_TexturingProperty::Write(Nif4Output& out) const {
    WriteTypeName(out);
    nif4::WriteUnnamedObjectHeader(out);
    out.WriteUInt16(0);  // flags
    out.WriteUInt32(2);  // apply mode
    out.WriteUInt32(7);  // texture count
    out.WriteUInt32(kHasBaseTexture);
    out.WriteInt32(sourceTextureLink_);
    out.WriteUInt32(3);   // clamp mode
    out.WriteUInt32(2);   // filter mode
    out.WriteUInt32(0);   // texture-coordinate set
    out.WriteInt16(0);  // the slot's three further values
    out.WriteInt16(-75);
    out.WriteUInt16(0);
    for (int slot = 0; slot < 6; ++slot) out.WriteUInt32(0);  // dark, detail, gloss, glow, bump, decal
}
