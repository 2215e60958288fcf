// The stand-in model library must behave like the host's: defaults of new
// items, indices, stable handles, copying setters, text limits, the getters'
// terminator rule, null safety and msModel_Destroy.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/msLib.h"
#include "mshost/model/model_control.h"
#include "mshost/model/model_items.h"

namespace {

class ModelLibrary : public ::testing::Test {
protected:
    ModelPtr model = MakeModel();
};

TEST_F(ModelLibrary, NewModelIsEmpty) {
    EXPECT_EQ(msModel_GetMeshCount(model.get()), 0);
    EXPECT_EQ(msModel_GetMaterialCount(model.get()), 0);
    EXPECT_EQ(msModel_GetBoneCount(model.get()), 0);
    EXPECT_EQ(msModel_GetDestroyCount(model.get()), 0);
}

TEST_F(ModelLibrary, AddedItemsAreReachableByTheirIndexAtOnce) {
    EXPECT_EQ(msModel_AddMesh(model.get()), 0);
    EXPECT_EQ(msModel_AddMesh(model.get()), 1);
    EXPECT_EQ(msModel_AddMaterial(model.get()), 0);
    EXPECT_EQ(msModel_AddBone(model.get()), 0);
    msMesh* mesh = msModel_GetMeshAt(model.get(), 1);
    ASSERT_NE(mesh, nullptr);
    EXPECT_NE(mesh, msModel_GetMeshAt(model.get(), 0));
    EXPECT_EQ(msMesh_AddVertex(mesh), 0);
    EXPECT_EQ(msMesh_AddVertex(mesh), 1);
    EXPECT_EQ(msMesh_AddTriangle(mesh), 0);
    EXPECT_EQ(msMesh_AddVertexNormal(mesh), 0);
    EXPECT_EQ(msMesh_GetVertexCount(mesh), 2);
    EXPECT_EQ(msMesh_GetTriangleCount(mesh), 1);
    EXPECT_EQ(msMesh_GetVertexNormalCount(mesh), 1);
    EXPECT_NE(msMesh_GetVertexAt(mesh, 1), nullptr);
    EXPECT_NE(msMesh_GetTriangleAt(mesh, 0), nullptr);
}

TEST_F(ModelLibrary, HandlesStayValidWhileItemsAreAdded) {
    msMesh* first = msModel_GetMeshAt(model.get(), msModel_AddMesh(model.get()));
    msVertex* vertex = msMesh_GetVertexAt(first, msMesh_AddVertex(first));
    float xyz[3] = {1, 2, 3};
    msVertex_SetVertex(vertex, xyz);
    for (int i = 0; i < 1000; ++i) {
        msModel_AddMesh(model.get());
        msMesh_AddVertex(first);
    }
    EXPECT_EQ(msModel_GetMeshAt(model.get(), 0), first);
    EXPECT_EQ(msMesh_GetVertexAt(first, 0), vertex);
    float out[3];
    msVertex_GetVertex(vertex, out);
    EXPECT_EQ(out[2], 3.0f);
}

// 70,000 items reach the big chunks that come straight from the system and
// are not constructed item by item: they too must start at the defaults.
TEST_F(ModelLibrary, EveryIndexKeepsItsOwnItemAcrossStorageChunks) {
    constexpr int kCount = 70000;
    msMesh* mesh = msModel_GetMeshAt(model.get(), msModel_AddMesh(model.get()));
    std::vector<msTriangle*> handles;
    for (int i = 0; i < kCount; ++i) {
        const int index = msMesh_AddTriangle(mesh);
        ASSERT_EQ(index, i);
        msTriangle* triangle = msMesh_GetTriangleAt(mesh, index);
        word fresh[3] = {1, 1, 1};
        msTriangle_GetNormalIndices(triangle, fresh);
        ASSERT_EQ(fresh[0] | fresh[1] | fresh[2], 0) << i;
        word indices[3] = {static_cast<word>(i), static_cast<word>(i + 1), static_cast<word>(i + 2)};
        msTriangle_SetVertexIndices(triangle, indices);
        handles.push_back(triangle);

        msVertex* vertex = msMesh_GetVertexAt(mesh, msMesh_AddVertex(mesh));
        float xyz[3] = {1, 1, 1};
        float uv[2] = {1, 1};
        msVertex_GetVertex(vertex, xyz);
        msVertex_GetTexCoords(vertex, uv);
        ASSERT_TRUE(xyz[0] == 0 && xyz[1] == 0 && xyz[2] == 0 && uv[0] == 0 && uv[1] == 0) << i;
    }
    for (int i = 0; i < kCount; ++i) {
        ASSERT_EQ(msMesh_GetTriangleAt(mesh, i), handles[static_cast<size_t>(i)]) << i;
        word indices[3];
        msTriangle_GetVertexIndices(handles[static_cast<size_t>(i)], indices);
        ASSERT_EQ(indices[0], static_cast<word>(i));
        ASSERT_EQ(indices[2], static_cast<word>(i + 2));
    }
    EXPECT_EQ(msMesh_GetTriangleCount(mesh), kCount);
    EXPECT_EQ(msMesh_GetTriangleAt(mesh, kCount), nullptr);
}

// The big chunks of all the lists of a model are carved from the same
// regions: filling two meshes in turn, past the size of a first region
// (300,000 vertices take chunks of several MB), no list may write into
// another's items.
TEST_F(ModelLibrary, ListsFilledInTurnKeepTheirOwnItems) {
    constexpr int kVertices = 300000;
    constexpr int kTriangles = 70000;
    msMesh* first = msModel_GetMeshAt(model.get(), msModel_AddMesh(model.get()));
    msMesh* second = msModel_GetMeshAt(model.get(), msModel_AddMesh(model.get()));
    for (int i = 0; i < kVertices; ++i) {
        float xyz[3] = {static_cast<float>(i), 1.0f, -static_cast<float>(i)};
        float uv[2] = {0.5f, static_cast<float>(i)};
        msVertex* vertex = msMesh_GetVertexAt(first, msMesh_AddVertex(first));
        ASSERT_NE(vertex, nullptr) << i;
        msVertex_SetVertex(vertex, xyz);
        msVertex_SetTexCoords(vertex, uv);
        if (i < kTriangles) {
            word indices[3] = {static_cast<word>(i), static_cast<word>(i >> 16), 7};
            msTriangle* triangle = msMesh_GetTriangleAt(second, msMesh_AddTriangle(second));
            ASSERT_NE(triangle, nullptr) << i;
            msTriangle_SetVertexIndices(triangle, indices);
            msTriangle_SetNormalIndices(triangle, indices);
        }
    }
    ASSERT_EQ(msMesh_GetVertexCount(first), kVertices);
    ASSERT_EQ(msMesh_GetTriangleCount(second), kTriangles);
    ASSERT_EQ(msMesh_GetVertexCount(second), 0);
    for (int i = 0; i < kVertices; ++i) {
        float xyz[3];
        float uv[2];
        msVertex* vertex = msMesh_GetVertexAt(first, i);
        msVertex_GetVertex(vertex, xyz);
        msVertex_GetTexCoords(vertex, uv);
        ASSERT_TRUE(xyz[0] == static_cast<float>(i) && xyz[1] == 1.0f && xyz[2] == -static_cast<float>(i)) << i;
        ASSERT_TRUE(uv[0] == 0.5f && uv[1] == static_cast<float>(i)) << i;
    }
    for (int i = 0; i < kTriangles; ++i) {
        word indices[3];
        word normals[3];
        msTriangle* triangle = msMesh_GetTriangleAt(second, i);
        msTriangle_GetVertexIndices(triangle, indices);
        msTriangle_GetNormalIndices(triangle, normals);
        ASSERT_TRUE(indices[0] == static_cast<word>(i) && indices[1] == static_cast<word>(i >> 16) && indices[2] == 7) << i;
        ASSERT_TRUE(normals[0] == indices[0] && normals[1] == indices[1] && normals[2] == 7) << i;
    }
}

// Destroy hands the big chunks back; a list as big again gets fresh storage
// whose items start at the defaults, not at what the earlier list held.
TEST_F(ModelLibrary, BigListsAfterDestroyStartFromDefaults) {
    constexpr int kCount = 70000;
    for (int round = 0; round < 2; ++round) {
        msMesh* mesh = msModel_GetMeshAt(model.get(), msModel_AddMesh(model.get()));
        for (int i = 0; i < kCount; ++i) {
            msVertex* vertex = msMesh_GetVertexAt(mesh, msMesh_AddVertex(mesh));
            float xyz[3] = {9, 9, 9};
            msVertex_GetVertex(vertex, xyz);
            ASSERT_TRUE(xyz[0] == 0 && xyz[1] == 0 && xyz[2] == 0) << "round " << round << ", vertex " << i;
            float set[3] = {1, 2, 3};
            msVertex_SetVertex(vertex, set);
        }
        msModel_Destroy(model.get());
        EXPECT_EQ(msModel_GetMeshCount(model.get()), 0);
    }
}

TEST_F(ModelLibrary, ItemsAddedAfterDestroyStartFromDefaults) {
    msMesh* mesh = msModel_GetMeshAt(model.get(), msModel_AddMesh(model.get()));
    msVertex* vertex = msMesh_GetVertexAt(mesh, msMesh_AddVertex(mesh));
    float xyz[3] = {1, 2, 3};
    msVertex_SetVertex(vertex, xyz);
    msMesh_SetMaterialIndex(mesh, 4);
    msModel_Destroy(model.get());
    EXPECT_EQ(msModel_GetMeshCount(model.get()), 0);
    msMesh* again = msModel_GetMeshAt(model.get(), msModel_AddMesh(model.get()));
    EXPECT_EQ(msMesh_GetMaterialIndex(again), -1);
    EXPECT_EQ(msMesh_GetVertexCount(again), 0);
    float out[3] = {9, 9, 9};
    msVertex_GetVertex(msMesh_GetVertexAt(again, msMesh_AddVertex(again)), out);
    EXPECT_EQ(out[0], 0.0f);
    EXPECT_EQ(out[2], 0.0f);
}

// Big chunks arrive zeroed and are not written again for items whose default
// is zero bytes; an item that defaults to anything else is still constructed.
TEST(ItemList, ItemsWithOtherDefaultsAreConstructedInBigChunks) {
    struct Scaled {
        float scale = 1.0f;
        int index = 0;
    };
    static_assert(std::is_trivially_copyable_v<Scaled> && !DefaultIsZeroBytes<Scaled>());
    ChunkArena arena;
    ItemList<Scaled> items;
    for (int i = 0; i < 5000; ++i) items.emplace_back(arena);  // 40 KB: past the heap's chunks
    for (size_t i = 0; i < items.size(); ++i) ASSERT_EQ(items[i].scale, 1.0f) << "item " << i;
}

TEST_F(ModelLibrary, OutOfRangeIndicesGiveNullHandles) {
    msMesh* mesh = msModel_GetMeshAt(model.get(), msModel_AddMesh(model.get()));
    msMesh_AddVertex(mesh);
    EXPECT_EQ(msModel_GetMeshAt(model.get(), 1), nullptr);
    EXPECT_EQ(msModel_GetMeshAt(model.get(), -1), nullptr);
    EXPECT_EQ(msModel_GetMaterialAt(model.get(), 0), nullptr);
    EXPECT_EQ(msModel_GetBoneAt(model.get(), 0), nullptr);
    EXPECT_EQ(msMesh_GetVertexAt(mesh, 1), nullptr);
    EXPECT_EQ(msMesh_GetVertexAt(mesh, -1), nullptr);
    EXPECT_EQ(msMesh_GetTriangleAt(mesh, 0), nullptr);
}

TEST_F(ModelLibrary, NewMaterialHasTheHostDefaults) {
    msMaterial* material = msModel_GetMaterialAt(model.get(), msModel_AddMaterial(model.get()));
    float rgba[4];
    msMaterial_GetAmbient(material, rgba);
    EXPECT_EQ(rgba[0], 0.2f);
    EXPECT_EQ(rgba[1], 0.2f);
    EXPECT_EQ(rgba[2], 0.2f);
    EXPECT_EQ(rgba[3], 1.0f);
    msMaterial_GetDiffuse(material, rgba);
    EXPECT_EQ(rgba[0], 0.8f);
    EXPECT_EQ(rgba[2], 0.8f);
    EXPECT_EQ(rgba[3], 1.0f);
    msMaterial_GetSpecular(material, rgba);
    EXPECT_EQ(rgba[0], 0.0f);
    EXPECT_EQ(rgba[3], 1.0f);
    msMaterial_GetEmissive(material, rgba);
    EXPECT_EQ(rgba[1], 0.0f);
    EXPECT_EQ(rgba[3], 1.0f);
    EXPECT_EQ(msMaterial_GetShininess(material), 0.0f);
    EXPECT_EQ(msMaterial_GetTransparency(material), 1.0f);
    char text[8] = "xxxxxxx";
    msMaterial_GetName(material, text, 8);
    EXPECT_STREQ(text, "");
    std::strcpy(text, "xxxxxxx");
    msMaterial_GetDiffuseTexture(material, text, 8);
    EXPECT_STREQ(text, "");
}

TEST_F(ModelLibrary, NewMeshHasNoMaterialAndEmptyName) {
    msMesh* mesh = msModel_GetMeshAt(model.get(), msModel_AddMesh(model.get()));
    EXPECT_EQ(msMesh_GetMaterialIndex(mesh), -1);
    char name[4] = "xyz";
    msMesh_GetName(mesh, name, 4);
    EXPECT_STREQ(name, "");
}

TEST_F(ModelLibrary, NewVertexTriangleAndBoneAreZero) {
    msMesh* mesh = msModel_GetMeshAt(model.get(), msModel_AddMesh(model.get()));
    msVertex* vertex = msMesh_GetVertexAt(mesh, msMesh_AddVertex(mesh));
    float xyz[3] = {9, 9, 9};
    msVertex_GetVertex(vertex, xyz);
    EXPECT_EQ(xyz[0], 0.0f);
    EXPECT_EQ(xyz[2], 0.0f);
    float uv[2] = {9, 9};
    msVertex_GetTexCoords(vertex, uv);
    EXPECT_EQ(uv[0], 0.0f);
    EXPECT_EQ(uv[1], 0.0f);
    msTriangle* triangle = msMesh_GetTriangleAt(mesh, msMesh_AddTriangle(mesh));
    word indices[3] = {9, 9, 9};
    msTriangle_GetVertexIndices(triangle, indices);
    EXPECT_EQ(indices[0] + indices[1] + indices[2], 0);
    indices[1] = 9;
    msTriangle_GetNormalIndices(triangle, indices);
    EXPECT_EQ(indices[1], 0);
    msBone* bone = msModel_GetBoneAt(model.get(), msModel_AddBone(model.get()));
    float position[3] = {9, 9, 9};
    msBone_GetPosition(bone, position);
    EXPECT_EQ(position[1], 0.0f);
    msBone_GetRotation(bone, position);
    EXPECT_EQ(position[2], 0.0f);
}

TEST_F(ModelLibrary, SettersCopyTheCallersArrays) {
    msMaterial* material = msModel_GetMaterialAt(model.get(), msModel_AddMaterial(model.get()));
    float rgba[4] = {0.1f, 0.2f, 0.3f, 0.4f};
    msMaterial_SetDiffuse(material, rgba);
    rgba[0] = 7;
    float out[4];
    msMaterial_GetDiffuse(material, out);
    EXPECT_EQ(out[0], 0.1f);
    EXPECT_EQ(out[3], 0.4f);
    char name[] = "Crate";
    msMaterial_SetName(material, name);
    name[0] = 'G';
    char got[32];
    msMaterial_GetName(material, got, 32);
    EXPECT_STREQ(got, "Crate");
}

TEST_F(ModelLibrary, NamesAreCutTo31Characters) {
    const std::string longName(40, 'n');
    msMesh* mesh = msModel_GetMeshAt(model.get(), msModel_AddMesh(model.get()));
    msMaterial* material = msModel_GetMaterialAt(model.get(), msModel_AddMaterial(model.get()));
    msBone* bone = msModel_GetBoneAt(model.get(), msModel_AddBone(model.get()));
    msMesh_SetName(mesh, longName.c_str());
    msMaterial_SetName(material, longName.c_str());
    msBone_SetName(bone, longName.c_str());
    msBone_SetParentName(bone, longName.c_str());
    char buffer[64];
    msMesh_GetName(mesh, buffer, 64);
    EXPECT_EQ(std::string(buffer), std::string(31, 'n'));
    msMaterial_GetName(material, buffer, 64);
    EXPECT_EQ(std::strlen(buffer), 31u);
    msBone_GetName(bone, buffer, 64);
    EXPECT_EQ(std::strlen(buffer), 31u);
    msBone_GetParentName(bone, buffer, 64);
    EXPECT_EQ(std::strlen(buffer), 31u);
}

TEST_F(ModelLibrary, TexturePathsAreCutTo255Characters) {
    msMaterial* material = msModel_GetMaterialAt(model.get(), msModel_AddMaterial(model.get()));
    const std::string path = std::string(250, 'p') + "\\crate.bmp";
    msMaterial_SetDiffuseTexture(material, path.c_str());
    char buffer[300];
    msMaterial_GetDiffuseTexture(material, buffer, 300);
    EXPECT_EQ(std::string(buffer), path.substr(0, 255));
    const std::string exact(255, 'e');
    msMaterial_SetDiffuseTexture(material, exact.c_str());
    msMaterial_GetDiffuseTexture(material, buffer, 300);
    EXPECT_EQ(std::string(buffer), exact);
}

TEST_F(ModelLibrary, GettersAddNoTerminatorWhenTheyCut) {
    msMesh* mesh = msModel_GetMeshAt(model.get(), msModel_AddMesh(model.get()));
    msMesh_SetName(mesh, "Crate01");
    char buffer[8];
    std::memset(buffer, '#', sizeof buffer);
    msMesh_GetName(mesh, buffer, 4);
    EXPECT_EQ(std::string(buffer, 8), "Crat####");
    std::memset(buffer, '#', sizeof buffer);
    msMesh_GetName(mesh, buffer, 7);  // exactly the text: no room for the terminator
    EXPECT_EQ(std::string(buffer, 8), "Crate01#");
    std::memset(buffer, '#', sizeof buffer);
    msMesh_GetName(mesh, buffer, 8);
    EXPECT_EQ(std::string(buffer, 8), std::string("Crate01\0", 8));
    std::memset(buffer, '#', sizeof buffer);
    msMesh_GetName(mesh, buffer, 0);
    EXPECT_EQ(std::string(buffer, 8), "########");
}

TEST_F(ModelLibrary, NullTextIsStoredAsEmpty) {
    msBone* bone = msModel_GetBoneAt(model.get(), msModel_AddBone(model.get()));
    msBone_SetName(bone, "Bip01");
    msBone_SetName(bone, nullptr);
    char buffer[8] = "xxxxxxx";
    msBone_GetName(bone, buffer, 8);
    EXPECT_STREQ(buffer, "");
}

TEST_F(ModelLibrary, VertexNormalsAreSetAndReadByIndex) {
    msMesh* mesh = msModel_GetMeshAt(model.get(), msModel_AddMesh(model.get()));
    msMesh_AddVertexNormal(mesh);
    msMesh_AddVertexNormal(mesh);
    float normal[3] = {0, 0, 1};
    msMesh_SetVertexNormalAt(mesh, 1, normal);
    msMesh_SetVertexNormalAt(mesh, 2, normal);  // past the end: ignored
    float out[3] = {5, 5, 5};
    msMesh_GetVertexNormalAt(mesh, 1, out);
    EXPECT_EQ(out[2], 1.0f);
    msMesh_GetVertexNormalAt(mesh, 0, out);
    EXPECT_EQ(out[2], 0.0f);
    out[0] = 5;
    msMesh_GetVertexNormalAt(mesh, 2, out);
    EXPECT_EQ(out[0], 0.0f);
    EXPECT_EQ(msMesh_GetVertexNormalCount(mesh), 2);
}

TEST_F(ModelLibrary, NullHandlesNeverCrash) {
    EXPECT_EQ(msModel_AddMesh(nullptr), -1);
    EXPECT_EQ(msMesh_AddVertex(nullptr), -1);
    EXPECT_EQ(msMesh_AddVertexNormal(nullptr), -1);
    EXPECT_EQ(msModel_GetMeshCount(nullptr), 0);
    EXPECT_EQ(msModel_GetMeshAt(nullptr, 0), nullptr);
    EXPECT_EQ(msMesh_GetVertexCount(nullptr), 0);
    EXPECT_EQ(msMesh_GetMaterialIndex(nullptr), 0);
    float values[4] = {5, 5, 5, 5};
    msMaterial_SetAmbient(nullptr, values);
    msMaterial_GetAmbient(nullptr, values);
    EXPECT_EQ(values[0], 0.0f);
    EXPECT_EQ(values[3], 0.0f);
    EXPECT_EQ(msMaterial_GetTransparency(nullptr), 0.0f);
    values[0] = 5;
    msVertex_GetVertex(nullptr, values);
    EXPECT_EQ(values[0], 0.0f);
    char text[4] = "abc";
    msMaterial_GetDiffuseTexture(nullptr, text, 4);
    EXPECT_STREQ(text, "");
    msMesh_SetName(nullptr, "x");
    msBone_SetPosition(nullptr, values);
    msTriangle_SetVertexIndices(nullptr, nullptr);
    msModel_Destroy(nullptr);
    EXPECT_EQ(msModel_GetDestroyCount(nullptr), 0);
}

TEST_F(ModelLibrary, DestroyCountsAndLeavesAnEmptyUsableModel) {
    msModel_AddMesh(model.get());
    msModel_AddMaterial(model.get());
    msModel_AddBone(model.get());
    msModel_Destroy(model.get());
    EXPECT_EQ(msModel_GetDestroyCount(model.get()), 1);
    EXPECT_EQ(msModel_GetMeshCount(model.get()), 0);
    EXPECT_EQ(msModel_GetMaterialCount(model.get()), 0);
    EXPECT_EQ(msModel_GetBoneCount(model.get()), 0);
    EXPECT_EQ(msModel_AddMesh(model.get()), 0);
    msModel_Destroy(model.get());
    EXPECT_EQ(msModel_GetDestroyCount(model.get()), 2);
}

// Adds until the add is refused; returns how many were taken. Stops at
// `ceiling` so a limit that is not kept cannot run the test away.
template <class Add>
int FillUntilRefused(Add add, int ceiling) {
    for (int taken = 0; taken < ceiling; ++taken) {
        const int index = add();
        if (index == -1) return taken;
        EXPECT_EQ(index, taken);
    }
    return ceiling;
}

TEST_F(ModelLibrary, HostLimitsRefuseAddsPastTheHostsListSizes) {
    msModel_SetHostLimits(model.get(), 1);
    msModel* m = model.get();
    EXPECT_EQ(FillUntilRefused([&] { return msModel_AddMesh(m); }, 100000), 255);
    EXPECT_EQ(FillUntilRefused([&] { return msModel_AddMaterial(m); }, 100000), 128);
    EXPECT_EQ(FillUntilRefused([&] { return msModel_AddBone(m); }, 100000), 128);
    msMesh* mesh = msModel_GetMeshAt(m, 254);
    EXPECT_EQ(FillUntilRefused([&] { return msMesh_AddVertex(mesh); }, 100000), 65534);
    EXPECT_EQ(FillUntilRefused([&] { return msMesh_AddTriangle(mesh); }, 100000), 65534);

    // A refused add adds nothing, and refuses again.
    EXPECT_EQ(msModel_AddMesh(m), -1);
    EXPECT_EQ(msModel_GetMeshCount(m), 255);
    EXPECT_EQ(msModel_GetMeshAt(m, 255), nullptr);
    EXPECT_EQ(msModel_GetMaterialCount(m), 128);
    EXPECT_EQ(msModel_GetBoneCount(m), 128);
    EXPECT_EQ(msMesh_GetVertexCount(mesh), 65534);
    EXPECT_EQ(msMesh_GetTriangleCount(mesh), 65534);
    EXPECT_EQ(msMesh_GetVertexCount(msModel_GetMeshAt(m, 0)), 0) << "the limit is per mesh";
    EXPECT_EQ(msMesh_AddVertex(msModel_GetMeshAt(m, 0)), 0);
}

TEST_F(ModelLibrary, HostLimitsAreOffByDefaultAndCanBeTurnedOff) {
    msModel* m = model.get();
    EXPECT_EQ(FillUntilRefused([&] { return msModel_AddMesh(m); }, 300), 300);
    EXPECT_EQ(FillUntilRefused([&] { return msModel_AddMaterial(m); }, 200), 200);
    msMesh* mesh = msModel_GetMeshAt(m, 0);
    EXPECT_EQ(FillUntilRefused([&] { return msMesh_AddVertex(mesh); }, 70000), 70000);

    // Turned on over fuller lists: what is held stays, nothing more is taken;
    // turned off again: adds go on, meshes made earlier included.
    msModel_SetHostLimits(m, 1);
    EXPECT_EQ(msModel_AddMesh(m), -1);
    EXPECT_EQ(msMesh_AddVertex(mesh), -1);
    EXPECT_EQ(msModel_GetMeshCount(m), 300);
    EXPECT_EQ(msMesh_GetVertexCount(mesh), 70000);
    msModel_SetHostLimits(m, 0);
    EXPECT_EQ(msModel_AddMesh(m), 300);
    EXPECT_EQ(msMesh_AddVertex(mesh), 70000);
    msModel_SetHostLimits(nullptr, 1);  // ignored
}

}  // namespace
