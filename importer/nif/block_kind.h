// The 27 kinds of block the reader knows, one per type name.
//
// The factory finds a block's kind by its type name once, when the block is
// read; from then on the kind answers what class a block is (the link checks,
// the parent walk, the conversion) without comparing names again.
#pragma once

#include <cstdint>
#include <string>

enum class BlockKind : uint8_t {
    NiNode,
    NiBSAnimationNode,
    NiBSParticleNode,
    RootCollisionNode,
    NiTriShape,
    NiTriShapeData,
    NiTexturingProperty,
    NiSourceTexture,
    NiMaterialProperty,
    NiVertexColorProperty,
    NiAlphaProperty,
    NiZBufferProperty,
    NiSkinInstance,
    NiSkinData,
    NiKeyframeController,
    NiKeyframeData,
    NiGeomMorpherController,
    NiMorphData,
    NiUVController,
    NiUVData,
    NiRotatingParticles,
    NiRotatingParticlesData,
    NiParticleSystemController,
    NiParticleGrowFade,
    NiTextureEffect,
    NiStringExtraData,
    NiTextKeyExtraData,
};

inline constexpr int kBlockKindCount = static_cast<int>(BlockKind::NiTextKeyExtraData) + 1;

// The type name of a kind, as the file spells it.
const char* TypeNameOf(BlockKind kind);
// The kind whose type name is exactly `typeName` (case-sensitive, whole
// string); false for every other name.
bool FindBlockKind(const std::string& typeName, BlockKind* kind);

// A set of kinds, for the questions "is this block one of these".
class BlockKinds {
public:
    constexpr BlockKinds() = default;
    template <class... Kinds>
    constexpr explicit BlockKinds(BlockKind first, Kinds... others) : bits_(((Bit(first)) | ... | Bit(others))) {}

    constexpr bool Contains(BlockKind kind) const { return (bits_ & Bit(kind)) != 0; }

private:
    static constexpr uint32_t Bit(BlockKind kind) { return uint32_t(1) << static_cast<unsigned>(kind); }
    uint32_t bits_ = 0;
};
static_assert(kBlockKindCount <= 32, "BlockKinds holds one bit per kind");
