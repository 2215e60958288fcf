// Particle, effect and extra-data blocks: read completely and kept; nothing
// of them reaches the host's model.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "importer/nif/nif_block.h"
#include "importer/nif/object_record.h"
#include "importer/nif/record_bytes.h"

class NiRotatingParticles : public NifBlock {
public:
    NiRotatingParticles(BlockTable* owner, BlockKind kind, Qiv_Stream* stream);
    void ResolveLinks() override;

    const ObjectRecord& Object() const { return object_; }
    int32_t DataLink() const { return data_; }

private:
    ObjectRecord object_;
    int32_t data_ = -1;
};

class NiRotatingParticlesData : public NifBlock {
public:
    NiRotatingParticlesData(BlockTable* owner, BlockKind kind, Qiv_Stream* stream);
    void ResolveLinks() override;

    int VertexCount() const { return vertexCount_; }
    const FileArray<NifVector>& Vertices() const { return vertices_; }
    const FileArray<NifColour>& VertexColours() const { return vertexColours_; }
    const FileArray<float>& Rotations() const { return rotations_; }  // 5 Floats per particle

private:
    int vertexCount_ = 0;  // signed 16-bit in the file
    FileArray<NifVector> vertices_;
    float bounds_[4] = {};
    FileArray<NifColour> vertexColours_;
    int32_t unknownLong_ = 0;
    uint16_t unknownShort1_ = 0;
    float unknownFloat_ = 0.0f;
    uint16_t unknownShort2_ = 0;
    FileArray<float> rotations_;
};

class NiParticleSystemController : public NifBlock {
public:
    NiParticleSystemController(BlockTable* owner, BlockKind kind, Qiv_Stream* stream);
    void ResolveLinks() override;

    const FileArray<float>& Particles() const { return particles_; }  // 10 Floats per particle
    uint8_t LastValue() const { return lastValue_; }

private:
    int32_t nextController_ = -1;
    uint16_t flags_ = 0;
    float times_[4] = {};
    int32_t target_ = -1;
    float values_[16] = {};
    int32_t longs1_[3] = {};
    uint8_t byteValue_ = 0;
    int32_t longs2_[5] = {};
    float floatValue_ = 0.0f;
    int32_t longs3_[2] = {};
    FileArray<float> particles_;
    int32_t modifier_ = -1;
    uint8_t lastValue_ = 0;
};

class NiParticleGrowFade : public NifBlock {
public:
    NiParticleGrowFade(BlockTable* owner, BlockKind kind, Qiv_Stream* stream);
    void ResolveLinks() override;

private:
    int32_t nextModifier_ = -1;
    int32_t link_ = -1;
};

class NiTextureEffect : public NifBlock {
public:
    NiTextureEffect(BlockTable* owner, BlockKind kind, Qiv_Stream* stream);
    void ResolveLinks() override;

    const ObjectRecord& Object() const { return object_; }
    const LinkList& AffectedNodes() const { return affectedNodes_; }

private:
    ObjectRecord object_;
    LinkList affectedNodes_;
    NifVector projectionTranslation_;
    Matrix33 projectionRotation_;
    int32_t longs_[5] = {};
    uint8_t byteValue_ = 0;
    float plane_[4] = {};
    int32_t longValue_ = 0;
    uint16_t shortValue_ = 0;
};

class NiStringExtraData : public NifBlock {
public:
    NiStringExtraData(BlockTable* owner, BlockKind kind, Qiv_Stream* stream);
    void ResolveLinks() override;

    int32_t StoredLength() const { return storedLength_; }
    std::string_view Text() const { return text_; }

private:
    int32_t nextExtraData_ = -1;
    int32_t storedLength_ = 0;  // mostly 4 + the string's length, sometimes 0
    const char* text_ = "";     // kept by the stream
};

struct TextKey {
    int32_t time = 0;  // the raw 32-bit value
    std::string text;
};

// Reads one text key: a Long time and a length-prefixed text.
struct TextKeyReader {
    TextKey operator()(Qiv_Stream& stream) const;
};

// The text keys of a NiTextKeyExtraData, read again from where the file holds them.
using TextKeyList = RecordList<TextKeyReader>;

class NiTextKeyExtraData : public NifBlock {
public:
    NiTextKeyExtraData(BlockTable* owner, BlockKind kind, Qiv_Stream* stream);
    void ResolveLinks() override;

    const TextKeyList& Keys() const { return keys_; }

private:
    int32_t nextExtraData_ = -1;
    TextKeyList keys_;
};
