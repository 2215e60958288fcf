#include "importer/nif/property_blocks.h"

#include "importer/nif/link_checks.h"
#include "importer/nif/block_table.h"
#include "importer/nif/qiv_stream.h"
#include "importer/nif/record_reading.h"

namespace {

constexpr int32_t kTextureSlotCount = 7;  // the six slots and the decal slot

TextureSlot ReadTextureSlot(Qiv_Stream& stream) {
    TextureSlot slot;
    slot.source = stream.Long();
    slot.clampMode = stream.Long();
    slot.filterMode = stream.Long();
    slot.uvSet = stream.Long();
    for (uint16_t& value : slot.unknownShorts) value = stream.Short();
    return slot;
}

// ReadTextureSlot over bytes the load has checked, moving `bytes` past the slot.
TextureSlot DecodeTextureSlot(const unsigned char*& bytes) {
    TextureSlot slot;
    slot.source = LoadLong(bytes);
    slot.clampMode = LoadLong(bytes + 4);
    slot.filterMode = LoadLong(bytes + 8);
    slot.uvSet = LoadLong(bytes + 12);
    bytes += 16;
    for (uint16_t& value : slot.unknownShorts) {
        value = LoadShort(bytes);
        bytes += 2;
    }
    return slot;
}

// The extra-data and controller links that most properties check.
void CheckPropertyLinks(BlockTable* owner, int32_t extraData, int32_t timeController) {
    CheckLink(owner, LinkCheck::ExtraData, extraData);
    CheckLink(owner, LinkCheck::TimeController, timeController);
}

}  // namespace

// ---------------------------------------------------------------- NiTexturingProperty

NiTexturingProperty::NiTexturingProperty(BlockTable* owner, const char* typeName, Qiv_Stream* stream)
    : NifBlock(owner, typeName) {
    Qiv_Stream& s = *stream;
    s.LongVerify(0);   // name length: the name is always empty
    s.LongVerify(-1);  // extra data
    controller_ = s.Long();  // real files chain controllers here
    unknownFlags_ = s.Short();
    applyMode_ = s.Long();
    s.LongVerify(kTextureSlotCount);
    slotBytes_ = s.Here();
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (s.Long() == 0) continue;
        ReadTextureSlot(s);
        if (slot == kBumpMapSlot) {
            for (int value = 0; value < 6; ++value) s.Float();
        }
    }
    if (s.Long() != 0) ReadTextureSlot(s);
}

NiTexturingProperty::Slots NiTexturingProperty::Decode() const {
    // The load checked every slot; this walks the same fields again.
    Slots found;
    const unsigned char* bytes = slotBytes_;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        found.hasTexture[slot] = LoadLong(bytes);
        bytes += 4;
        if (found.hasTexture[slot] == 0) continue;
        found.slots[slot] = DecodeTextureSlot(bytes);
        if (slot == kBumpMapSlot) {
            for (float& value : found.bumpMapValues) {
                value = LoadFloat(bytes);
                bytes += 4;
            }
        }
    }
    found.hasDecal = LoadLong(bytes);
    bytes += 4;
    if (found.hasDecal != 0) found.decal = DecodeTextureSlot(bytes);
    return found;
}

void NiTexturingProperty::ResolveLinks() {
    CheckLink(GetOwner(), LinkCheck::TimeController, controller_);
    const Slots found = Decode();
    for (const TextureSlot& slot : found.slots) CheckLink(GetOwner(), LinkCheck::SourceTexture, slot.source);
    CheckLink(GetOwner(), LinkCheck::SourceTexture, found.decal.source);
}

const char* NiTexturingProperty::getFileName() const {
    const NifBlock* source = Linked(Slot(0).source);
    if (!source) return nullptr;
    // A texturing property would ask the next one, possibly itself, without end.
    if (source->HasTypeName("NiTexturingProperty")) return NifBlock::getFileName();
    return source->getFileName();
}

