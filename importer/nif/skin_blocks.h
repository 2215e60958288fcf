// Skin blocks: which nodes are bones, and each bone's rest transform.
#pragma once

#include <cstdint>
#include <vector>

#include "importer/nif/nif_block.h"

class NiSkinInstance : public NifBlock {
public:
    NiSkinInstance(BlockTable* owner, BlockKind kind, Qiv_Stream* stream);
    void ResolveLinks() override;
    // The parent walk's step here: every block the bone list names becomes
    // a bone (once: marks cannot be undone), and the walk goes on to the skin data.
    void LinkParents(ParentWalk& walk) override;
    // The block of Bone Nodes entry `bone`; none outside the list.
    NifBlock* GetBoneBlock(int bone) const override;

    int32_t SkinDataLink() const { return skinData_; }
    int32_t SkeletonRootLink() const { return parentNode_; }
    const LinkList& BoneNodes() const { return boneNodes_; }

private:
    int32_t skinData_ = -1;
    int32_t parentNode_ = -1;
    bool bonesMarked_ = false;  // marks cannot be undone: once is enough
    LinkList boneNodes_;
};

struct SkinVertexWeight {
    uint16_t vertex = 0;
    float weight = 0.0f;
};

template <>
struct FileEntry<SkinVertexWeight> {
    static constexpr EntryLayout kLayout{{2, 4}, 2, "Short"};
    static SkinVertexWeight Decode(const unsigned char* bytes) { return {LoadShort(bytes), LoadFloat(bytes + 2)}; }
};

// One bone's record in the skin data; owned by its NiSkinData.
class SkinBone {
public:
    Matrix33 rotation;
    NifVector translation;
    float scale = 0.0f;
    NifVector boundsCentre;
    float boundsRadius = 0.0f;
    FileArray<SkinVertexWeight> weights;
};

class NiSkinData : public NifBlock {
public:
    NiSkinData(BlockTable* owner, BlockKind kind, Qiv_Stream* stream);
    void ResolveLinks() override;
    // The parent walk's step here: hands bone i's rest transform to the node
    // the parent skin instance names for it.
    void LinkParents(ParentWalk& walk) override;

    float Scale() const { return scale_; }
    const NifVector& Translation() const { return translation_; }
    const Matrix33& Rotation() const { return rotation_; }
    int32_t BoneCount() const { return boneCount_; }
    const std::vector<SkinBone>& Bones() const { return bones_; }

private:
    float scale_ = 0.0f;
    NifVector translation_;
    Matrix33 rotation_;
    int32_t boneCount_ = 0;
    std::vector<SkinBone> bones_;

    // The skin instance of the last quiet application (no message box) and the
    // file's bone-data stamp right after it; none after a noisy one.
    const NifBlock* lastQuietParent_ = nullptr;
    unsigned long lastStamp_ = 0;
};
