// Typed link checks of ResolveLinks.
//
// A check looks at the block a link names and asks whether its kind (one per
// type name) is among those the check accepts. A mismatch is only a warning
// line on the debug printer ("Wanted <kind>, but got: " followed by the type
// name); the link stays and the load goes on. A link of -1, or one that names
// no block, is passed over silently.
#pragma once

#include <cstdint>

#include "importer/nif/file_array.h"

class BlockTable;

enum class LinkCheck {
    Child,
    DynamicEffect,
    Property,
    TimeController,
    ExtraData,
    TriShapeData,
    UVData,
    TriShape,
    SourceTexture,
    SkinInstance,
    SkinData,
    Node,
    NiKeyframeData,
    NiMorphData,
    RotatingParticlesData,
    ParticleGrowFade,
};

void CheckLink(BlockTable* owner, LinkCheck check, int32_t index);
// Applies the check to every entry in list order.
void CheckLinks(BlockTable* owner, LinkCheck check, const LinkList& links);
