// Builds host models for the exporter's tests through the stand-in model
// library, the same calls a host's model goes through.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/msLib.h"
#include "mshost/model/model_control.h"

struct TestColour {
    float r, g, b, a;
};

class TestModel {
public:
    TestModel() : model_(MakeModel()) {}
    msModel* get() const { return model_.get(); }

    // A material with a diffuse texture; returns its index.
    int AddMaterial(const std::string& name, const std::string& texture,
                    TestColour diffuse = {0.8f, 0.8f, 0.8f, 1.0f}) {
        const int index = msModel_AddMaterial(get());
        msMaterial* material = msModel_GetMaterialAt(get(), index);
        msMaterial_SetName(material, name.c_str());
        msMaterial_SetDiffuseTexture(material, texture.c_str());
        float rgba[4] = {diffuse.r, diffuse.g, diffuse.b, diffuse.a};
        msMaterial_SetDiffuse(material, rgba);
        return index;
    }

    // An empty mesh with a name and a material index (-1 for none).
    msMesh* AddMesh(const std::string& name, int materialIndex) {
        const int index = msModel_AddMesh(get());
        msMesh* mesh = msModel_GetMeshAt(get(), index);
        msMesh_SetName(mesh, name.c_str());
        msMesh_SetMaterialIndex(mesh, materialIndex);
        return mesh;
    }

    // A mesh with one triangle over three vertices, each with its own normal.
    msMesh* AddTriangleMesh(const std::string& name, int materialIndex) {
        msMesh* mesh = AddMesh(name, materialIndex);
        AddVertex(mesh, 0, 0, 0, 0, 0);
        AddVertex(mesh, 1, 0, 0, 1, 0);
        AddVertex(mesh, 0, 1, 0, 0, 1);
        const int n = AddNormal(mesh, 0, 0, 1);
        AddTriangle(mesh, 0, 1, 2, n, n, n);
        return mesh;
    }

    static int AddVertex(msMesh* mesh, float x, float y, float z, float u, float v) {
        const int index = msMesh_AddVertex(mesh);
        msVertex* vertex = msMesh_GetVertexAt(mesh, index);
        float xyz[3] = {x, y, z};
        float uv[2] = {u, v};
        msVertex_SetVertex(vertex, xyz);
        msVertex_SetTexCoords(vertex, uv);
        return index;
    }

    static int AddNormal(msMesh* mesh, float x, float y, float z) {
        const int index = msMesh_AddVertexNormal(mesh);
        float xyz[3] = {x, y, z};
        msMesh_SetVertexNormalAt(mesh, index, xyz);
        return index;
    }

    static int AddTriangle(msMesh* mesh, int v0, int v1, int v2, int n0, int n1, int n2) {
        const int index = msMesh_AddTriangle(mesh);
        msTriangle* triangle = msMesh_GetTriangleAt(mesh, index);
        word vertices[3] = {word(v0), word(v1), word(v2)};
        word normals[3] = {word(n0), word(n1), word(n2)};
        msTriangle_SetVertexIndices(triangle, vertices);
        msTriangle_SetNormalIndices(triangle, normals);
        return index;
    }

private:
    ModelPtr model_;
};
