#include "importer/nif/block_kind.h"

namespace {

// Indexed by BlockKind.
const char* const kTypeNames[kBlockKindCount] = {
    "NiNode",
    "NiBSAnimationNode",
    "NiBSParticleNode",
    "RootCollisionNode",
    "NiTriShape",
    "NiTriShapeData",
    "NiTexturingProperty",
    "NiSourceTexture",
    "NiMaterialProperty",
    "NiVertexColorProperty",
    "NiAlphaProperty",
    "NiZBufferProperty",
    "NiSkinInstance",
    "NiSkinData",
    "NiKeyframeController",
    "NiKeyframeData",
    "NiGeomMorpherController",
    "NiMorphData",
    "NiUVController",
    "NiUVData",
    "NiRotatingParticles",
    "NiRotatingParticlesData",
    "NiParticleSystemController",
    "NiParticleGrowFade",
    "NiTextureEffect",
    "NiStringExtraData",
    "NiTextKeyExtraData",
};

}  // namespace

const char* TypeNameOf(BlockKind kind) { return kTypeNames[static_cast<size_t>(kind)]; }

bool FindBlockKind(const std::string& typeName, BlockKind* kind) {
    for (int i = 0; i < kBlockKindCount; ++i) {
        if (typeName == kTypeNames[i]) {
            *kind = static_cast<BlockKind>(i);
            return true;
        }
    }
    return false;
}
