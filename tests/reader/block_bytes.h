// Bytes of common blocks for reader tests, with neutral field values.
//
// Each function appends one whole block, type name included, so a test file
// is a FileStart, a few of these, and a Footer.
#pragma once

#include <initializer_list>
#include <string_view>

#include "tests/support/nif_builder.h"

// Object record fields 1-9: name, extra data, controller, flags, identity
// placement with scale 1, zero velocity, property list.
inline NifBuilder& ObjectHead(NifBuilder& b, std::string_view name, std::initializer_list<int32_t> properties = {},
                              int32_t extraData = -1, int32_t controller = -1) {
    return b.String(name).Long(extraData).Long(controller).Short(0).Vector(0, 0, 0).IdentityMatrix33().Float(1).Vector(0, 0, 0).LinkList(
        properties);
}

inline NifBuilder& NodeBlock(NifBuilder& b, std::string_view name, std::initializer_list<int32_t> children = {},
                             std::initializer_list<int32_t> properties = {}, int32_t extraData = -1, int32_t controller = -1,
                             std::initializer_list<int32_t> effects = {}) {
    b.TypeName("NiNode");
    ObjectHead(b, name, properties, extraData, controller);
    return b.Long(0).LinkList(children).LinkList(effects);
}

// NiBSAnimationNode, NiBSParticleNode or RootCollisionNode (no bounding box).
inline NifBuilder& OtherNodeBlock(NifBuilder& b, std::string_view typeName, std::string_view name,
                                  std::initializer_list<int32_t> children = {}) {
    b.TypeName(typeName);
    ObjectHead(b, name);
    return b.Long(0).LinkList(children).LinkList({});
}

inline NifBuilder& TriShapeBlock(NifBuilder& b, std::string_view name, int32_t data, int32_t skin = -1,
                                 std::initializer_list<int32_t> properties = {}, int32_t extraData = -1, int32_t controller = -1) {
    b.TypeName("NiTriShape");
    ObjectHead(b, name, properties, extraData, controller);
    return b.Long(0).Long(data).Long(skin);
}

// A triangle (0, 1, 2) over three vertices (0,0,0), (1,0,0), (0,1,0) with one UV set.
inline NifBuilder& SmallTriShapeDataBlock(NifBuilder& b) {
    b.TypeName("NiTriShapeData").Short(3);
    b.Long(1).Vector(0, 0, 0).Vector(1, 0, 0).Vector(0, 1, 0);
    b.Long(0);                              // no normals
    b.Vector(0, 0, 0).Float(1);             // bounding sphere
    b.Long(0);                              // no vertex colours
    b.Short(1).Long(1).Floats({0, 0, 1, 0, 0, 1});
    b.Short(1).Long(3).Short(0).Short(1).Short(2);
    return b.Short(0);                      // no match groups
}

inline NifBuilder& SourceTextureBlock(NifBuilder& b, std::string_view fileName) {
    return b.TypeName("NiSourceTexture").String("").Long(-1).Long(-1).Byte(1).String(fileName).Long(6).Long(1).Long(2).Byte(1);
}

inline NifBuilder& TextureSlotBytes(NifBuilder& b, int32_t source) {
    return b.Long(source).Long(3).Long(2).Long(0).Short(0).Short(0).Short(0);
}

// A texturing property with only the base slot.
inline NifBuilder& TexturingPropertyBlock(NifBuilder& b, int32_t baseSource, int32_t controller = -1) {
    b.TypeName("NiTexturingProperty").Long(0).Long(-1).Long(controller).Short(0).Long(2).Long(7);
    b.Long(1);
    TextureSlotBytes(b, baseSource);
    for (int slot = 1; slot < 6; ++slot) b.Long(0);
    return b.Long(0);
}

inline NifBuilder& MaterialPropertyBlock(NifBuilder& b, std::string_view name, int32_t controller = -1, int flags = 1) {
    b.TypeName("NiMaterialProperty").String(name).Long(-1).Long(controller).Short(flags);
    b.Floats({0.1f, 0.2f, 0.3f}).Floats({0.4f, 0.5f, 0.6f}).Floats({0.7f, 0.8f, 0.9f}).Floats({0.0f, 0.5f, 1.0f});
    return b.Float(10).Float(0.75f);
}

inline NifBuilder& ZBufferPropertyBlock(NifBuilder& b) {
    return b.TypeName("NiZBufferProperty").String("").Long(-1).Long(-1).Short(3);
}

// A controller record with the given links; `typeName` decides what follows.
inline NifBuilder& ControllerHead(NifBuilder& b, std::string_view typeName, int32_t next, int32_t target) {
    return b.TypeName(typeName).Long(next).Short(8).Floats({1, 0, 0, 2}).Long(target);
}

inline NifBuilder& KeyframeControllerBlock(NifBuilder& b, int32_t next, int32_t target, int32_t data) {
    return ControllerHead(b, "NiKeyframeController", next, target).Long(data);
}

inline NifBuilder& StringExtraDataBlock(NifBuilder& b, int32_t next, std::string_view text, int32_t storedLength) {
    return b.TypeName("NiStringExtraData").Long(next).Long(storedLength).String(text);
}
