#include "importer/nif/link_checks.h"

#include "importer/nif/nif_block.h"
#include "importer/nif/block_table.h"

namespace {

using K = BlockKind;

struct CheckRule {
    const char* message;
    BlockKinds accepted;
};

// Indexed by LinkCheck.
const CheckRule kRules[] = {
    {"Wanted Child, but got: ",
     BlockKinds(K::NiNode, K::NiTriShape, K::NiBSAnimationNode, K::NiRotatingParticles, K::NiBSParticleNode, K::NiTextureEffect,
                K::RootCollisionNode)},
    {"Wanted DynamicEffect, but got: ", BlockKinds(K::NiTextureEffect)},
    {"Wanted Property, but got: ",
     BlockKinds(K::NiMaterialProperty, K::NiTexturingProperty, K::NiAlphaProperty, K::NiVertexColorProperty, K::NiZBufferProperty)},
    {"Wanted TimeController, but got: ",
     BlockKinds(K::NiKeyframeController, K::NiParticleSystemController, K::NiUVController, K::NiGeomMorpherController)},
    {"Wanted ExtraData, but got: ", BlockKinds(K::NiStringExtraData, K::NiTextKeyExtraData)},
    {"Wanted TriShapeData, but got: ", BlockKinds(K::NiTriShapeData)},
    {"Wanted UVData, but got: ", BlockKinds(K::NiUVData)},
    {"Wanted TriShape, but got: ", BlockKinds(K::NiTriShape)},
    {"Wanted SourceTexture, but got: ", BlockKinds(K::NiSourceTexture)},
    {"Wanted SkinInstance, but got: ", BlockKinds(K::NiSkinInstance)},
    {"Wanted SkinData, but got: ", BlockKinds(K::NiSkinData)},
    {"Wanted Node, but got: ", BlockKinds(K::NiNode, K::NiBSAnimationNode)},
    {"Wanted NiKeyframeData, but got: ", BlockKinds(K::NiKeyframeData)},
    {"Wanted NiMorphData, but got: ", BlockKinds(K::NiMorphData)},
    {"Wanted RotatingParticlesData, but got: ", BlockKinds(K::NiRotatingParticlesData)},
    {"Wanted ParticleGrowFade, but got: ", BlockKinds(K::NiParticleGrowFade)},
};
static_assert(sizeof kRules / sizeof kRules[0] == static_cast<size_t>(LinkCheck::ParticleGrowFade) + 1);

}  // namespace

void CheckLink(BlockTable* owner, LinkCheck check, int32_t index) {
    const NifBlock* linked = owner->GetBlock(index);
    if (!linked) return;  // -1, or an index that names no block
    const CheckRule& rule = kRules[static_cast<size_t>(check)];
    if (rule.accepted.Contains(linked->Kind())) return;
    owner->WriteLinkWarning(rule.message, linked->GetTypeName());
}

void CheckLinks(BlockTable* owner, LinkCheck check, const LinkList& links) {
    for (int32_t index : links.indices) CheckLink(owner, check, index);
}
