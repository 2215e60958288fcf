// Small valid NIF files built from the reader tests' block bytes, shared by
// the hostile tests (as files to damage) and the fuzz seed writer.
#pragma once

#include "tests/reader/block_bytes.h"
#include "tests/support/nif_builder.h"

namespace generated {

// A node over a textured shape, with extra data and a keyframe controller.
inline NifBuilder TexturedShape() {
    NifBuilder nif;
    nif.FileStart(9);
    NodeBlock(nif, "Scene Root", {1}, {}, 7, 8);
    TriShapeBlock(nif, "Box", 2, -1, {3, 5, 6});
    SmallTriShapeDataBlock(nif);
    TexturingPropertyBlock(nif, 4);
    SourceTextureBlock(nif, "box.bmp");
    MaterialPropertyBlock(nif, "Material");
    ZBufferPropertyBlock(nif);
    StringExtraDataBlock(nif, -1, "sgoKeep", 11);
    KeyframeControllerBlock(nif, -1, 0, -1);
    nif.Footer();
    return nif;
}

// Nodes of the four node types nested, with backward and forward links.
inline NifBuilder NestedNodes() {
    NifBuilder nif;
    nif.FileStart(5);
    NodeBlock(nif, "Root", {2, 1});
    OtherNodeBlock(nif, "NiBSAnimationNode", "Animated", {3});
    OtherNodeBlock(nif, "RootCollisionNode", "Collision");
    OtherNodeBlock(nif, "NiBSParticleNode", "Particles", {4});
    TriShapeBlock(nif, "Shape", -1);
    nif.Footer();
    return nif;
}

}  // namespace generated
