#include "importer/nif/link_checks.h"


#include "importer/nif/nif_block.h"
#include "importer/nif/block_table.h"

namespace {

struct CheckRule {
    const char* message;
    const char* accepted[8];  // ends at the first null
};

// Indexed by LinkCheck.
const CheckRule kRules[] = {
    {"Wanted Child, but got: ",
     {"NiNode", "NiTriShape", "NiBSAnimationNode", "NiRotatingParticles", "NiBSParticleNode", "NiTextureEffect",
      "RootCollisionNode"}},
    {"Wanted DynamicEffect, but got: ", {"NiTextureEffect"}},
    {"Wanted Property, but got: ",
     {"NiMaterialProperty", "NiTexturingProperty", "NiAlphaProperty", "NiVertexColorProperty", "NiZBufferProperty"}},
    {"Wanted TimeController, but got: ",
     {"NiKeyframeController", "NiParticleSystemController", "NiUVController", "NiGeomMorpherController"}},
    {"Wanted ExtraData, but got: ", {"NiStringExtraData", "NiTextKeyExtraData"}},
    {"Wanted TriShapeData, but got: ", {"NiTriShapeData"}},
    {"Wanted UVData, but got: ", {"NiUVData"}},
    {"Wanted TriShape, but got: ", {"NiTriShape"}},
    {"Wanted SourceTexture, but got: ", {"NiSourceTexture"}},
    {"Wanted SkinInstance, but got: ", {"NiSkinInstance"}},
    {"Wanted SkinData, but got: ", {"NiSkinData"}},
    {"Wanted Node, but got: ", {"NiNode", "NiBSAnimationNode"}},
    {"Wanted NiKeyframeData, but got: ", {"NiKeyframeData"}},
    {"Wanted NiMorphData, but got: ", {"NiMorphData"}},
    {"Wanted RotatingParticlesData, but got: ", {"NiRotatingParticlesData"}},
    {"Wanted ParticleGrowFade, but got: ", {"NiParticleGrowFade"}},
};
static_assert(sizeof kRules / sizeof kRules[0] == static_cast<size_t>(LinkCheck::ParticleGrowFade) + 1);

}  // namespace

void CheckLink(BlockTable* owner, LinkCheck check, int32_t index) {
    const NifBlock* linked = owner->GetBlock(index);
    if (!linked) return;  // -1, or an index that names no block
    const CheckRule& rule = kRules[static_cast<size_t>(check)];
    for (const char* const* name = rule.accepted; *name; ++name) {
        if (linked->HasTypeName(*name)) return;
    }
    owner->WriteLinkWarning(rule.message, linked->GetTypeName());
}

void CheckLinks(BlockTable* owner, LinkCheck check, const LinkList& links) {
    for (int32_t index : links.indices) CheckLink(owner, check, index);
}
