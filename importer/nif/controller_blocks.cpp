#include "importer/nif/controller_blocks.h"

#include <algorithm>

#include "importer/nif/link_checks.h"
#include "importer/nif/messages.h"
#include "importer/nif/block_table.h"
#include "importer/nif/record_reading.h"


namespace {

// The fewest file bytes of a morph target: its key count and key type.
constexpr size_t kMorphTargetBytes = 8;
// Rotation key type whose keys are three separate angle groups.
constexpr int32_t kAxisRotationKeyType = 4;

struct KeySize {
    int32_t keyType;
    int floatsPerKey;
};

// Floats per key by kind, searched in order; a key type not listed takes the last entry's count.
const KeySize kRotationKeySizes[] = {{1, 5}, {3, 8}, {5, 8}};
const KeySize kTranslationKeySizes[] = {{1, 4}, {3, 7}, {2, 10}};
const KeySize kScaleKeySizes[] = {{1, 2}, {3, 5}, {2, 4}};
// Float keys: morph weights, UV offsets and the per-axis rotation angles.
const KeySize kFloatKeySizes[] = {{1, 2}, {2, 4}, {3, 5}};

template <size_t N>
int FloatsPerKey(const KeySize (&table)[N], int32_t keyType) {
    for (const KeySize& entry : table) {
        if (entry.keyType == keyType) return entry.floatsPerKey;
    }
    return table[N - 1].floatsPerKey;
}

// Key type (when the count is not 0) and the keys (when both count and floats per key are above 0).
template <size_t N>
KeyGroup ReadKeyGroup(Qiv_Stream& stream, int kind, const KeySize (&table)[N]) {
    KeyGroup group;
    group.kind = kind;
    group.keyCount = stream.Long();
    if (group.keyCount == 0) return group;
    group.keyType = stream.Long();
    group.floatsPerKey = FloatsPerKey(table, group.keyType);
    if (group.keyCount > 0 && group.floatsPerKey > 0) {
        group.keys = stream.Array<float>(int64_t(group.keyCount) * group.floatsPerKey);
    }
    return group;
}

// ReadKeyGroup over bytes the load has checked, moving `bytes` past the group.
template <size_t N>
KeyGroup DecodeKeyGroup(const unsigned char*& bytes, int kind, const KeySize (&table)[N]) {
    KeyGroup group;
    group.kind = kind;
    group.keyCount = LoadLong(bytes);
    bytes += 4;
    if (group.keyCount == 0) return group;
    group.keyType = LoadLong(bytes);
    bytes += 4;
    group.floatsPerKey = FloatsPerKey(table, group.keyType);
    if (group.keyCount > 0 && group.floatsPerKey > 0) {
        group.keys = FileArray<float>(bytes, static_cast<size_t>(group.keyCount) * static_cast<size_t>(group.floatsPerKey));
        bytes += group.keys.ByteCount();
    }
    return group;
}

}  // namespace

void ControllerRecord::ReadAfterNext(Qiv_Stream& stream) {
    flags = stream.Short();
    frequency = stream.Float();
    phase = stream.Float();
    startTime = stream.Float();
    stopTime = stream.Float();
    target = stream.Long();
}

// ---------------------------------------------------------------- controllers

NiKeyframeController::NiKeyframeController(BlockTable* owner, const char* typeName, Qiv_Stream* stream)
    : NifBlock(owner, typeName) {
    controller_.nextController = stream->Long();  // real files chain controllers here
    controller_.ReadAfterNext(*stream);
    data_ = stream->Long();
}

void NiKeyframeController::ResolveLinks() {
    CheckLink(GetOwner(), LinkCheck::TimeController, controller_.nextController);
    CheckLink(GetOwner(), LinkCheck::Node, controller_.target);
    CheckLink(GetOwner(), LinkCheck::NiKeyframeData, data_);
}

