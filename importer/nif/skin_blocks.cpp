#include "importer/nif/skin_blocks.h"

#include "importer/nif/link_checks.h"
#include "importer/nif/node_blocks.h"
#include "importer/nif/parent_walk.h"
#include "importer/nif/block_table.h"
#include "importer/nif/record_reading.h"

namespace {

// The fewest file bytes of a skin bone (no weights).
constexpr size_t kSkinBoneBytes = 36 + 12 + 4 + 12 + 4 + 2;

SkinBone ReadSkinBone(Qiv_Stream& stream) {
    SkinBone bone;
    bone.rotation = ReadMatrix33(stream);
    bone.translation = ReadVector(stream);
    bone.scale = stream.Float();
    bone.boundsCentre = ReadVector(stream);
    bone.boundsRadius = stream.Float();
    const int16_t weightCount = static_cast<int16_t>(stream.Short());
    bone.weights = stream.Array<SkinVertexWeight>(weightCount);
    return bone;
}

}  // namespace

// ---------------------------------------------------------------- NiSkinInstance

NiSkinInstance::NiSkinInstance(BlockTable* owner, BlockKind kind, Qiv_Stream* stream) : NifBlock(owner, kind) {
    skinData_ = stream->Long();
    parentNode_ = stream->Long();
    boneNodes_ = ReadLinkList(*stream);
}

void NiSkinInstance::ResolveLinks() {
    CheckLinks(GetOwner(), LinkCheck::Node, boneNodes_);
    CheckLink(GetOwner(), LinkCheck::SkinData, skinData_);
    CheckLink(GetOwner(), LinkCheck::Node, parentNode_);
}

void NiSkinInstance::LinkParents(ParentWalk& walk) {
    if (!bonesMarked_) {
        for (int32_t index : boneNodes_.indices) {
            if (NifBlock* bone = Linked(index)) bone->MarkBone();
        }
        bonesMarked_ = true;
    }
    walk.Follow(Linked(skinData_));
}

NifBlock* NiSkinInstance::GetBoneBlock(int bone) const { return Linked(boneNodes_.At(bone)); }

// ---------------------------------------------------------------- NiSkinData

NiSkinData::NiSkinData(BlockTable* owner, BlockKind kind, Qiv_Stream* stream) : NifBlock(owner, kind) {
    Qiv_Stream& s = *stream;
    scale_ = s.Float();
    translation_ = ReadVector(s);
    rotation_ = ReadMatrix33(s);
    boneCount_ = s.Long();
    s.LongVerify(-1);  // partition link
    ReadEntries(s, bones_, boneCount_, kSkinBoneBytes, ReadSkinBone);
}

void NiSkinData::ResolveLinks() {}

void NiSkinData::LinkParents(ParentWalk&) {
    const NifBlock* instance = GetParent();
    if (!instance) return;  // block 0 itself: no skin instance names the bones
    // Reached again through the same skin instance, with no bone data applied
    // by anyone since: applying it once more would change nothing and show nothing.
    if (instance == lastQuietParent_ && GetOwner()->BoneDataStamp() == lastStamp_) return;
    // Only a skin instance answers GetBoneBlock and only a NiNode takes bone data without a message box.
    bool quiet = instance->Kind() == BlockKind::NiSkinInstance;
    for (size_t i = 0; i < bones_.size(); ++i) {
        if (NifBlock* node = instance->GetBoneBlock(static_cast<int>(i))) {
            quiet = quiet && node->Kind() == BlockKind::NiNode;
            node->SetBoneData(bones_[i].translation, bones_[i].rotation);
            // Where the record came from, for placing the bone on its skin.
            if (node->Kind() == BlockKind::NiNode) static_cast<NiNode*>(node)->SetBoneRecordSource(this);
        }
    }
    lastStamp_ = GetOwner()->NextBoneDataStamp();
    lastQuietParent_ = quiet ? instance : nullptr;
}
