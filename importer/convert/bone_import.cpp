#include "importer/convert/bone_import.h"

#include "importer/convert/scene_placement.h"
#include "importer/transform/matrix44.h"
#include "importer/nif/nif_block.h"
#include "importer/nif/node_blocks.h"

namespace {

// The skin data block that gave the node its bone record; none for a node
// without one (only a NiNode takes a record).
const NifBlock* BoneRecordSource(const NifBlock* node) {
    return node->Kind() == BlockKind::NiNode ? static_cast<const NiNode*>(node)->BoneRecordSource() : nullptr;
}

// Where the node's bone matrix places the origin. When the bone matrix has no
// inverse, GetBoneMatrix leaves the matrix as it was, so the node's local
// transform stands in for it.
NifVector BindPosition(NifBlock* node) {
    Matrix44 matrix;
    node->GetLocalTransform(matrix);
    node->GetBoneMatrix(matrix);
    const float origin[3] = {0.0f, 0.0f, 0.0f};
    float point[4];
    TransformPoint(point, origin, matrix);
    NifVector position;
    position.x = point[0] / point[3];
    position.y = point[1] / point[3];
    position.z = point[2] / point[3];
    return position;
}

// The bind position is in the space of the skinned shape whose skin data gave
// the node its bone record (the last record wins): it goes through that
// shape's W, found through the shape's parent links. A skin data block that
// no shape reached as its skin gives no W (identity). A bone without a
// record has its bind position at the origin of its own node: it goes
// through the node's own W, which puts it where the scene puts the node.
NifVector PlacedBindPosition(NifBlock* node) {
    Matrix44 world;
    Identity(world);
    if (const NifBlock* skinData = BoneRecordSource(node)) {
        const NifBlock* skinInstance = skinData->GetParent();
        const NifBlock* shape = skinInstance != nullptr ? skinInstance->GetParent() : nullptr;
        if (shape != nullptr) WorldThroughParents(shape, world);
    } else {
        WorldThroughParents(node, world);
    }
    return PlacePosition(PlacementOf(world), BindPosition(node));
}

bool HasText(const char* text) { return text != nullptr && text[0] != '\0'; }

// Adds the bone with its name and (when the parent is a bone) its parent's
// name; returns the parent bone, or none.
NifBlock* AddNamedBone(msModel* model, NifBlock* node, msBone** bone) {
    *bone = msModel_GetBoneAt(model, msModel_AddBone(model));
    if (*bone == nullptr) return nullptr;

    const char* name = node->GetId();
    if (HasText(name)) msBone_SetName(*bone, name);

    NifBlock* parent = node->GetParent();
    if (parent == nullptr || !parent->IsBone()) return nullptr;
    const char* parentName = parent->GetId();
    if (HasText(parentName)) msBone_SetParentName(*bone, parentName);
    return parent;
}

// Relative to the parent bone: both positions are in the same axes, so the
// parent's is simply subtracted.
void SetPosition(msBone* bone, NifVector position, const NifVector* parentPosition) {
    if (parentPosition != nullptr) {
        position.x -= parentPosition->x;
        position.y -= parentPosition->y;
        position.z -= parentPosition->z;
    }
    float xyz[3] = {position.x, position.y, position.z};
    msBone_SetPosition(bone, xyz);
    float rotation[3] = {0.0f, 0.0f, 0.0f};
    msBone_SetRotation(bone, rotation);
}

// Adds the bone of `node`, placed at `positionOf` it and relative to its parent bone's.
void AddBone(msModel* model, NifBlock* node, NifVector (*positionOf)(NifBlock*)) {
    msBone* bone = nullptr;
    NifBlock* boneParent = AddNamedBone(model, node, &bone);
    if (bone == nullptr) return;
    const NifVector position = positionOf(node);
    if (boneParent == nullptr) return SetPosition(bone, position, nullptr);
    const NifVector parentPosition = positionOf(boneParent);
    SetPosition(bone, position, &parentPosition);
}

}  // namespace

void ImportBone(msModel* model, NifBlock* node) { AddBone(model, node, BindPosition); }

void ImportPlacedBone(msModel* model, NifBlock* node) { AddBone(model, node, PlacedBindPosition); }
