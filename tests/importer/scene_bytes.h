// Block writers for importer tests: each appends one whole block (type name
// and fields, in file order) to a NifBuilder, with the values a test cares
// about as arguments and plain defaults for the rest.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "tests/support/nif_builder.h"

namespace scene {

struct Point {
    float x = 0, y = 0, z = 0;
};
struct UV {
    float u = 0, v = 0;
};

// The object head of nodes and shapes: name, extra data, controller, flags,
// translation, identity rotation, scale, velocity, properties.
inline void ObjectHead(NifBuilder& nif, const std::string& name, Point translation,
                       std::initializer_list<int32_t> properties, float scale = 1.0f) {
    nif.String(name).Long(-1).Long(-1).Short(0);
    nif.Vector(translation.x, translation.y, translation.z).IdentityMatrix33().Float(scale).Vector(0, 0, 0);
    nif.LinkList(properties);
}

inline void Node(NifBuilder& nif, const std::string& name, std::initializer_list<int32_t> children,
                 Point translation = {}, std::initializer_list<int32_t> properties = {}) {
    nif.TypeName("NiNode");
    ObjectHead(nif, name, translation, properties);
    nif.Long(0).LinkList(children).LinkList({});
}

// NiBSAnimationNode, NiBSParticleNode: a node head, Unknown_2 = 0, children, effects.
inline void OtherNode(NifBuilder& nif, const std::string& type, const std::string& name,
                      std::initializer_list<int32_t> children) {
    nif.TypeName(type);
    ObjectHead(nif, name, {}, {});
    nif.Long(0).LinkList(children).LinkList({});
}

// A node with a bone record's worth of local transform: rotation and uniform scale too.
inline void TransformedNode(NifBuilder& nif, const std::string& name, std::initializer_list<int32_t> children,
                            Point translation, std::initializer_list<float> rotation, float scale) {
    nif.TypeName("NiNode");
    nif.String(name).Long(-1).Long(-1).Short(0);
    nif.Vector(translation.x, translation.y, translation.z).Floats(rotation).Float(scale).Vector(0, 0, 0);
    nif.LinkList({}).Long(0).LinkList(children).LinkList({});
}

inline void Shape(NifBuilder& nif, const std::string& name, int32_t data, std::initializer_list<int32_t> properties = {},
                  int32_t skin = -1) {
    nif.TypeName("NiTriShape");
    ObjectHead(nif, name, {}, properties);
    nif.Long(0).Long(data).Long(skin);
}

struct Geometry {
    std::vector<Point> vertices;
    bool storeVertices = true;
    int declaredVertexCount = -1;  // -1: the number of vertices
    std::vector<std::vector<UV>> uvSets;  // each of vertices.size() entries
    int hasUVFlag = -1;                   // -1: 1 when uvSets is not empty, else 0
    std::vector<int> triangles;           // flat list, three per triangle
};

inline void ShapeData(NifBuilder& nif, const Geometry& g) {
    nif.TypeName("NiTriShapeData");
    const int count = g.declaredVertexCount >= 0 ? g.declaredVertexCount : static_cast<int>(g.vertices.size());
    nif.Short(count).Long(g.storeVertices ? 1 : 0);
    if (g.storeVertices) {
        for (const Point& p : g.vertices) nif.Vector(p.x, p.y, p.z);
    }
    nif.Long(0);                          // no normals
    nif.Vector(0, 0, 0).Float(1.0f);      // bounding sphere
    nif.Long(0);                          // no vertex colours
    const int hasUV = g.hasUVFlag >= 0 ? g.hasUVFlag : (g.uvSets.empty() ? 0 : 1);
    nif.Short(static_cast<int>(g.uvSets.size())).Long(hasUV);
    if (hasUV != 0) {
        for (const std::vector<UV>& set : g.uvSets)
            for (const UV& uv : set) nif.Float(uv.u).Float(uv.v);
    }
    const int triangleCount = static_cast<int>(g.triangles.size() / 3);
    nif.Short(triangleCount).Long(3 * triangleCount);
    for (int index : g.triangles) nif.Short(index);
    nif.Short(0);  // no match groups
}

// One triangle over three vertices, no texture coordinates.
inline Geometry Triangle(Point a, Point b, Point c) { return Geometry{{a, b, c}, true, -1, {}, -1, {0, 1, 2}}; }

// A texturing property with only the base slot, naming `source`; `source`
// of kNoSlot writes no base slot at all.
constexpr int32_t kNoSlot = -2;
inline void Texturing(NifBuilder& nif, int32_t source) {
    nif.TypeName("NiTexturingProperty");
    nif.Long(0).Long(-1).Long(-1).Short(0).Long(2).Long(7);
    if (source == kNoSlot) {
        nif.Long(0);
    } else {
        nif.Long(1).Long(source).Long(3).Long(2).Long(0).Short(0).Short(0).Short(0);
    }
    for (int slot = 1; slot < 6; ++slot) nif.Long(0);
    nif.Long(0);  // no decal
}

inline void SourceTexture(NifBuilder& nif, const std::string& fileName) {
    nif.TypeName("NiSourceTexture");
    nif.String("").Long(-1).Long(-1).Byte(1).String(fileName).Long(3).Long(1).Long(3).Byte(1);
}

struct MaterialValues {
    float ambient[3] = {0.1f, 0.2f, 0.3f};
    float diffuse[3] = {0.5f, 0.5f, 0.5f};
    float specular[3] = {0.7f, 0.8f, 0.9f};
    float emissive[3] = {0.0f, 0.25f, 0.0f};
    float glossiness = 12.5f;
    float alpha = 0.75f;
};

inline void Material(NifBuilder& nif, const std::string& name, const MaterialValues& m = {}) {
    nif.TypeName("NiMaterialProperty");
    nif.String(name).Long(-1).Long(-1).Short(1);
    for (const float* colour : {m.ambient, m.diffuse, m.specular, m.emissive}) nif.Floats({colour[0], colour[1], colour[2]});
    nif.Float(m.glossiness).Float(m.alpha);
}

inline void SkinInstance(NifBuilder& nif, int32_t data, int32_t root, std::initializer_list<int32_t> bones) {
    nif.TypeName("NiSkinInstance");
    nif.Long(data).Long(root).LinkList(bones);
}

struct BoneRecord {
    std::vector<float> rotation = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    Point translation;
};

inline void SkinData(NifBuilder& nif, const std::vector<BoneRecord>& bones) {
    nif.TypeName("NiSkinData");
    nif.Float(1.0f).Vector(0, 0, 0).IdentityMatrix33();
    nif.Long(static_cast<int32_t>(bones.size())).Long(-1);
    for (const BoneRecord& bone : bones) {
        for (float f : bone.rotation) nif.Float(f);
        nif.Vector(bone.translation.x, bone.translation.y, bone.translation.z);
        nif.Float(1.0f).Vector(0, 0, 0).Float(1.0f);
        nif.Short(0);  // no vertex weights
    }
}

}  // namespace scene
