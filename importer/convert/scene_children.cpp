#include "importer/convert/scene_children.h"

#include "importer/nif/block_kind.h"
#include "importer/nif/block_table.h"
#include "importer/nif/node_blocks.h"

namespace {

// The node kinds whose children only the option makes the walk follow.
constexpr BlockKinds kOpenedByTheOption(BlockKind::NiBSAnimationNode, BlockKind::NiBSParticleNode);

const NodeBlock* AnimationOrParticleNode(const NifBlock* block) {
    return kOpenedByTheOption.Contains(block->Kind()) ? static_cast<const NodeBlock*>(block) : nullptr;
}

}  // namespace

int SceneChildCount(const NifBlock* block, bool applySceneTransforms) {
    if (applySceneTransforms) {
        if (const NodeBlock* node = AnimationOrParticleNode(block)) return node->Children().Count();
    }
    return block->GetNumberChildren();
}

NifBlock* SceneChild(const NifBlock* block, int position, bool applySceneTransforms) {
    if (applySceneTransforms) {
        if (const NodeBlock* node = AnimationOrParticleNode(block)) {
            return block->GetOwner() != nullptr ? block->GetOwner()->GetBlock(node->Children().At(position)) : nullptr;
        }
    }
    return block->GetChild(position);
}
