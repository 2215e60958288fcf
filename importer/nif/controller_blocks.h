// Controller and animation-data blocks: read completely and kept; the
// importer does not play animations.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "importer/nif/nif_block.h"

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
    NiKeyframeController(BlockTable* owner, const char* typeName, Qiv_Stream* stream);
    void ResolveLinks() override;

    const ControllerRecord& Controller() const { return controller_; }
    int32_t DataLink() const { return data_; }

private:
    ControllerRecord controller_;
    int32_t data_ = -1;
};

class NiGeomMorpherController : public NifBlock {
public:
    NiGeomMorpherController(BlockTable* owner, const char* typeName, Qiv_Stream* stream);
    void ResolveLinks() override;

    const ControllerRecord& Controller() const { return controller_; }
    int32_t DataLink() const { return data_; }

private:
    ControllerRecord controller_;
    int32_t data_ = -1;
};

class NiUVController : public NifBlock {
public:
    NiUVController(BlockTable* owner, const char* typeName, Qiv_Stream* stream);
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
    NiKeyframeData(BlockTable* owner, const char* typeName, Qiv_Stream* stream);
    void ResolveLinks() override;

    // The groups, decoded from where the file holds them.
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
    Groups Decode() const;

    // Where the rotation group starts in the file: keyframe data is often
    // small, and a file of nothing else must not need much more than its bytes.
    const unsigned char* groups_ = nullptr;
};

// One morph target of a NiMorphData, decoded from where the file holds it:
// key count, key type, the keys (when the count is above 0), the vertices.
class MorphTarget {
public:
    MorphTarget(const unsigned char* bytes, int32_t vertexCount) : bytes_(bytes), vertexCount_(vertexCount) {}

    int32_t KeyCount() const { return LoadLong(bytes_); }
    int32_t KeyType() const { return LoadLong(bytes_ + 4); }
    FileArray<float> Keys() const;
    FileArray<NifVector> Vertices() const;

private:
    const unsigned char* bytes_;
    int32_t vertexCount_;
};

class NiMorphData : public NifBlock {
public:
    NiMorphData(BlockTable* owner, const char* typeName, Qiv_Stream* stream);
    void ResolveLinks() override;

    int32_t VertexCount() const { return vertexCount_; }
    size_t MorphCount() const { return morphCount_ > 0 ? static_cast<size_t>(morphCount_) : 0; }
    MorphTarget Morph(size_t morph) const { return MorphTarget(morphs_[morph], vertexCount_); }

private:
    int32_t morphCount_ = 0;
    int32_t vertexCount_ = 0;
    // Where each target starts in the file; one pointer wide, as most morph data has few targets.
    std::unique_ptr<const unsigned char*[]> morphs_;
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

    NiUVData(BlockTable* owner, const char* typeName, Qiv_Stream* stream);
    void ResolveLinks() override;

    // Group 0 to 3, decoded from where the file holds the groups.
    UVKeyGroup Group(int group) const;

private:
    const unsigned char* groups_ = nullptr;  // where the first group starts in the file
};
