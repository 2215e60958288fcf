// Writes the project's sample NIF 4.0.0.2 files into the folder given on the
// command line:
//   crate.nif           a textured crate: one shape, a material, a texture
//   shared_texture.nif  two planks whose shapes share one texturing and one
//                       material property (and so one texture file)
//   skinned_arm.nif     a two-bone arm skinned to UpperArm and Forearm under
//                       a "Bip01" root bone
// Usage: make_examples FOLDER     (created when missing)
// Exit status 0 when every file was written, 1 when one was not, 2 for usage.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "tests/support/nif_builder.h"

namespace {

struct Vec3 {
    float x, y, z;
};
struct Vec2 {
    float u, v;
};
struct Triangle {
    uint16_t a, b, c;
};
struct Colour {
    float r, g, b;
};

constexpr int32_t kNone = -1;

void Vector(NifBuilder& out, const Vec3& v) { out.Vector(v.x, v.y, v.z); }

void Links(NifBuilder& out, const std::vector<int32_t>& links) {
    out.Long(static_cast<int32_t>(links.size()));
    for (int32_t link : links) out.Long(link);
}

// Name, extra data, controller, flags, translation, rotation, scale,
// velocity and properties: the head that nodes and shapes share.
void ObjectHead(NifBuilder& out, const std::string& name, const Vec3& translation, const std::vector<int32_t>& properties) {
    out.String(name);
    out.Long(kNone);
    out.Long(kNone);
    out.Short(0x000C);
    Vector(out, translation);
    out.IdentityMatrix33();
    out.Float(1.0f);
    Vector(out, {0, 0, 0});
    Links(out, properties);
}

void Node(NifBuilder& out, const std::string& name, const Vec3& translation, const std::vector<int32_t>& children) {
    out.String("NiNode");
    ObjectHead(out, name, translation, {});
    out.Long(0);  // no bounding box
    Links(out, children);
    Links(out, {});  // no dynamic effects
}

void Shape(NifBuilder& out, const std::string& name, const std::vector<int32_t>& properties, int32_t data, int32_t skin) {
    out.String("NiTriShape");
    ObjectHead(out, name, {0, 0, 0}, properties);
    out.Long(0);
    out.Long(data);
    out.Long(skin);
}

void ShapeData(NifBuilder& out, const std::vector<Vec3>& vertices, const std::vector<Vec2>& texCoords,
               const std::vector<Triangle>& triangles) {
    out.String("NiTriShapeData");
    out.Short(static_cast<uint16_t>(vertices.size()));
    out.Long(1);
    for (const Vec3& v : vertices) Vector(out, v);
    out.Long(0);  // no normals
    Vector(out, {0, 0, 0});
    out.Float(4.0f);  // bounding sphere radius
    out.Long(0);      // no vertex colours
    out.Short(1);     // one texture coordinate set
    out.Long(1);
    for (const Vec2& t : texCoords) {
        out.Float(t.u);
        out.Float(t.v);
    }
    out.Short(static_cast<uint16_t>(triangles.size()));
    out.Long(static_cast<int32_t>(3 * triangles.size()));
    for (const Triangle& t : triangles) {
        out.Short(t.a);
        out.Short(t.b);
        out.Short(t.c);
    }
    out.Short(0);  // no match groups
}

// A texturing property with only its base slot, naming `source`.
void TexturingProperty(NifBuilder& out, int32_t source) {
    out.String("NiTexturingProperty");
    out.Long(0);  // empty name
    out.Long(kNone);
    out.Long(kNone);
    out.Short(0);
    out.Long(2);  // apply mode: modulate
    out.Long(7);
    out.Long(1);  // base slot present
    out.Long(source);
    out.Long(3);  // clamp: wrap both
    out.Long(2);  // filter: trilinear
    out.Long(0);  // UV set 0
    out.Short(0);
    out.Short(0);
    out.Short(0);
    for (int slot = 1; slot < 6; ++slot) out.Long(0);
    out.Long(0);  // no decal
}

void SourceTexture(NifBuilder& out, const std::string& fileName) {
    out.String("NiSourceTexture");
    out.String("");
    out.Long(kNone);
    out.Long(kNone);
    out.Byte(1);  // external file
    out.String(fileName);
    out.Long(3);
    out.Long(1);
    out.Long(3);
    out.Byte(1);
}

void MaterialProperty(NifBuilder& out, const std::string& name, const Colour& diffuse, float glossiness) {
    out.String("NiMaterialProperty");
    out.String(name);
    out.Long(kNone);
    out.Long(kNone);
    out.Short(1);
    const Colour colours[4] = {{diffuse.r * 0.5f, diffuse.g * 0.5f, diffuse.b * 0.5f}, diffuse, {0, 0, 0}, {0, 0, 0}};
    for (const Colour& c : colours) {
        out.Float(c.r);
        out.Float(c.g);
        out.Float(c.b);
    }
    out.Float(glossiness);
    out.Float(1.0f);
}

// An axis-aligned box from `low` to `high`, four vertices per face so that
// every face carries the whole texture.
void Box(const Vec3& low, const Vec3& high, std::vector<Vec3>& vertices, std::vector<Vec2>& texCoords,
         std::vector<Triangle>& triangles) {
    const Vec3 corner[8] = {{low.x, low.y, low.z},  {high.x, low.y, low.z},  {high.x, high.y, low.z},
                            {low.x, high.y, low.z}, {low.x, low.y, high.z},  {high.x, low.y, high.z},
                            {high.x, high.y, high.z}, {low.x, high.y, high.z}};
    const int faces[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4}, {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
    const Vec2 uv[4] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
    for (const auto& face : faces) {
        const uint16_t first = static_cast<uint16_t>(vertices.size());
        for (int k = 0; k < 4; ++k) {
            vertices.push_back(corner[face[k]]);
            texCoords.push_back(uv[k]);
        }
        triangles.push_back({first, static_cast<uint16_t>(first + 1), static_cast<uint16_t>(first + 2)});
        triangles.push_back({first, static_cast<uint16_t>(first + 2), static_cast<uint16_t>(first + 3)});
    }
}

// A box from `low` to `high` with its eight corners shared between the faces,
// as a skinned limb needs them (one weight per corner); u runs along x.
void CornerBox(const Vec3& low, const Vec3& high, std::vector<Vec3>& vertices, std::vector<Vec2>& texCoords,
               std::vector<Triangle>& triangles) {
    for (int corner = 0; corner < 8; ++corner) {
        const Vec3 v = {(corner & 1) ? high.x : low.x, (corner & 2) ? high.y : low.y, (corner & 4) ? high.z : low.z};
        vertices.push_back(v);
        texCoords.push_back({(v.x - low.x) / (high.x - low.x), (corner & 4) ? 0.0f : 1.0f});
    }
    const uint16_t faces[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    for (const auto& f : faces) {
        triangles.push_back({f[0], f[1], f[2]});
        triangles.push_back({f[0], f[2], f[3]});
    }
}

// 0 NiNode "Crate" -> 1 NiTriShape "CrateBox" (properties 2, 4; data 5)
// 2 NiTexturingProperty -> 3 NiSourceTexture "textures/crate.bmp"
// 4 NiMaterialProperty "CrateWood"
NifBuilder Crate() {
    std::vector<Vec3> vertices;
    std::vector<Vec2> texCoords;
    std::vector<Triangle> triangles;
    Box({-1, -1, 0}, {1, 1, 2}, vertices, texCoords, triangles);

    NifBuilder out;
    out.FileStart(6);
    Node(out, "Crate", {0, 0, 0}, {1});
    Shape(out, "CrateBox", {2, 4}, 5, kNone);
    TexturingProperty(out, 3);
    SourceTexture(out, "textures/crate.bmp");
    MaterialProperty(out, "CrateWood", {0.8f, 0.6f, 0.4f}, 10.0f);
    ShapeData(out, vertices, texCoords, triangles);
    out.Footer();
    return out;
}

// 0 NiNode "Fence" -> 1 NiTriShape "PlankA" (data 5), 2 NiTriShape "PlankB" (data 6)
// both with properties 3 NiTexturingProperty (-> 4 NiSourceTexture "plank.tga")
// and 7 NiMaterialProperty "Plank"
NifBuilder SharedTexture() {
    const std::vector<Vec2> quadTexCoords = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
    const std::vector<Triangle> quad = {{0, 1, 2}, {0, 2, 3}};

    NifBuilder out;
    out.FileStart(8);
    Node(out, "Fence", {0, 0, 0}, {1, 2});
    Shape(out, "PlankA", {3, 7}, 5, kNone);
    Shape(out, "PlankB", {3, 7}, 6, kNone);
    TexturingProperty(out, 4);
    SourceTexture(out, "plank.tga");
    ShapeData(out, {{0, 0, 0}, {4, 0, 0}, {4, 0, 1}, {0, 0, 1}}, quadTexCoords, quad);
    ShapeData(out, {{0, 0, 1.5f}, {4, 0, 1.5f}, {4, 0, 2.5f}, {0, 0, 2.5f}}, quadTexCoords, quad);
    MaterialProperty(out, "Plank", {0.7f, 0.7f, 0.6f}, 5.0f);
    out.Footer();
    return out;
}

// 0 NiNode "Arm" -> 1 NiNode "Bip01" (-> 2 "UpperArm" at (0, 0, 1) -> 3 "Forearm" at (2, 0, 0))
//                -> 4 NiTriShape "ArmSkin" (data 5, skin instance 6)
// 6 NiSkinInstance (data 7, root 1, bones 2 and 3), 7 NiSkinData
// The bone records hold each bone's inverse bind transform: translations
// (0, 0, -1) and (-2, 0, -1), so the bones sit at (0, 0, 1) and (2, 0, 1).
NifBuilder SkinnedArm() {
    std::vector<Vec3> vertices;
    std::vector<Vec2> texCoords;
    std::vector<Triangle> triangles;
    CornerBox({0, -0.25f, 0.75f}, {4, 0.25f, 1.25f}, vertices, texCoords, triangles);

    NifBuilder out;
    out.FileStart(8);
    Node(out, "Arm", {0, 0, 0}, {1, 4});
    Node(out, "Bip01", {0, 0, 0}, {2});
    Node(out, "UpperArm", {0, 0, 1}, {3});
    Node(out, "Forearm", {2, 0, 0}, {});
    Shape(out, "ArmSkin", {}, 5, 6);
    ShapeData(out, vertices, texCoords, triangles);

    out.String("NiSkinInstance");
    out.Long(7);
    out.Long(1);
    Links(out, {2, 3});

    out.String("NiSkinData");
    // The skin data's own transform: scale, translation, rotation.
    out.Float(1.0f);
    Vector(out, {0, 0, 0});
    out.IdentityMatrix33();
    const Vec3 bindTranslation[2] = {{0, 0, -1}, {-2, 0, -1}};
    out.Long(2);
    out.Long(kNone);
    for (int bone = 0; bone < 2; ++bone) {
        out.IdentityMatrix33();
        Vector(out, bindTranslation[bone]);
        out.Float(1.0f);
        Vector(out, {1, 0, 0});
        out.Float(1.5f);
        // Each vertex follows the bone whose half of the arm it lies in.
        std::vector<uint16_t> moved;
        for (size_t i = 0; i < vertices.size(); ++i) {
            if ((vertices[i].x < 2.0f) == (bone == 0)) moved.push_back(static_cast<uint16_t>(i));
        }
        out.Short(static_cast<uint16_t>(moved.size()));
        for (uint16_t index : moved) {
            out.Short(index);
            out.Float(1.0f);
        }
    }
    out.Footer();
    return out;
}

bool WriteFile(const std::string& path, const NifBuilder& contents) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "make_examples: cannot create %s\n", path.c_str());
        return false;
    }
    const std::vector<uint8_t>& bytes = contents.Bytes();
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        std::fprintf(stderr, "make_examples: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_examples FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);  // a failure shows when the files are written
    bool ok = WriteFile(folder + "/crate.nif", Crate());
    ok = WriteFile(folder + "/shared_texture.nif", SharedTexture()) && ok;
    ok = WriteFile(folder + "/skinned_arm.nif", SkinnedArm()) && ok;
    return ok ? 0 : 1;
}
