#include "importer/nif/controller_blocks.h"

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

NiKeyframeController::NiKeyframeController(BlockTable* owner, BlockKind kind, Qiv_Stream* stream)
    : NifBlock(owner, kind) {
    controller_.nextController = stream->Long();  // real files chain controllers here
    controller_.ReadAfterNext(*stream);
    data_ = stream->Long();
}

void NiKeyframeController::ResolveLinks() {
    CheckLink(GetOwner(), LinkCheck::TimeController, controller_.nextController);
    CheckLink(GetOwner(), LinkCheck::Node, controller_.target);
    CheckLink(GetOwner(), LinkCheck::NiKeyframeData, data_);
}

NiGeomMorpherController::NiGeomMorpherController(BlockTable* owner, BlockKind kind, Qiv_Stream* stream)
    : NifBlock(owner, kind) {
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

NiUVController::NiUVController(BlockTable* owner, BlockKind kind, Qiv_Stream* stream) : NifBlock(owner, kind) {
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

NiKeyframeData::NiKeyframeData(BlockTable* owner, BlockKind kind, Qiv_Stream* stream) : NifBlock(owner, kind) {
    groups_ = stream->Here();
    ReadGroups(*stream);
    groupBytes_ = BytesSince(groups_, *stream);
}

NiKeyframeData::Groups NiKeyframeData::ReadGroups(Qiv_Stream& s) {
    Groups found;
    KeyGroup& rotation = found.rotation;
    rotation.kind = KeyGroup::kRotation;
    rotation.keyCount = s.Long();
    if (rotation.keyCount != 0) {
        rotation.keyType = s.Long();
        if (rotation.keyType == kAxisRotationKeyType) {
            if (rotation.keyCount > 0) {
                found.hasAxisRotation = true;
                found.axisRotation.value = s.Float();
                for (KeyGroup& axis : found.axisRotation.axes) axis = ReadKeyGroup(s, KeyGroup::kRotation, kFloatKeySizes);
            }
        } else {
            rotation.floatsPerKey = FloatsPerKey(kRotationKeySizes, rotation.keyType);
            if (rotation.keyCount > 0) rotation.keys = s.Array<float>(int64_t(rotation.keyCount) * rotation.floatsPerKey);
        }
    }
    found.translation = ReadKeyGroup(s, KeyGroup::kTranslation, kTranslationKeySizes);
    found.scale = ReadKeyGroup(s, KeyGroup::kScale, kScaleKeySizes);
    return found;
}

NiKeyframeData::Groups NiKeyframeData::ReadGroupsAgain() const { return ReadAgain(groups_, groupBytes_, ReadGroups); }

KeyGroup NiKeyframeData::Rotation() const { return ReadGroupsAgain().rotation; }
KeyGroup NiKeyframeData::Translation() const { return ReadGroupsAgain().translation; }
KeyGroup NiKeyframeData::Scale() const { return ReadGroupsAgain().scale; }
bool NiKeyframeData::HasAxisRotation() const { return ReadGroupsAgain().hasAxisRotation; }
AxisRotationKeys NiKeyframeData::AxisRotation() const { return ReadGroupsAgain().axisRotation; }

void NiKeyframeData::ResolveLinks() {}

// ---------------------------------------------------------------- NiMorphData

NiMorphData::NiMorphData(BlockTable* owner, BlockKind kind, Qiv_Stream* stream) : NifBlock(owner, kind) {
    Qiv_Stream& s = *stream;
    const int32_t morphCount = s.Long();
    morphs_ = RecordList<MorphTargetReader>(MorphTargetReader{s.Long()});
    s.ByteVerify(1);  // relative targets
    morphs_.ReadFrom(s, morphCount, kMorphTargetBytes);
}

MorphTarget MorphTargetReader::operator()(Qiv_Stream& s) const {
    MorphTarget target;
    target.keyCount = s.Long();
    target.keyType = s.Long();
    if (target.keyCount > 0) target.keys = s.Array<float>(int64_t(target.keyCount) * FloatsPerKey(kFloatKeySizes, target.keyType));
    target.vertices = s.Array<NifVector>(vertexCount);
    return target;
}

void NiMorphData::ResolveLinks() {}

// ---------------------------------------------------------------- NiUVData

NiUVData::NiUVData(BlockTable* owner, BlockKind kind, Qiv_Stream* stream) : NifBlock(owner, kind) {
    groups_ = stream->Here();
    ReadGroups(*stream);
    groupBytes_ = BytesSince(groups_, *stream);
}

NiUVData::Groups NiUVData::ReadGroups(Qiv_Stream& s) {
    Groups groups;
    for (UVKeyGroup& group : groups) {
        group.keyCount = s.Long();
        if (group.keyCount <= 0) continue;
        group.keyType = s.Long();
        if (group.keyType < 1 || group.keyType > 3) {
            // Reported as a verify of the usual key type 2 would report it.
            s.ReportError(FormatText(nif_messages::kUnexpectedLong, static_cast<unsigned>(group.keyType), group.keyType, 2u, 2));
        }
        group.keys = s.Array<float>(int64_t(group.keyCount) * FloatsPerKey(kFloatKeySizes, group.keyType));
    }
    return groups;
}

UVKeyGroup NiUVData::Group(int group) const {
    if (group < 0 || group >= kGroupCount) return {};
    return ReadAgain(groups_, groupBytes_, ReadGroups)[static_cast<size_t>(group)];
}

void NiUVData::ResolveLinks() {}
