#include "importer/nif/effect_blocks.h"

#include <cstring>

#include "importer/nif/link_checks.h"
#include "importer/nif/block_table.h"
#include "importer/nif/record_reading.h"

namespace {

// The fewest file bytes of a text key: its time and its string's length.
constexpr size_t kTextKeyBytes = 8;

}  // namespace

// ---------------------------------------------------------------- particles

NiRotatingParticles::NiRotatingParticles(BlockTable* owner, const char* typeName, Qiv_Stream* stream)
    : NifBlock(owner, typeName) {
    Qiv_Stream& s = *stream;
    object_.name = s.LengthString();
    object_.extraData = s.Long();
    object_.timeController = s.Long();
    object_.ReadPlacement(s);
    s.LongVerify(0);   // Unknown_2
    data_ = s.Long();
    s.LongVerify(-1);  // skin instance
}

void NiRotatingParticles::ResolveLinks() {
    CheckLink(GetOwner(), LinkCheck::RotatingParticlesData, data_);
    CheckLink(GetOwner(), LinkCheck::ExtraData, object_.extraData);
    CheckLink(GetOwner(), LinkCheck::TimeController, object_.timeController);
    CheckLinks(GetOwner(), LinkCheck::Property, object_.properties);
}

NiRotatingParticlesData::NiRotatingParticlesData(BlockTable* owner, const char* typeName, Qiv_Stream* stream)
    : NifBlock(owner, typeName) {
    Qiv_Stream& s = *stream;
    vertexCount_ = static_cast<int16_t>(s.Short());
    const int32_t hasVertices = s.Long();
    if (hasVertices != 0) vertices_ = s.Array<NifVector>(vertexCount_);
    s.LongVerify(0);  // has normals
    for (float& value : bounds_) value = s.Float();
    const int32_t hasVertexColours = s.Long();
    if (hasVertexColours != 0) vertexColours_ = s.Array<NifColour>(vertexCount_);
    unknownLong_ = s.Long();
    unknownShort1_ = s.Short();
    s.ShortVerify(vertexCount_);  // particle count
    unknownFloat_ = s.Float();
    unknownShort2_ = s.Short();
    const int32_t hasRotations = s.Long();
    if (hasRotations != 0) rotations_ = s.Array<float>(int64_t(vertexCount_) * 5);
    s.LongVerify(0);
}

void NiRotatingParticlesData::ResolveLinks() {}

NiParticleSystemController::NiParticleSystemController(BlockTable* owner, const char* typeName, Qiv_Stream* stream)
    : NifBlock(owner, typeName) {
    Qiv_Stream& s = *stream;
    nextController_ = s.LongVerify(-1);
    flags_ = s.Short();
    for (float& value : times_) value = s.Float();
    target_ = s.Long();
    for (float& value : values_) value = s.Float();
    for (int32_t& value : longs1_) value = s.Long();
    byteValue_ = s.Byte();
    for (int32_t& value : longs2_) value = s.Long();
    floatValue_ = s.Float();
    for (int32_t& value : longs3_) value = s.Long();
    for (int& count : particleCounts_) count = s.Short();
    particles_ = s.Array<float>(int64_t(particleCounts_[1]) * 10);
    s.LongVerify(-1);  // m___Unknown_21
    modifier_ = s.Long();
    s.LongVerify(-1);  // m___Unknown_23
    lastValue_ = s.Byte();
}

void NiParticleSystemController::ResolveLinks() {
    CheckLink(GetOwner(), LinkCheck::TimeController, nextController_);
    CheckLink(GetOwner(), LinkCheck::ParticleGrowFade, modifier_);
}

NiParticleGrowFade::NiParticleGrowFade(BlockTable* owner, const char* typeName, Qiv_Stream* stream)
    : NifBlock(owner, typeName) {
    nextModifier_ = stream->Long();  // real files chain modifiers here
    link_ = stream->Long();
    growTime_ = stream->Float();
    fadeTime_ = stream->Float();
}

void NiParticleGrowFade::ResolveLinks() { CheckLink(GetOwner(), LinkCheck::TimeController, nextModifier_); }

// ---------------------------------------------------------------- NiTextureEffect

NiTextureEffect::NiTextureEffect(BlockTable* owner, const char* typeName, Qiv_Stream* stream) : NifBlock(owner, typeName) {
    Qiv_Stream& s = *stream;
    object_.name = s.LengthString();
    object_.extraData = s.LongVerify(-1);
    object_.timeController = s.LongVerify(-1);
    object_.ReadPlacement(s);
    s.LongVerify(0);  // Unknown_2
    affectedNodes_ = ReadLinkList(s);
    projectionTranslation_ = ReadVector(s);
    projectionRotation_ = ReadMatrix33(s);
    for (int32_t& value : longs_) value = s.Long();
    byteValue_ = s.Byte();
    for (float& value : plane_) value = s.Float();
    longValue_ = s.Long();
    shortValue_ = s.Short();
}

void NiTextureEffect::ResolveLinks() {}

// ---------------------------------------------------------------- extra data

NiStringExtraData::NiStringExtraData(BlockTable* owner, const char* typeName, Qiv_Stream* stream)
    : NifBlock(owner, typeName) {
    nextExtraData_ = stream->Long();
    storedLength_ = stream->Long();
    text_ = stream->LengthString();
}

void NiStringExtraData::ResolveLinks() { CheckLink(GetOwner(), LinkCheck::ExtraData, nextExtraData_); }

NiTextKeyExtraData::NiTextKeyExtraData(BlockTable* owner, const char* typeName, Qiv_Stream* stream)
    : NifBlock(owner, typeName) {
    Qiv_Stream& s = *stream;
    nextExtraData_ = s.Long();
    s.LongVerify(0);
    const int32_t keyCount = s.Long();
    const unsigned char* keys = s.Here();
    for (int32_t i = 0; i < keyCount; ++i) {
        s.Long();
        s.LengthString();
    }
    keys_ = TextKeyList(keys, keyCount > 0 ? static_cast<size_t>(keyCount) : 0);
}

TextKey TextKeyList::operator[](size_t key) const {
    const unsigned char* bytes = bytes_;
    for (size_t i = 0; i < key; ++i) bytes += kTextKeyBytes + static_cast<size_t>(LoadLong(bytes + 4));
    const size_t length = static_cast<size_t>(LoadLong(bytes + 4));
    const unsigned char* text = bytes + kTextKeyBytes;
    // Like the stream's LengthString, the text ends at its first zero byte.
    const void* zero = std::memchr(text, 0, length);
    return {LoadLong(bytes), std::string(reinterpret_cast<const char*>(text),
                                         zero ? static_cast<size_t>(static_cast<const unsigned char*>(zero) - text) : length)};
}

void NiTextKeyExtraData::ResolveLinks() { CheckLink(GetOwner(), LinkCheck::ExtraData, nextExtraData_); }
