#include "importer/nif/block_factory.h"

#include <cstring>

#include "importer/nif/controller_blocks.h"
#include "importer/nif/effect_blocks.h"
#include "importer/nif/nif_block.h"
#include "importer/nif/node_blocks.h"
#include "importer/nif/property_blocks.h"
#include "importer/nif/skin_blocks.h"

namespace {

using Constructor = std::unique_ptr<NifBlock> (*)(BlockTable*, const char*, Qiv_Stream*);

template <class Block>
std::unique_ptr<NifBlock> Construct(BlockTable* owner, const char* typeName, Qiv_Stream* stream) {
    return std::make_unique<Block>(owner, typeName, stream);
}

struct FactoryEntry {
    const char* typeName;
    Constructor construct;
};

// The whole vocabulary of the reader. Every other name is rejected.
const FactoryEntry kFactoryTable[] = {
    {"NiNode", Construct<NiNode>},
    {"NiBSAnimationNode", Construct<NiBSAnimationNode>},
    {"NiBSParticleNode", Construct<NiBSParticleNode>},
    {"RootCollisionNode", Construct<RootCollisionNode>},
    {"NiTriShape", Construct<NiTriShape>},
    {"NiTriShapeData", Construct<NiTriShapeData>},
    {"NiTexturingProperty", Construct<NiTexturingProperty>},
    {"NiSourceTexture", Construct<NiSourceTexture>},
    {"NiMaterialProperty", Construct<NiMaterialProperty>},
    {"NiVertexColorProperty", Construct<NiVertexColorProperty>},
    {"NiAlphaProperty", Construct<NiAlphaProperty>},
    {"NiZBufferProperty", Construct<NiZBufferProperty>},
    {"NiSkinInstance", Construct<NiSkinInstance>},
    {"NiSkinData", Construct<NiSkinData>},
    {"NiKeyframeController", Construct<NiKeyframeController>},
    {"NiKeyframeData", Construct<NiKeyframeData>},
    {"NiGeomMorpherController", Construct<NiGeomMorpherController>},
    {"NiMorphData", Construct<NiMorphData>},
    {"NiUVController", Construct<NiUVController>},
    {"NiUVData", Construct<NiUVData>},
    {"NiRotatingParticles", Construct<NiRotatingParticles>},
    {"NiRotatingParticlesData", Construct<NiRotatingParticlesData>},
    {"NiParticleSystemController", Construct<NiParticleSystemController>},
    {"NiParticleGrowFade", Construct<NiParticleGrowFade>},
    {"NiTextureEffect", Construct<NiTextureEffect>},
    {"NiStringExtraData", Construct<NiStringExtraData>},
    {"NiTextKeyExtraData", Construct<NiTextKeyExtraData>},
};

}  // namespace

std::unique_ptr<NifBlock> CreateBlock(BlockTable* owner, const std::string& typeName, Qiv_Stream* stream) {
    for (const FactoryEntry& entry : kFactoryTable) {
        if (std::strcmp(entry.typeName, typeName.c_str()) == 0) {
            // The table's own name: it outlives every block, which keeps only a pointer to it.
            return entry.construct(owner, entry.typeName, stream);
        }
    }
    return nullptr;
}