NiGeomMorpherController::NiGeomMorpherController(BlockTable* owner, const char* typeName, Qiv_Stream* stream)
    : NifBlock(owner, typeName) {
    controller_.nextController = stream->Long();
    controller_.ReadAfterNext(*stream);
    data_ = stream->Long();
    stream->ByteVerify(0);
}

void NiGeomMorpherController::ResolveLinks() {
    CheckLink(GetOwner(), LinkCheck::TriShape, controller_.target);
    CheckLink(GetOwner(), LinkCheck::NiMorphData, data_);
    CheckLink(GetOwner(), LinkCheck::TimeController, controller_.nextController);
}

NiUVController::NiUVController(BlockTable* owner, const char* typeName, Qiv_Stream* stream) : NifBlock(owner, typeName) {
    controller_.nextController = stream->Long();  // real files chain controllers here
    controller_.ReadAfterNext(*stream);
    unknownShort_ = stream->Short();  // any value in real files
    data_ = stream->Long();
}

void NiUVController::ResolveLinks() {
    CheckLink(GetOwner(), LinkCheck::TimeController, controller_.nextController);
    CheckLink(GetOwner(), LinkCheck::TriShape, controller_.target);
    CheckLink(GetOwner(), LinkCheck::UVData, data_);
}

// ---------------------------------------------------------------- NiKeyframeData

NiKeyframeData::NiKeyframeData(BlockTable* owner, const char* typeName, Qiv_Stream* stream) : NifBlock(owner, typeName) {
    Qiv_Stream& s = *stream;
    groups_ = s.Here();
    const int32_t rotationCount = s.Long();
    if (rotationCount != 0) {
        const int32_t rotationType = s.Long();
        if (rotationType == kAxisRotationKeyType) {
            if (rotationCount > 0) {
                s.Float();
                for (int axis = 0; axis < 3; ++axis) ReadKeyGroup(s, KeyGroup::kRotation, kFloatKeySizes);
            }
        } else if (rotationCount > 0) {
            s.Array<float>(int64_t(rotationCount) * FloatsPerKey(kRotationKeySizes, rotationType));
        }
    }
    ReadKeyGroup(s, KeyGroup::kTranslation, kTranslationKeySizes);
    ReadKeyGroup(s, KeyGroup::kScale, kScaleKeySizes);
}

NiKeyframeData::Groups NiKeyframeData::Decode() const {
    // The load checked every group; this walks the same fields again.
    Groups found;
    const unsigned char* bytes = groups_;
    KeyGroup& rotation = found.rotation;
    rotation.kind = KeyGroup::kRotation;
    rotation.keyCount = LoadLong(bytes);
    bytes += 4;
    if (rotation.keyCount != 0) {
        rotation.keyType = LoadLong(bytes);
        bytes += 4;
        if (rotation.keyType == kAxisRotationKeyType) {
            if (rotation.keyCount > 0) {
                found.hasAxisRotation = true;
                found.axisRotation.value = LoadFloat(bytes);
                bytes += 4;
                for (KeyGroup& axis : found.axisRotation.axes) axis = DecodeKeyGroup(bytes, KeyGroup::kRotation, kFloatKeySizes);
            }
        } else {
            rotation.floatsPerKey = FloatsPerKey(kRotationKeySizes, rotation.keyType);
            if (rotation.keyCount > 0) {
                rotation.keys = FileArray<float>(bytes, static_cast<size_t>(rotation.keyCount) * static_cast<size_t>(rotation.floatsPerKey));
                bytes += rotation.keys.ByteCount();
            }
        }
    }
    found.translation = DecodeKeyGroup(bytes, KeyGroup::kTranslation, kTranslationKeySizes);
    found.scale = DecodeKeyGroup(bytes, KeyGroup::kScale, kScaleKeySizes);
    return found;
}

