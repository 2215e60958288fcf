// Shared set-up of the importer tests: a fresh stand-in model, a clean
// headless platform, and readers for what the import put into the model.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "host/msLib.h"
#include "importer/import_run.h"
#include "importer/module_state.h"
#include "mshost/model/model_control.h"
#include "nif_builder/nif_builder.h"
#include "platform/headless.h"

class ImportTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::headless::Reset();
        SetTextureDirectory("");
        ApplySceneTransforms = false;
    }
    void TearDown() override { platform::headless::Reset(); }

    // The texture directory the next imports are given.
    void SetTextureDirectory(const std::string& directory) { textureDirectory_ = directory; }

    // Runs the import of the builder's bytes into `model_` and returns what
    // the import returned (0: a mesh was added, 1: none); with
    // `applySceneTransforms` as the dialog's "Apply scene transforms" box.
    int Import(const NifBuilder& nif, bool applySceneTransforms = false) {
        TempNifFile file(nif);
        return ImportNifFile(model_.get(), file.Path().c_str(), textureDirectory_.c_str(), applySceneTransforms);
    }

    msModel* Model() { return model_.get(); }
    int MeshCount() { return msModel_GetMeshCount(Model()); }
    int MaterialCount() { return msModel_GetMaterialCount(Model()); }
    int BoneCount() { return msModel_GetBoneCount(Model()); }
    msMesh* Mesh(int i) { return msModel_GetMeshAt(Model(), i); }
    msMaterial* MaterialAt(int i) { return msModel_GetMaterialAt(Model(), i); }
    msBone* Bone(int i) { return msModel_GetBoneAt(Model(), i); }

    std::string MeshName(int i) {
        char text[256] = {};
        msMesh_GetName(Mesh(i), text, 255);
        return text;
    }
    std::string MaterialName(int i) {
        char text[256] = {};
        msMaterial_GetName(MaterialAt(i), text, 255);
        return text;
    }
    std::string TexturePath(int i) {
        char text[256] = {};
        msMaterial_GetDiffuseTexture(MaterialAt(i), text, 255);
        return text;
    }
    std::string BoneName(int i) {
        char text[256] = {};
        msBone_GetName(Bone(i), text, 255);
        return text;
    }
    std::string BoneParent(int i) {
        char text[256] = {};
        msBone_GetParentName(Bone(i), text, 255);
        return text;
    }
    std::array<float, 3> BonePosition(int i) {
        std::array<float, 3> xyz{};
        msBone_GetPosition(Bone(i), xyz.data());
        return xyz;
    }
    std::array<float, 3> BoneRotation(int i) {
        std::array<float, 3> xyz{};
        msBone_GetRotation(Bone(i), xyz.data());
        return xyz;
    }
    std::array<float, 3> Vertex(int mesh, int i) {
        std::array<float, 3> xyz{};
        msVertex_GetVertex(msMesh_GetVertexAt(Mesh(mesh), i), xyz.data());
        return xyz;
    }
    std::array<float, 2> TexCoords(int mesh, int i) {
        std::array<float, 2> uv{};
        msVertex_GetTexCoords(msMesh_GetVertexAt(Mesh(mesh), i), uv.data());
        return uv;
    }
    std::array<int, 3> TriangleIndices(int mesh, int k) {
        word abc[3] = {};
        msTriangle_GetVertexIndices(msMesh_GetTriangleAt(Mesh(mesh), k), abc);
        return {abc[0], abc[1], abc[2]};
    }
    static std::array<float, 4> Colour(void (*getter)(msMaterial*, float*), msMaterial* material) {
        std::array<float, 4> rgba{};
        getter(material, rgba.data());
        return rgba;
    }

    static const std::vector<platform::headless::RecordedMessageBox>& Boxes() {
        return platform::headless::MessageBoxes();
    }

    ModelPtr model_ = MakeModel();
    std::string textureDirectory_;
};

using Float3 = std::array<float, 3>;
using Float2 = std::array<float, 2>;
using Float4 = std::array<float, 4>;
using Index3 = std::array<int, 3>;
