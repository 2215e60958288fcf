#include "importer/nif/property_blocks.h"

#include "importer/nif/link_checks.h"
#include "importer/nif/block_table.h"
#include "importer/nif/qiv_stream.h"
#include "importer/nif/record_bytes.h"
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

// The extra-data and controller links that most properties check.
void CheckPropertyLinks(BlockTable* owner, int32_t extraData, int32_t timeController) {
    CheckLink(owner, LinkCheck::ExtraData, extraData);
    CheckLink(owner, LinkCheck::TimeController, timeController);
}

}  // namespace

// ---------------------------------------------------------------- NiTexturingProperty

NiTexturingProperty::NiTexturingProperty(BlockTable* owner, BlockKind kind, Qiv_Stream* stream)
    : NifBlock(owner, kind) {
    Qiv_Stream& s = *stream;
    s.LongVerify(0);   // name length: the name is always empty
    s.LongVerify(-1);  // extra data
    controller_ = s.Long();  // real files chain controllers here
    unknownFlags_ = s.Short();
    s.Long();  // apply mode
    s.LongVerify(kTextureSlotCount);
    slotBytes_ = s.Here();
    baseSource_ = ReadSlots(s).slots[0].source;
    slotByteCount_ = BytesSince(slotBytes_, s);
}

NiTexturingProperty::Slots NiTexturingProperty::ReadSlots(Qiv_Stream& s) {
    Slots found;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        found.hasTexture[slot] = s.Long();
        if (found.hasTexture[slot] == 0) continue;
        found.slots[slot] = ReadTextureSlot(s);
        if (slot == kBumpMapSlot) {
            for (float& value : found.bumpMapValues) value = s.Float();
        }
    }
    found.hasDecal = s.Long();
    if (found.hasDecal != 0) found.decal = ReadTextureSlot(s);
    return found;
}

NiTexturingProperty::Slots NiTexturingProperty::ReadSlotsAgain() const { return ReadAgain(slotBytes_, slotByteCount_, ReadSlots); }

void NiTexturingProperty::ResolveLinks() {
    CheckLink(GetOwner(), LinkCheck::TimeController, controller_);
    const Slots found = ReadSlotsAgain();
    for (const TextureSlot& slot : found.slots) CheckLink(GetOwner(), LinkCheck::SourceTexture, slot.source);
    CheckLink(GetOwner(), LinkCheck::SourceTexture, found.decal.source);
}

const char* NiTexturingProperty::getFileName() const {
    const NifBlock* source = Linked(baseSource_);
    if (!source) return nullptr;
    // A texturing property would ask the next one, possibly itself, without end.
    if (source->Kind() == BlockKind::NiTexturingProperty) return NifBlock::getFileName();
    return source->getFileName();
}

// ---------------------------------------------------------------- NiSourceTexture

NiSourceTexture::NiSourceTexture(BlockTable* owner, BlockKind kind, Qiv_Stream* stream) : NifBlock(owner, kind) {
    Qiv_Stream& s = *stream;
    name_ = s.LengthText();
    extraData_ = s.LongVerify(-1);
    timeController_ = s.LongVerify(-1);
    s.ByteVerify(1);  // only textures in an external file
    fileName_ = s.LengthText();
    for (int32_t& value : formatValues_) value = s.Long();
    lastFlag_ = s.Byte();  // real files hold other values than 1 here
}

void NiSourceTexture::ResolveLinks() { CheckPropertyLinks(GetOwner(), extraData_, timeController_); }

const char* NiSourceTexture::getFileName() const { return fileName_; }

// ---------------------------------------------------------------- NiMaterialProperty

NiMaterialProperty::NiMaterialProperty(BlockTable* owner, BlockKind kind, Qiv_Stream* stream)
    : NifBlock(owner, kind) {
    Qiv_Stream& s = *stream;
    name_ = s.LengthText();
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
const char* NiMaterialProperty::GetId() const { return name_; }

// ---------------------------------------------------------------- small properties

NiVertexColorProperty::NiVertexColorProperty(BlockTable* owner, BlockKind kind, Qiv_Stream* stream)
    : NifBlock(owner, kind) {
    Qiv_Stream& s = *stream;
    name_ = s.LengthText();
    extraData_ = s.Long();
    timeController_ = s.Long();
    unknownFlags_ = s.ShortVerify(0);
    s.Long();  // vertex mode
    lightingMode_ = s.Long();
}

void NiVertexColorProperty::ResolveLinks() { CheckPropertyLinks(GetOwner(), extraData_, timeController_); }

NiAlphaProperty::NiAlphaProperty(BlockTable* owner, BlockKind kind, Qiv_Stream* stream) : NifBlock(owner, kind) {
    Qiv_Stream& s = *stream;
    name_ = s.LengthText();
    extraData_ = s.LongVerify(-1);
    timeController_ = s.LongVerify(-1);
    for (uint8_t& value : values_) value = s.Byte();
}

void NiAlphaProperty::ResolveLinks() { CheckPropertyLinks(GetOwner(), extraData_, timeController_); }

NiZBufferProperty::NiZBufferProperty(BlockTable* owner, BlockKind kind, Qiv_Stream* stream)
    : NifBlock(owner, kind) {
    Qiv_Stream& s = *stream;
    name_ = s.LengthText();
    extraData_ = s.LongVerify(-1);
    timeController_ = s.LongVerify(-1);
    unknownFlags_ = s.Short();
}

void NiZBufferProperty::ResolveLinks() { CheckPropertyLinks(GetOwner(), extraData_, timeController_); }
