// Small valid NIF files built from the reader tests' block bytes, shared by
// the hostile tests (as files to damage) and the fuzz seed writer.
#pragma once

#include "nif_builder/nif_builder.h"

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

// A particle node over rotating particles with their data, a particle
// system controller and its grow-fade modifier (types no loadable real file
// of the shared corpus holds).
inline NifBuilder Particles() {
    NifBuilder nif;
    nif.FileStart(5);
    OtherNodeBlock(nif, "NiBSParticleNode", "Particles", {1});
    nif.TypeName("NiRotatingParticles");
    ObjectHead(nif, "Sparks", {}, -1, 3);
    nif.Long(0).Long(2).Long(-1);
    nif.TypeName("NiRotatingParticlesData").Short(2).Long(1).RepeatFloat(1, 6);
    nif.Long(0).Floats({0, 0, 0, 1}).Long(0).Long(9).Short(3).Short(2).Float(1).Short(2);
    nif.Long(1).RepeatFloat(2, 10).Long(0);
    nif.TypeName("NiParticleSystemController").Long(-1).Short(0).Floats({0, 0, 0, 1}).Long(1);
    nif.RepeatFloat(0, 16).Long(0).Long(0).Long(0).Byte(0).Long(0).Long(0).Long(0).Long(0).Long(0).Float(0).Long(0).Long(0);
    nif.Short(4).Short(2).Short(4).RepeatFloat(0, 20);
    nif.Long(-1).Long(4).Long(-1).Byte(7);
    nif.TypeName("NiParticleGrowFade").Long(-1).Long(-1).Float(1).Float(2);
    nif.Footer();
    return nif;
}

}  // namespace generated