KeyGroup NiKeyframeData::Rotation() const { return Decode().rotation; }
KeyGroup NiKeyframeData::Translation() const { return Decode().translation; }
KeyGroup NiKeyframeData::Scale() const { return Decode().scale; }
bool NiKeyframeData::HasAxisRotation() const { return Decode().hasAxisRotation; }
AxisRotationKeys NiKeyframeData::AxisRotation() const { return Decode().axisRotation; }

void NiKeyframeData::ResolveLinks() {}

// ---------------------------------------------------------------- NiMorphData

NiMorphData::NiMorphData(BlockTable* owner, const char* typeName, Qiv_Stream* stream) : NifBlock(owner, typeName) {
    Qiv_Stream& s = *stream;
    morphCount_ = s.Long();
    vertexCount_ = s.Long();
    s.ByteVerify(1);  // relative targets
    // The count is only a claim of the file: the targets it can hold bound the table.
    const size_t fit = morphCount_ > 0 ? std::min(static_cast<size_t>(morphCount_), s.EntriesThatFit(kMorphTargetBytes)) : 0;
    if (fit != 0) morphs_ = std::make_unique<const unsigned char*[]>(fit);
    for (int32_t i = 0; i < morphCount_; ++i) {
        // A target beyond those that fit fails in its reads below, before it is needed.
        const unsigned char* start = s.Here();
        if (static_cast<size_t>(i) < fit) morphs_[static_cast<size_t>(i)] = start;
        const int32_t keyCount = s.Long();
        const int32_t keyType = s.Long();
        if (keyCount > 0) s.Array<float>(int64_t(keyCount) * FloatsPerKey(kFloatKeySizes, keyType));
        s.Array<NifVector>(vertexCount_);
    }
}

FileArray<float> MorphTarget::Keys() const {
    const int32_t keyCount = KeyCount();
    if (keyCount <= 0) return {};
    return FileArray<float>(bytes_ + 8, static_cast<size_t>(keyCount) * static_cast<size_t>(FloatsPerKey(kFloatKeySizes, KeyType())));
}

FileArray<NifVector> MorphTarget::Vertices() const {
    if (vertexCount_ <= 0) return {};
    return FileArray<NifVector>(bytes_ + 8 + Keys().ByteCount(), static_cast<size_t>(vertexCount_));
}

void NiMorphData::ResolveLinks() {}

// ---------------------------------------------------------------- NiUVData

NiUVData::NiUVData(BlockTable* owner, const char* typeName, Qiv_Stream* stream) : NifBlock(owner, typeName) {
    Qiv_Stream& s = *stream;
    groups_ = s.Here();
    for (int i = 0; i < kGroupCount; ++i) {
        UVKeyGroup group;
        group.keyCount = s.Long();
        if (group.keyCount <= 0) continue;
        group.keyType = s.Long();
        if (group.keyType < 1 || group.keyType > 3) {
            // Reported as a verify of the usual key type 2 would report it.
            s.ReportError(FormatText(nif_messages::kUnexpectedLong, static_cast<unsigned>(group.keyType), group.keyType, 2u, 2));
        }
        s.Array<float>(int64_t(group.keyCount) * FloatsPerKey(kFloatKeySizes, group.keyType));
    }
}

UVKeyGroup NiUVData::Group(int group) const {
    // The load checked every group: each is a count, and when it is above 0
    // a key type of 1 to 3 and its keys.
    if (group < 0 || group >= kGroupCount) return {};
    const unsigned char* bytes = groups_;
    for (int i = 0;; ++i) {
        UVKeyGroup found;
        found.keyCount = LoadLong(bytes);
        bytes += 4;
        if (found.keyCount > 0) {
            found.keyType = LoadLong(bytes);
            const size_t floats = static_cast<size_t>(found.keyCount) * static_cast<size_t>(FloatsPerKey(kFloatKeySizes, found.keyType));
            found.keys = FileArray<float>(bytes + 4, floats);
            bytes += 4 + found.keys.ByteCount();
        }
        if (i == group) return found;
    }
}

void NiUVData::ResolveLinks() {}