// ---------------------------------------------------------------- NiSourceTexture

NiSourceTexture::NiSourceTexture(BlockTable* owner, const char* typeName, Qiv_Stream* stream) : NifBlock(owner, typeName) {
    Qiv_Stream& s = *stream;
    name_ = s.LengthString();
    extraData_ = s.LongVerify(-1);
    timeController_ = s.LongVerify(-1);
    s.ByteVerify(1);  // only textures in an external file
    fileName_ = s.LengthString();
    for (int32_t& value : formatValues_) value = s.Long();
    lastFlag_ = s.Byte();  // real files hold other values than 1 here
}

void NiSourceTexture::ResolveLinks() { CheckPropertyLinks(GetOwner(), extraData_, timeController_); }

const char* NiSourceTexture::getFileName() const { return fileName_.c_str(); }

// ---------------------------------------------------------------- NiMaterialProperty

NiMaterialProperty::NiMaterialProperty(BlockTable* owner, const char* typeName, Qiv_Stream* stream)
    : NifBlock(owner, typeName) {
    Qiv_Stream& s = *stream;
    name_ = s.LengthString();
    extraData_ = s.LongVerify(-1);
    timeController_ = s.Long();
    unknownFlags_ = s.Short();  // real files hold 0 as well as 1
    ambient_ = ReadColourRgb(s);
    diffuse_ = ReadColourRgb(s);
    specular_ = ReadColourRgb(s);
    emissive_ = ReadColourRgb(s);
    glossiness_ = s.Float();
    alpha_ = s.Float();
}

void NiMaterialProperty::ResolveLinks() { CheckPropertyLinks(GetOwner(), extraData_, timeController_); }

const NifColour& NiMaterialProperty::GetAmbientColour() const { return ambient_; }
const NifColour& NiMaterialProperty::GetDiffuseColour() const { return diffuse_; }
const NifColour& NiMaterialProperty::GetSpecularColour() const { return specular_; }
const NifColour& NiMaterialProperty::GetEmissiveColour() const { return emissive_; }
float NiMaterialProperty::GetGlossiness() const { return glossiness_; }
float NiMaterialProperty::GetAlpha() const { return alpha_; }
const char* NiMaterialProperty::GetId() const { return name_.c_str(); }

// ---------------------------------------------------------------- small properties

NiVertexColorProperty::NiVertexColorProperty(BlockTable* owner, const char* typeName, Qiv_Stream* stream)
    : NifBlock(owner, typeName) {
    Qiv_Stream& s = *stream;
    name_ = s.LengthString();
    extraData_ = s.Long();
    timeController_ = s.Long();
    unknownFlags_ = s.ShortVerify(0);
    vertexMode_ = s.Long();
    lightingMode_ = s.Long();
}

void NiVertexColorProperty::ResolveLinks() { CheckPropertyLinks(GetOwner(), extraData_, timeController_); }

NiAlphaProperty::NiAlphaProperty(BlockTable* owner, const char* typeName, Qiv_Stream* stream) : NifBlock(owner, typeName) {
    Qiv_Stream& s = *stream;
    name_ = s.LengthString();
    extraData_ = s.LongVerify(-1);
    timeController_ = s.LongVerify(-1);
    for (uint8_t& value : values_) value = s.Byte();
}

void NiAlphaProperty::ResolveLinks() { CheckPropertyLinks(GetOwner(), extraData_, timeController_); }

NiZBufferProperty::NiZBufferProperty(BlockTable* owner, const char* typeName, Qiv_Stream* stream)
    : NifBlock(owner, typeName) {
    Qiv_Stream& s = *stream;
    name_ = s.LengthString();
    extraData_ = s.LongVerify(-1);
    timeController_ = s.LongVerify(-1);
    unknownFlags_ = s.Short();
}

void NiZBufferProperty::ResolveLinks() { CheckPropertyLinks(GetOwner(), extraData_, timeController_); }
