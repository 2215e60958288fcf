#include "importer/nif/effect_blocks.h"

#include "importer/nif/link_checks.h"
#include "importer/nif/block_table.h"
#include "importer/nif/record_reading.h"

namespace {

// The fewest file bytes of a text key: its time and its string's length.
constexpr size_t kTextKeyBytes = 8;

}  // namespace

// ---------------------------------------------------------------- particles

NiRotatingParticles::NiRotatingParticles(BlockTable* owner, BlockKind kind, Qiv_Stream* stream)
    : NifBlock(owner, kind) {
    Qiv_Stream& s = *stream;
    object_.name = s.LengthText();
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

NiRotatingParticlesData::NiRotatingParticlesData(BlockTable* owner, BlockKind kind, Qiv_Stream* stream)
    : NifBlock(owner, kind) {
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

NiParticleSystemController::NiParticleSystemController(BlockTable* owner, BlockKind kind, Qiv_Stream* stream)
    : NifBlock(owner, kind) {
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
    s.Short();
    const uint16_t particleCount = s.Short();  // the second of three counts
    s.Short();
    particles_ = s.Array<float>(int64_t(particleCount) * 10);
    s.LongVerify(-1);  // m___Unknown_21
    modifier_ = s.Long();
    s.LongVerify(-1);  // m___Unknown_23
    lastValue_ = s.Byte();
}

void NiParticleSystemController::ResolveLinks() {
    CheckLink(GetOwner(), LinkCheck::TimeController, nextController_);
    CheckLink(GetOwner(), LinkCheck::ParticleGrowFade, modifier_);
}

NiParticleGrowFade::NiParticleGrowFade(BlockTable* owner, BlockKind kind, Qiv_Stream* stream)
    : NifBlock(owner, kind) {
    nextModifier_ = stream->Long();  // real files chain modifiers here
    link_ = stream->Long();
    stream->Float();  // grow time
    stream->Float();  // fade time
}

void NiParticleGrowFade::ResolveLinks() { CheckLink(GetOwner(), LinkCheck::TimeController, nextModifier_); }

// ---------------------------------------------------------------- NiTextureEffect

NiTextureEffect::NiTextureEffect(BlockTable* owner, BlockKind kind, Qiv_Stream* stream) : NifBlock(owner, kind) {
    Qiv_Stream& s = *stream;
    object_.name = s.LengthText();
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

NiStringExtraData::NiStringExtraData(BlockTable* owner, BlockKind kind, Qiv_Stream* stream)
    : NifBlock(owner, kind) {
    nextExtraData_ = stream->Long();
    storedLength_ = stream->Long();
    text_ = stream->LengthText();
}

void NiStringExtraData::ResolveLinks() { CheckLink(GetOwner(), LinkCheck::ExtraData, nextExtraData_); }

NiTextKeyExtraData::NiTextKeyExtraData(BlockTable* owner, BlockKind kind, Qiv_Stream* stream)
    : NifBlock(owner, kind) {
    Qiv_Stream& s = *stream;
    nextExtraData_ = s.Long();
    s.LongVerify(0);
    const int32_t keyCount = s.Long();
    keys_.ReadFrom(s, keyCount, kTextKeyBytes);
}

TextKey TextKeyReader::operator()(Qiv_Stream& stream) const {
    TextKey key;
    key.time = stream.Long();
    key.text = stream.LengthString();
    return key;
}

void NiTextKeyExtraData::ResolveLinks() { CheckLink(GetOwner(), LinkCheck::ExtraData, nextExtraData_); }
