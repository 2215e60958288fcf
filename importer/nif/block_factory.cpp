#include "importer/nif/block_factory.h"

#include <new>

#include "importer/nif/block_arena.h"
#include "importer/nif/block_kind.h"
#include "importer/nif/controller_blocks.h"
#include "importer/nif/effect_blocks.h"
#include "importer/nif/nif_block.h"
#include "importer/nif/node_blocks.h"
#include "importer/nif/property_blocks.h"
#include "importer/nif/skin_blocks.h"

namespace {

using Constructor = NifBlock* (*)(BlockArena&, BlockTable*, BlockKind, Qiv_Stream*);

// A constructor that throws leaves its memory to the arena, which frees it with the rest.
template <class Block>
NifBlock* Construct(BlockArena& arena, BlockTable* owner, BlockKind kind, Qiv_Stream* stream) {
    return new (arena.Allocate(sizeof(Block), alignof(Block))) Block(owner, kind, stream);
}

// The class of each kind, indexed by BlockKind: the whole vocabulary of the reader.
const Constructor kConstructors[kBlockKindCount] = {
    Construct<NiNode>,
    Construct<NiBSAnimationNode>,
    Construct<NiBSParticleNode>,
    Construct<RootCollisionNode>,
    Construct<NiTriShape>,
    Construct<NiTriShapeData>,
    Construct<NiTexturingProperty>,
    Construct<NiSourceTexture>,
    Construct<NiMaterialProperty>,
    Construct<NiVertexColorProperty>,
    Construct<NiAlphaProperty>,
    Construct<NiZBufferProperty>,
    Construct<NiSkinInstance>,
    Construct<NiSkinData>,
    Construct<NiKeyframeController>,
    Construct<NiKeyframeData>,
    Construct<NiGeomMorpherController>,
    Construct<NiMorphData>,
    Construct<NiUVController>,
    Construct<NiUVData>,
    Construct<NiRotatingParticles>,
    Construct<NiRotatingParticlesData>,
    Construct<NiParticleSystemController>,
    Construct<NiParticleGrowFade>,
    Construct<NiTextureEffect>,
    Construct<NiStringExtraData>,
    Construct<NiTextKeyExtraData>,
};

}  // namespace

NifBlock* CreateBlock(BlockArena& arena, BlockTable* owner, const std::string& typeName, Qiv_Stream* stream) {
    BlockKind kind;
    if (!FindBlockKind(typeName, &kind)) return nullptr;
    return kConstructors[static_cast<size_t>(kind)](arena, owner, kind, stream);
}
