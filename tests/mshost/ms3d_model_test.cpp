// .ms3d files to and from host models: vertex splitting, shared normals,
// materials and bones field by field, round trips, and failures that name
// the file and leave model and disk untouched.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "mshost/formats/ms3d_format.h"
#include "tests/mshost/ms3d_test_support.h"

namespace {

using ms3dtest::DumpModel;
using ms3dtest::ReadRecords;
using ms3dtest::TempFolder;

// Writes `file` with the (separately tested) writer.
void WriteRecords(const ms3d::File& file, const std::string& path) {
    std::string bytes, error;
    ASSERT_TRUE(ms3d::WriteFile(file, path.c_str(), &bytes, &error)) << error;
    std::ofstream(path, std::ios::binary) << bytes;
}

ms3d::Vertex At(float x, float y, float z) {
    ms3d::Vertex vertex;
    vertex.position[0] = x;
    vertex.position[1] = y;
    vertex.position[2] = z;
    return vertex;
}

ms3d::Triangle Corners(uint16_t a, uint16_t b, uint16_t c) {
    ms3d::Triangle triangle;
    triangle.vertexIndices[0] = a;
    triangle.vertexIndices[1] = b;
    triangle.vertexIndices[2] = c;
    for (auto& normal : triangle.normals) normal[2] = 1;
    return triangle;
}

void SetCorner(ms3d::Triangle* triangle, int corner, float s, float t) {
    triangle->s[corner] = s;
    triangle->t[corner] = t;
}

// Two triangles over a quad; vertex 2 is shared with the same (s, t), vertex 0
// with different (s, t) at its two corners.
ms3d::File QuadFile() {
    ms3d::File file;
    file.vertices = {At(0, 0, 0), At(1, 0, 0), At(1, 1, 0), At(0, 1, 0)};
    ms3d::Triangle first = Corners(0, 1, 2), second = Corners(2, 3, 0);
    SetCorner(&first, 0, 0, 0);
    SetCorner(&first, 1, 1, 0);
    SetCorner(&first, 2, 1, 1);
    SetCorner(&second, 0, 1, 1);
    SetCorner(&second, 1, 0, 1);
    SetCorner(&second, 2, 0.5f, 0.5f);  // vertex 0 again, other (s, t)
    second.normals[1][2] = -1;          // the only normal that differs
    file.triangles = {first, second};
    ms3d::Group group;
    group.name = "quad";
    group.triangleIndices = {0, 1};
    group.materialIndex = 0;
    file.groups = {group};
    ms3d::Material material;
    material.name = "stone";
    for (int i = 0; i < 4; ++i) {
        material.ambient[i] = 0.1f + i;
        material.diffuse[i] = 0.2f + i;
        material.specular[i] = 0.3f + i;
        material.emissive[i] = 0.4f + i;
    }
    material.shininess = 12.5f;
    material.transparency = 0.75f;
    material.texture = "maps/stone.bmp";
    material.alphaMap = "maps/stone_alpha.bmp";
    file.materials = {material};
    ms3d::Joint root, arm;
    root.name = "root";
    root.position[1] = 2;
    arm.name = "arm";
    arm.parentName = "root";
    arm.rotation[2] = 1.5f;
    arm.position[0] = -3;
    arm.rotationKeys.resize(2);
    file.joints = {root, arm};
    return file;
}

TEST(Ms3dLoad, SplitsAVertexWhoseCornersDisagreeOnTexCoords) {
    TempFolder folder;
    WriteRecords(QuadFile(), folder.Path("quad.ms3d"));
    ModelPtr model = MakeModel();
    std::string error;
    ASSERT_TRUE(LoadMs3dModel(folder.Path("quad.ms3d").c_str(), model.get(), &error)) << error;
    ASSERT_EQ(msModel_GetMeshCount(model.get()), 1);
    msMesh* mesh = msModel_GetMeshAt(model.get(), 0);
    // File vertex 0 twice (two (s, t) pairs), then 1, 2, 3: ordered by file vertex, then first use.
    ASSERT_EQ(msMesh_GetVertexCount(mesh), 5);
    const float expectedUv[5][2] = {{0, 0}, {0.5f, 0.5f}, {1, 0}, {1, 1}, {0, 1}};
    const float expectedX[5] = {0, 0, 1, 1, 0};
    for (int i = 0; i < 5; ++i) {
        float uv[2], xyz[3];
        msVertex_GetTexCoords(msMesh_GetVertexAt(mesh, i), uv);
        msVertex_GetVertex(msMesh_GetVertexAt(mesh, i), xyz);
        EXPECT_EQ(uv[0], expectedUv[i][0]) << "vertex " << i;
        EXPECT_EQ(uv[1], expectedUv[i][1]) << "vertex " << i;
        EXPECT_EQ(xyz[0], expectedX[i]) << "vertex " << i;
    }
    ASSERT_EQ(msMesh_GetTriangleCount(mesh), 2);
    word indices[3];
    msTriangle_GetVertexIndices(msMesh_GetTriangleAt(mesh, 0), indices);
    EXPECT_EQ(indices[0], 0);
    EXPECT_EQ(indices[1], 2);
    EXPECT_EQ(indices[2], 3);
    msTriangle_GetVertexIndices(msMesh_GetTriangleAt(mesh, 1), indices);
    EXPECT_EQ(indices[0], 3);
    EXPECT_EQ(indices[1], 4);
    EXPECT_EQ(indices[2], 1);
}

// Seams everywhere: few vertices and few (s, t) values, so that vertices
// split several times and their splits first appear interleaved. Every host
// vertex must still come ordered by file vertex, then by first use, and every
// corner must point at its own (vertex, s, t).
TEST(Ms3dLoad, OrdersInterleavedSplitsByFileVertexThenFirstUse) {
    TempFolder folder;
    for (unsigned seed = 1; seed <= 20; ++seed) {
        std::mt19937 random(seed);
        ms3d::File file;
        for (int v = 0; v < 12; ++v) file.vertices.push_back(At(static_cast<float>(v), 0, 0));
        ms3d::Group group;
        for (uint16_t k = 0; k < 60; ++k) {
            ms3d::Triangle triangle = Corners(static_cast<uint16_t>(random() % 12), static_cast<uint16_t>(random() % 12),
                                              static_cast<uint16_t>(random() % 12));
            for (int c = 0; c < 3; ++c) SetCorner(&triangle, c, static_cast<float>(random() % 3), k % 2 ? -0.0f : 0.0f);
            file.triangles.push_back(triangle);
            group.triangleIndices.push_back(k);
        }
        file.groups = {group};
        // The expected host vertices: (x, s, t bits) in that order.
        std::vector<std::array<uint32_t, 3>> expected;
        for (uint32_t v = 0; v < 12; ++v)
            for (const ms3d::Triangle& triangle : file.triangles)
                for (int c = 0; c < 3; ++c) {
                    const std::array<uint32_t, 3> key = {v, std::bit_cast<uint32_t>(triangle.s[c]),
                                                         std::bit_cast<uint32_t>(triangle.t[c])};
                    if (triangle.vertexIndices[c] == v && std::find(expected.begin(), expected.end(), key) == expected.end())
                        expected.push_back(key);
                }
        const std::string path = folder.Path("seams.ms3d");
        WriteRecords(file, path);
        ModelPtr model = MakeModel();
        std::string error;
        ASSERT_TRUE(LoadMs3dModel(path.c_str(), model.get(), &error)) << error;
        msMesh* mesh = msModel_GetMeshAt(model.get(), 0);
        auto hostKey = [&](int index) {
            float xyz[3], uv[2];
            msVertex_GetVertex(msMesh_GetVertexAt(mesh, index), xyz);
            msVertex_GetTexCoords(msMesh_GetVertexAt(mesh, index), uv);
            return std::array<uint32_t, 3>{static_cast<uint32_t>(xyz[0]), std::bit_cast<uint32_t>(uv[0]),
                                           std::bit_cast<uint32_t>(uv[1])};
        };
        ASSERT_EQ(msMesh_GetVertexCount(mesh), static_cast<int>(expected.size())) << "seed " << seed;
        for (int i = 0; i < msMesh_GetVertexCount(mesh); ++i) EXPECT_EQ(hostKey(i), expected[i]) << "seed " << seed;
        for (int k = 0; k < 60; ++k) {
            word indices[3];
            msTriangle_GetVertexIndices(msMesh_GetTriangleAt(mesh, k), indices);
            const ms3d::Triangle& triangle = file.triangles[k];
            for (int c = 0; c < 3; ++c)
                EXPECT_EQ(hostKey(indices[c]), (std::array<uint32_t, 3>{triangle.vertexIndices[c],
                                                                        std::bit_cast<uint32_t>(triangle.s[c]),
                                                                        std::bit_cast<uint32_t>(triangle.t[c])}))
                    << "seed " << seed << " triangle " << k;
        }
    }
}

TEST(Ms3dLoad, SharesEqualNormalsAndPointsCornersAtThem) {
    TempFolder folder;
    WriteRecords(QuadFile(), folder.Path("quad.ms3d"));
    ModelPtr model = MakeModel();
    std::string error;
    ASSERT_TRUE(LoadMs3dModel(folder.Path("quad.ms3d").c_str(), model.get(), &error)) << error;
    msMesh* mesh = msModel_GetMeshAt(model.get(), 0);
    ASSERT_EQ(msMesh_GetVertexNormalCount(mesh), 2);
    float normal[3];
    msMesh_GetVertexNormalAt(mesh, 0, normal);
    EXPECT_EQ(normal[2], 1.0f);
    msMesh_GetVertexNormalAt(mesh, 1, normal);
    EXPECT_EQ(normal[2], -1.0f);
    word indices[3];
    msTriangle_GetNormalIndices(msMesh_GetTriangleAt(mesh, 0), indices);
    EXPECT_EQ(indices[0] + indices[1] + indices[2], 0);
    msTriangle_GetNormalIndices(msMesh_GetTriangleAt(mesh, 1), indices);
    EXPECT_EQ(indices[0], 0);
    EXPECT_EQ(indices[1], 1);
    EXPECT_EQ(indices[2], 0);
}

TEST(Ms3dLoad, MapsMaterialsAndBonesFieldByField) {
    TempFolder folder;
    WriteRecords(QuadFile(), folder.Path("quad.ms3d"));
    ModelPtr model = MakeModel();
    std::string error;
    ASSERT_TRUE(LoadMs3dModel(folder.Path("quad.ms3d").c_str(), model.get(), &error)) << error;
    EXPECT_EQ(msMesh_GetMaterialIndex(msModel_GetMeshAt(model.get(), 0)), 0);
    char name[64] = {};
    msMesh_GetName(msModel_GetMeshAt(model.get(), 0), name, 63);
    EXPECT_STREQ(name, "quad");

    ASSERT_EQ(msModel_GetMaterialCount(model.get()), 1);
    msMaterial* material = msModel_GetMaterialAt(model.get(), 0);
    float rgba[4];
    msMaterial_GetAmbient(material, rgba);
    EXPECT_EQ(rgba[3], 3.1f);
    msMaterial_GetDiffuse(material, rgba);
    EXPECT_EQ(rgba[0], 0.2f);
    msMaterial_GetSpecular(material, rgba);
    EXPECT_EQ(rgba[1], 1.3f);
    msMaterial_GetEmissive(material, rgba);
    EXPECT_EQ(rgba[2], 2.4f);
    EXPECT_EQ(msMaterial_GetShininess(material), 12.5f);
    EXPECT_EQ(msMaterial_GetTransparency(material), 0.75f);
    char texture[256] = {};
    msMaterial_GetDiffuseTexture(material, texture, 255);
    EXPECT_STREQ(texture, "maps/stone.bmp");

    ASSERT_EQ(msModel_GetBoneCount(model.get()), 2);
    msBone* arm = msModel_GetBoneAt(model.get(), 1);
    char text[64] = {};
    msBone_GetName(arm, text, 63);
    EXPECT_STREQ(text, "arm");
    msBone_GetParentName(arm, text, 63);
    EXPECT_STREQ(text, "root");
    float xyz[3];
    msBone_GetPosition(arm, xyz);
    EXPECT_EQ(xyz[0], -3.0f);
    msBone_GetRotation(arm, xyz);
    EXPECT_EQ(xyz[2], 1.5f);
}

TEST(Ms3dLoad, GroupTakesOnlyTheVerticesItsTrianglesUse) {
    ms3d::File file = QuadFile();
    file.vertices.push_back(At(9, 9, 9));  // used by no triangle
    file.groups[0].triangleIndices = {0};   // a triangle belongs to one group
    ms3d::Group second;
    second.name = "second";
    second.triangleIndices = {1};
    file.groups.push_back(second);
    TempFolder folder;
    WriteRecords(file, folder.Path("two.ms3d"));
    ModelPtr model = MakeModel();
    std::string error;
    ASSERT_TRUE(LoadMs3dModel(folder.Path("two.ms3d").c_str(), model.get(), &error)) << error;
    ASSERT_EQ(msModel_GetMeshCount(model.get()), 2);
    msMesh* mesh = msModel_GetMeshAt(model.get(), 1);
    EXPECT_EQ(msMesh_GetVertexCount(mesh), 3);
    EXPECT_EQ(msMesh_GetTriangleCount(mesh), 1);
    EXPECT_EQ(msMesh_GetMaterialIndex(mesh), -1);
}

TEST(Ms3dLoad, PlacesMaterialsAfterThoseTheModelHolds) {
    TempFolder folder;
    WriteRecords(QuadFile(), folder.Path("quad.ms3d"));
    ModelPtr model = MakeModel();
    msModel_AddMaterial(model.get());
    std::string error;
    ASSERT_TRUE(LoadMs3dModel(folder.Path("quad.ms3d").c_str(), model.get(), &error)) << error;
    EXPECT_EQ(msModel_GetMaterialCount(model.get()), 2);
    EXPECT_EQ(msMesh_GetMaterialIndex(msModel_GetMeshAt(model.get(), 0)), 1);
}

TEST(Ms3dLoad, RejectsABadFileAndLeavesTheModelAsItWas) {
    TempFolder folder;
    std::string path = folder.Path("cut.ms3d");
    std::string bytes, error;
    ASSERT_TRUE(ms3d::WriteFile(QuadFile(), "x", &bytes, &error));
    std::ofstream(path, std::ios::binary) << bytes.substr(0, 100);
    ModelPtr model = MakeModel();
    msModel_AddMesh(model.get());
    std::string before = DumpModel(model.get());
    EXPECT_FALSE(LoadMs3dModel(path.c_str(), model.get(), &error));
    EXPECT_EQ(error, path + ": truncated at offset 78: 140 bytes for 2 triangles, but only 22 left");
    EXPECT_EQ(DumpModel(model.get()), before);
}

// 21846 triangles over vertices 0, 1, 2 give 65538 corners; `distinct`
// makes every corner differ in (s, t) or in its normal.
ms3d::File CrowdedGroup(bool distinctTexCoords) {
    ms3d::File file;
    file.vertices = {At(0, 0, 0), At(1, 0, 0), At(0, 1, 0)};
    ms3d::Group group;
    for (int k = 0; k < 21846; ++k) {
        ms3d::Triangle triangle = Corners(0, 1, 2);
        for (int c = 0; c < 3; ++c) {
            float value = static_cast<float>(3 * k + c);
            if (distinctTexCoords)
                triangle.s[c] = value;
            else
                triangle.normals[c][0] = value;
        }
        group.triangleIndices.push_back(static_cast<uint16_t>(k));
        file.triangles.push_back(triangle);
    }
    file.groups = {group};
    return file;
}

TEST(Ms3dLoad, RejectsAGroupPastTheMeshLimits) {
    TempFolder folder;
    std::string path = folder.Path("crowded.ms3d");
    ModelPtr model = MakeModel();
    std::string error;
    WriteRecords(CrowdedGroup(true), path);
    EXPECT_FALSE(LoadMs3dModel(path.c_str(), model.get(), &error));
    EXPECT_EQ(error, path + ": group 0 needs 65538 vertices once split by texture coordinates; "
                            "a mesh holds at most 65536");
    WriteRecords(CrowdedGroup(false), path);
    EXPECT_FALSE(LoadMs3dModel(path.c_str(), model.get(), &error));
    EXPECT_EQ(error, path + ": group 0 has more distinct normals than a mesh holds (65536)");
    EXPECT_EQ(msModel_GetMeshCount(model.get()), 0);
}

TEST(Ms3dLoad, RejectsAMissingFileNamingIt) {
    TempFolder folder;
    std::string path = folder.Path("absent.ms3d");
    ModelPtr model = MakeModel();
    std::string error;
    EXPECT_FALSE(LoadMs3dModel(path.c_str(), model.get(), &error));
    EXPECT_EQ(error, "cannot open '" + path + "': No such file or directory");
}

TEST(Ms3dRoundTrip, ModelToFileToModelIsIdentical) {
    TempFolder folder;
    WriteRecords(QuadFile(), folder.Path("quad.ms3d"));
    ModelPtr first = MakeModel();
    std::string error;
    ASSERT_TRUE(LoadMs3dModel(folder.Path("quad.ms3d").c_str(), first.get(), &error)) << error;
    // Texts with bytes above 0x7E, -0.0 and a NaN survive too.
    msMaterial_SetName(msModel_GetMaterialAt(first.get(), 0), "st\xC3\xA9n\x7F");
    float odd[3] = {-0.0f, std::bit_cast<float>(0x7FC00001u), 1e-40f};
    msVertex_SetVertex(msMesh_GetVertexAt(msModel_GetMeshAt(first.get(), 0), 4), odd);
    // A mesh whose triangles use its vertices in reverse order keeps that order.
    msMesh* reversed = msModel_GetMeshAt(first.get(), msModel_AddMesh(first.get()));
    for (int i = 0; i < 3; ++i) {
        float xyz[3] = {static_cast<float>(i), 0, 0}, uv[2] = {0, static_cast<float>(i)};
        msVertex* vertex = msMesh_GetVertexAt(reversed, msMesh_AddVertex(reversed));
        msVertex_SetVertex(vertex, xyz);
        msVertex_SetTexCoords(vertex, uv);
    }
    msMesh_SetVertexNormalAt(reversed, msMesh_AddVertexNormal(reversed), odd);
    word indices[3] = {2, 1, 0}, normals[3] = {0, 0, 0};
    msTriangle* triangle = msMesh_GetTriangleAt(reversed, msMesh_AddTriangle(reversed));
    msTriangle_SetVertexIndices(triangle, indices);
    msTriangle_SetNormalIndices(triangle, normals);
    ASSERT_TRUE(SaveMs3dModel(folder.Path("saved.ms3d").c_str(), first.get(), &error)) << error;
    ModelPtr second = MakeModel();
    ASSERT_TRUE(LoadMs3dModel(folder.Path("saved.ms3d").c_str(), second.get(), &error)) << error;
    EXPECT_EQ(DumpModel(second.get()), DumpModel(first.get()));
}

TEST(Ms3dRoundTrip, FileToModelToFileKeepsEveryMappedField) {
    TempFolder folder;
    ms3d::File original = QuadFile();
    WriteRecords(original, folder.Path("quad.ms3d"));
    ModelPtr model = MakeModel();
    std::string error;
    ASSERT_TRUE(LoadMs3dModel(folder.Path("quad.ms3d").c_str(), model.get(), &error)) << error;
    ASSERT_TRUE(SaveMs3dModel(folder.Path("saved.ms3d").c_str(), model.get(), &error)) << error;
    ms3d::File saved = ReadRecords(folder.Path("saved.ms3d"));
    EXPECT_EQ(ms3dtest::MappedFields(saved), ms3dtest::MappedFields(original));
    // The split vertex became two file vertices.
    EXPECT_EQ(saved.vertices.size(), 5u);
}

TEST(Ms3dSave, CutsTheTexturePathTo127Characters) {
    ModelPtr model = MakeModel();
    msMaterial* material = msModel_GetMaterialAt(model.get(), msModel_AddMaterial(model.get()));
    std::string path(200, 'p');
    msMaterial_SetDiffuseTexture(material, path.c_str());
    TempFolder folder;
    std::string error;
    ASSERT_TRUE(SaveMs3dModel(folder.Path("long.ms3d").c_str(), model.get(), &error)) << error;
    ms3d::File saved = ReadRecords(folder.Path("long.ms3d"));
    ASSERT_EQ(saved.materials.size(), 1u);
    EXPECT_EQ(saved.materials[0].texture, std::string(127, 'p'));
    EXPECT_EQ(std::filesystem::file_size(folder.Path("long.ms3d")), 36u + ms3d::kMaterialSize);
}

TEST(Ms3dSave, WritesTheZeroNormalForAnIndexPastTheList) {
    // What an imported mesh looks like: triangles but no normals.
    ModelPtr model = MakeModel();
    msMesh* mesh = msModel_GetMeshAt(model.get(), msModel_AddMesh(model.get()));
    for (int i = 0; i < 3; ++i) msMesh_AddVertex(mesh);
    word indices[3] = {0, 1, 2}, normals[3] = {0, 5, 9};
    msTriangle* triangle = msMesh_GetTriangleAt(mesh, msMesh_AddTriangle(mesh));
    msTriangle_SetVertexIndices(triangle, indices);
    msTriangle_SetNormalIndices(triangle, normals);
    TempFolder folder;
    std::string error;
    ASSERT_TRUE(SaveMs3dModel(folder.Path("bare.ms3d").c_str(), model.get(), &error)) << error;
    ms3d::File saved = ReadRecords(folder.Path("bare.ms3d"));
    ASSERT_EQ(saved.triangles.size(), 1u);
    for (const float* normal : saved.triangles[0].normals) {
        EXPECT_EQ(normal[0], 0.0f);
        EXPECT_EQ(normal[1], 0.0f);
        EXPECT_EQ(normal[2], 0.0f);
    }
    EXPECT_EQ(saved.vertices[1].referenceCount, 1);
    EXPECT_EQ(saved.groups[0].materialIndex, -1);
}

TEST(Ms3dSave, RefusesAModelTheFormatCannotHoldAndWritesNothing) {
    TempFolder folder;
    std::string path = folder.Path("bad.ms3d");
    std::string error;

    ModelPtr material = MakeModel();
    msMesh_SetMaterialIndex(msModel_GetMeshAt(material.get(), msModel_AddMesh(material.get())), 2);
    EXPECT_FALSE(SaveMs3dModel(path.c_str(), material.get(), &error));
    EXPECT_EQ(error, path + ": mesh 0 uses material 2, but the model has 0 materials");

    ModelPtr vertex = MakeModel();
    msMesh* mesh = msModel_GetMeshAt(vertex.get(), msModel_AddMesh(vertex.get()));
    msMesh_AddVertex(mesh);
    word indices[3] = {0, 0, 1};
    msTriangle_SetVertexIndices(msMesh_GetTriangleAt(mesh, msMesh_AddTriangle(mesh)), indices);
    EXPECT_FALSE(SaveMs3dModel(path.c_str(), vertex.get(), &error));
    EXPECT_EQ(error, path + ": mesh 0 triangle 0 uses vertex 1, but the mesh has 1 vertices");

    ModelPtr many = MakeModel();
    for (int i = 0; i < 257; ++i) msModel_AddMesh(many.get());
    EXPECT_FALSE(SaveMs3dModel(path.c_str(), many.get(), &error));
    EXPECT_EQ(error, path + ": the model has 257 meshes; an .ms3d file holds 256 at most");

    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(std::filesystem::is_empty(std::filesystem::path(path).parent_path()));
}

TEST(Ms3dSave, LeavesTheTargetAloneWhenItCannotWrite) {
    TempFolder folder;
    std::string path = folder.Path("missing-folder/out.ms3d");
    ModelPtr model = MakeModel();
    std::string error;
    EXPECT_FALSE(SaveMs3dModel(path.c_str(), model.get(), &error));
    EXPECT_EQ(error, "cannot create '" + path + "': No such file or directory");
}

TEST(Ms3dSave, Accepts256MeshesEachNamingItsGroup) {
    ModelPtr model = MakeModel();
    for (int i = 0; i < 256; ++i) {
        msMesh* mesh = msModel_GetMeshAt(model.get(), msModel_AddMesh(model.get()));
        for (int v = 0; v < 3; ++v) msMesh_AddVertex(mesh);
        word indices[3] = {0, 1, 2};
        msTriangle_SetVertexIndices(msMesh_GetTriangleAt(mesh, msMesh_AddTriangle(mesh)), indices);
    }
    TempFolder folder;
    std::string error;
    ASSERT_TRUE(SaveMs3dModel(folder.Path("many.ms3d").c_str(), model.get(), &error)) << error;
    ms3d::File saved = ReadRecords(folder.Path("many.ms3d"));
    ASSERT_EQ(saved.triangles.size(), 256u);
    EXPECT_EQ(saved.triangles[255].groupIndex, 255);
    EXPECT_EQ(saved.triangles[255].vertexIndices[2], 767);
    EXPECT_EQ(saved.groups[255].triangleIndices, std::vector<uint16_t>{255});
}

}  // namespace
