// Controller and animation-data blocks: read completely and kept; the
// importer does not play animations.
#pragma once

#include <array>
#include <cstdint>

#include "importer/nif/nif_block.h"
#include "importer/nif/record_bytes.h"

// The common head of controllers.
struct ControllerRecord {
    int32_t nextController = -1;
    uint16_t flags = 0;
    float frequency = 0.0f, phase = 0.0f, startTime = 0.0f, stopTime = 0.0f;
    int32_t target = -1;

    // Flags, the four times and the target: everything after the next-controller link.
    void ReadAfterNext(Qiv_Stream& stream);
};

class NiKeyframeController : public NifBlock {
public:
    NiKeyframeController(BlockTable* owner, BlockKind kind, Qiv_Stream* stream);
    void ResolveLinks() override;

    const ControllerRecord& Controller() const { return controller_; }
    int32_t DataLink() const { return data_; }

private:
    ControllerRecord controller_;
    int32_t data_ = -1;
};

class NiGeomMorpherController : public NifBlock {
public:
    NiGeomMorpherController(BlockTable* owner, BlockKind kind, Qiv_Stream* stream);
    void ResolveLinks() override;

    const ControllerRecord& Controller() const { return controller_; }
    int32_t DataLink() const { return data_; }

private:
    ControllerRecord controller_;
    int32_t data_ = -1;
};

class NiUVController : public NifBlock {
public:
    NiUVController(BlockTable* owner, BlockKind kind, Qiv_Stream* stream);
    void ResolveLinks() override;

    const ControllerRecord& Controller() const { return controller_; }
    uint16_t UnknownShort() const { return unknownShort_; }
    int32_t DataLink() const { return data_; }

private:
    ControllerRecord controller_;
    uint16_t unknownShort_ = 0;
    int32_t data_ = -1;
};

// A group of animation keys: key after key, each starting with its time.
struct KeyGroup {
    enum Kind { kRotation = 1, kTranslation = 2, kScale = 3 };
    int kind = 0;
    int32_t keyType = 0;
    int32_t keyCount = 0;
    int floatsPerKey = 0;
    FileArray<float> keys;
};

// A rotation group of key type 4 holds its keys as separate x, y and z angle groups.
struct AxisRotationKeys {
    float value = 0.0f;
    KeyGroup axes[3];
};

class NiKeyframeData : public NifBlock {
public:
    NiKeyframeData(BlockTable* owner, BlockKind kind, Qiv_Stream* stream);
    void ResolveLinks() override;

    // The groups, read again from where the file holds them.
    KeyGroup Rotation() const;
    KeyGroup Translation() const;
    KeyGroup Scale() const;
    bool HasAxisRotation() const;
    // Empty groups when the rotation keys are not of key type 4.
    AxisRotationKeys AxisRotation() const;

private:
    struct Groups {
        KeyGroup rotation, translation, scale;
        bool hasAxisRotation = false;
        AxisRotationKeys axisRotation;
    };
    // The three groups as the file holds them: the load reads them with this, and so does every question.
    static Groups ReadGroups(Qiv_Stream& stream);
    Groups ReadGroupsAgain() const;

    // Where the groups lie in the file: keyframe data is often small, and a
    // file of nothing else must not need much more than its bytes.
    uint32_t groupBytes_ = 0;
    const unsigned char* groups_ = nullptr;
};

// One morph target of a NiMorphData: key count, key type, the keys (when
// the count is above 0), the vertices.
struct MorphTarget {
    int32_t keyCount = 0;
    int32_t keyType = 0;
    FileArray<float> keys;
    FileArray<NifVector> vertices;
};

// Reads one morph target, whose vertex count the morph data gives.
struct MorphTargetReader {
    int32_t vertexCount = 0;
    MorphTarget operator()(Qiv_Stream& stream) const;
};

class NiMorphData : public NifBlock {
public:
    NiMorphData(BlockTable* owner, BlockKind kind, Qiv_Stream* stream);
    void ResolveLinks() override;

    int32_t VertexCount() const { return morphs_.GetReader().vertexCount; }
    size_t MorphCount() const { return morphs_.size(); }
    // Target `morph`, read again from the file; an empty one past the last.
    MorphTarget Morph(size_t morph) const { return morphs_[morph]; }

private:
    RecordList<MorphTargetReader> morphs_;
};

// One of the four groups of a NiUVData.
struct UVKeyGroup {
    int32_t keyCount = 0;
    int32_t keyType = 0;
    FileArray<float> keys;
};

class NiUVData : public NifBlock {
public:
    static constexpr int kGroupCount = 4;

    NiUVData(BlockTable* owner, BlockKind kind, Qiv_Stream* stream);
    void ResolveLinks() override;

    // Group 0 to 3, read again from where the file holds the groups.
    UVKeyGroup Group(int group) const;

private:
    using Groups = std::array<UVKeyGroup, kGroupCount>;
    // The four groups as the file holds them: the load reads them with this, and so does Group.
    static Groups ReadGroups(Qiv_Stream& stream);

    // Where the groups lie in the file: a NiUVData is often nothing but four
    // empty groups, and a file of them must not need much more than its bytes.
    uint32_t groupBytes_ = 0;
    const unsigned char* groups_ = nullptr;
};
