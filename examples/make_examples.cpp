// Writes the project's sample NIF 4.0.0.2 files into the folder given on the
// command line:
//   crate.nif           a textured crate: one shape, a material, a texture
//   shared_texture.nif  two planks whose shapes share one texturing and one
//                       material property (and so one texture file)
//   skinned_arm.nif     a two-bone arm skinned to UpperArm and Forearm under
//                       a "Bip01" root bone
// Usage: make_examples FOLDER     (created when missing)
// Exit status 0 when every file was written, 1 when one was not, 2 for usage.
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "nif_builder/nif_builder.h"

namespace {

constexpr int32_t kNone = -1;

// Nodes and shapes of the sample files carry these flags.
constexpr int kObjectFlags = 0x000C;

void Node(NifBuilder& out, const std::string& name, const Point& translation, const std::vector<int32_t>& children) {
    NodeBlock(out, name, children, {}, kNone, kNone, {}, PlacedAt(translation, kObjectFlags));
}

void Shape(NifBuilder& out, const std::string& name, const std::vector<int32_t>& properties, int32_t data, int32_t skin) {
    TriShapeBlock(out, name, data, skin, properties, kNone, kNone, PlacedAt({}, kObjectFlags));
}

// Vertices with one texture coordinate set, inside a sphere of radius 4.
Geometry Mesh(const std::vector<Point>& vertices, const std::vector<UV>& texCoords, const std::vector<int>& triangles) {
    Geometry geometry;
    geometry.vertices = vertices;
    geometry.uvSets = {texCoords};
    geometry.triangles = triangles;
    geometry.radius = 4.0f;
    return geometry;
}

// The ambient colour is half the diffuse one; nothing is specular or emissive.
void MaterialProperty(NifBuilder& out, const std::string& name, const std::array<float, 3>& diffuse, float glossiness) {
    MaterialPropertyBlock(out, name, kNone, 1,
                          {.ambient = {diffuse[0] * 0.5f, diffuse[1] * 0.5f, diffuse[2] * 0.5f},
                           .diffuse = diffuse,
                           .specular = {0, 0, 0},
                           .emissive = {0, 0, 0},
                           .glossiness = glossiness,
                           .alpha = 1.0f});
}

// An external texture file (pixel layout 3, mipmaps 1, alpha format 3).
void SourceTexture(NifBuilder& out, const std::string& fileName) { SourceTextureBlock(out, fileName, 3, 1, 3); }

// An axis-aligned box from `low` to `high`, four vertices per face so that
// every face carries the whole texture.
Geometry Box(const Point& low, const Point& high) {
    const Point corner[8] = {{low.x, low.y, low.z},  {high.x, low.y, low.z},  {high.x, high.y, low.z},
                             {low.x, high.y, low.z}, {low.x, low.y, high.z},  {high.x, low.y, high.z},
                             {high.x, high.y, high.z}, {low.x, high.y, high.z}};
    const int faces[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4}, {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
    const UV uv[4] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
    std::vector<Point> vertices;
    std::vector<UV> texCoords;
    std::vector<int> triangles;
    for (const auto& face : faces) {
        const int first = static_cast<int>(vertices.size());
        for (int k = 0; k < 4; ++k) {
            vertices.push_back(corner[face[k]]);
            texCoords.push_back(uv[k]);
        }
        triangles.insert(triangles.end(), {first, first + 1, first + 2, first, first + 2, first + 3});
    }
    return Mesh(vertices, texCoords, triangles);
}

// A box from `low` to `high` with its eight corners shared between the faces,
// as a skinned limb needs them (one weight per corner); u runs along x.
Geometry CornerBox(const Point& low, const Point& high) {
    std::vector<Point> vertices;
    std::vector<UV> texCoords;
    std::vector<int> triangles;
    for (int corner = 0; corner < 8; ++corner) {
        const Point v = {(corner & 1) ? high.x : low.x, (corner & 2) ? high.y : low.y, (corner & 4) ? high.z : low.z};
        vertices.push_back(v);
        texCoords.push_back({(v.x - low.x) / (high.x - low.x), (corner & 4) ? 0.0f : 1.0f});
    }
    const int faces[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    for (const auto& f : faces) triangles.insert(triangles.end(), {f[0], f[1], f[2], f[0], f[2], f[3]});
    return Mesh(vertices, texCoords, triangles);
}

// 0 NiNode "Crate" -> 1 NiTriShape "CrateBox" (properties 2, 4; data 5)
// 2 NiTexturingProperty -> 3 NiSourceTexture "textures/crate.bmp"
// 4 NiMaterialProperty "CrateWood"
NifBuilder Crate() {
    NifBuilder out;
    out.FileStart(6);
    Node(out, "Crate", {0, 0, 0}, {1});
    Shape(out, "CrateBox", {2, 4}, 5, kNone);
    TexturingPropertyBlock(out, 3);
    SourceTexture(out, "textures/crate.bmp");
    MaterialProperty(out, "CrateWood", {0.8f, 0.6f, 0.4f}, 10.0f);
    TriShapeDataBlock(out, Box({-1, -1, 0}, {1, 1, 2}));
    out.Footer();
    return out;
}

// 0 NiNode "Fence" -> 1 NiTriShape "PlankA" (data 5), 2 NiTriShape "PlankB" (data 6)
// both with properties 3 NiTexturingProperty (-> 4 NiSourceTexture "plank.tga")
// and 7 NiMaterialProperty "Plank"
NifBuilder SharedTexture() {
    const std::vector<UV> quadTexCoords = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
    const std::vector<int> quad = {0, 1, 2, 0, 2, 3};

    NifBuilder out;
    out.FileStart(8);
    Node(out, "Fence", {0, 0, 0}, {1, 2});
    Shape(out, "PlankA", {3, 7}, 5, kNone);
    Shape(out, "PlankB", {3, 7}, 6, kNone);
    TexturingPropertyBlock(out, 4);
    SourceTexture(out, "plank.tga");
    TriShapeDataBlock(out, Mesh({{0, 0, 0}, {4, 0, 0}, {4, 0, 1}, {0, 0, 1}}, quadTexCoords, quad));
    TriShapeDataBlock(out, Mesh({{0, 0, 1.5f}, {4, 0, 1.5f}, {4, 0, 2.5f}, {0, 0, 2.5f}}, quadTexCoords, quad));
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
    const Geometry arm = CornerBox({0, -0.25f, 0.75f}, {4, 0.25f, 1.25f});

    NifBuilder out;
    out.FileStart(8);
    Node(out, "Arm", {0, 0, 0}, {1, 4});
    Node(out, "Bip01", {0, 0, 0}, {2});
    Node(out, "UpperArm", {0, 0, 1}, {3});
    Node(out, "Forearm", {2, 0, 0}, {});
    Shape(out, "ArmSkin", {}, 5, 6);
    TriShapeDataBlock(out, arm);
    SkinInstanceBlock(out, 7, 1, {2, 3});

    const Point bindTranslation[2] = {{0, 0, -1}, {-2, 0, -1}};
    std::vector<BoneRecord> bones(2);
    for (int bone = 0; bone < 2; ++bone) {
        bones[bone].translation = bindTranslation[bone];
        bones[bone].sphereCentre = {1, 0, 0};
        bones[bone].sphereRadius = 1.5f;
        // Each vertex follows the bone whose half of the arm it lies in.
        for (size_t i = 0; i < arm.vertices.size(); ++i) {
            if ((arm.vertices[i].x < 2.0f) == (bone == 0)) bones[bone].weights.emplace_back(static_cast<int>(i), 1.0f);
        }
    }
    SkinDataBlock(out, bones, kNone);
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
