#include "importer/convert/bone_import.h"

#include "importer/transform/matrix44.h"
#include "importer/nif/nif_block.h"

namespace {

struct Position {
    float x, y, z;
};

// Where the node's bone matrix places the origin. When the bone matrix has no
// inverse, GetBoneMatrix leaves the matrix as it was, so the node's local
// transform stands in for it.
Position BindPosition(NifBlock* node) {
    Matrix44 matrix;
    node->GetLocalTransform(matrix);
    node->GetBoneMatrix(matrix);
    const float origin[3] = {0.0f, 0.0f, 0.0f};
    float point[4];
    TransformPoint(point, origin, matrix);
    return {point[0] / point[3], point[1] / point[3], point[2] / point[3]};
}

bool HasText(const char* text) { return text != nullptr && text[0] != '\0'; }

}  // namespace

void ImportBone(msModel* model, NifBlock* node) {
    msBone* bone = msModel_GetBoneAt(model, msModel_AddBone(model));
    if (bone == nullptr) return;

    const char* name = node->GetId();
    if (HasText(name)) msBone_SetName(bone, name);

    NifBlock* parent = node->GetParent();
    const bool hasBoneParent = parent != nullptr && parent->IsBone();
    if (hasBoneParent) {
        const char* parentName = parent->GetId();
        if (HasText(parentName)) msBone_SetParentName(bone, parentName);
    }

    Position position = BindPosition(node);
    if (hasBoneParent) {
        // Relative to the parent bone: both bind positions are in the skinned
        // mesh's axes, so the parent's is simply subtracted.
        const Position parentPosition = BindPosition(parent);
        position = {position.x - parentPosition.x, position.y - parentPosition.y, position.z - parentPosition.z};
    }
    float xyz[3] = {position.x, position.y, position.z};
    msBone_SetPosition(bone, xyz);
    float rotation[3] = {0.0f, 0.0f, 0.0f};
    msBone_SetRotation(bone, rotation);
}
