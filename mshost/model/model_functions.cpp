// Model, mesh, vertex and triangle functions of the stand-in model library.
// Null handles and out-of-range indices never crash: adders give -1, lookups
// give null, counts and getters give zeros.
#include "host/msLib.h"
#include "mshost/model/model_items.h"

using model_items::CopyFloats;
using model_items::CopyText;

// The helpers stay outside the extern "C" block: inside it they would get C
// linkage and be called through the library's symbol table on every add.
namespace {

size_t Limit(bool hostLimits, size_t hostMax) { return hostLimits ? hostMax : kUnlimitedItems; }

// Adds a default item to a list of `mesh`, which belongs to a model.
template <class T>
int AddMeshItem(msMesh* mesh, ItemList<T>& items, size_t hostMax) {
    ModelStorage& storage = *mesh->storage;
    return model_items::AddItem(items, Limit(storage.hostLimits, hostMax), storage.arena);
}

void CopyIndices(word* target, const word* source) {
    if (!target || !source) return;
    for (int i = 0; i < 3; ++i) target[i] = source[i];
}

}  // namespace

extern "C" {

int msModel_AddMesh(msModel* model) {
    if (!model) return -1;
    ModelStorage& storage = model->storage;
    const int index = model_items::AddItem(model->meshes, Limit(storage.hostLimits, kHostMaxMeshes), storage.arena);
    if (index >= 0) model->meshes[static_cast<size_t>(index)].storage = &storage;
    return index;
}
int msModel_AddMaterial(msModel* model) {
    if (!model) return -1;
    return model_items::AddItem(model->materials, Limit(model->storage.hostLimits, kHostMaxMaterials), model->storage.arena);
}
int msModel_AddBone(msModel* model) {
    if (!model) return -1;
    return model_items::AddItem(model->bones, Limit(model->storage.hostLimits, kHostMaxBones), model->storage.arena);
}
int msMesh_AddVertex(msMesh* mesh) {
    return mesh ? AddMeshItem(mesh, mesh->vertices, kHostMaxVertices) : -1;
}
int msMesh_AddTriangle(msMesh* mesh) {
    return mesh ? AddMeshItem(mesh, mesh->triangles, kHostMaxTriangles) : -1;
}

int msMesh_AddVertexNormal(msMesh* mesh) {
    if (!mesh || mesh->normals.size() >= kUnlimitedItems) return -1;
    mesh->normals.emplace_back();
    return static_cast<int>(mesh->normals.size() - 1);
}

msMesh* msModel_GetMeshAt(msModel* model, int index) { return model ? model_items::ItemAt(model->meshes, index) : nullptr; }
msMaterial* msModel_GetMaterialAt(msModel* model, int index) {
    return model ? model_items::ItemAt(model->materials, index) : nullptr;
}
msBone* msModel_GetBoneAt(msModel* model, int index) { return model ? model_items::ItemAt(model->bones, index) : nullptr; }
msVertex* msMesh_GetVertexAt(msMesh* mesh, int index) { return mesh ? model_items::ItemAt(mesh->vertices, index) : nullptr; }
msTriangle* msMesh_GetTriangleAt(msMesh* mesh, int index) {
    return mesh ? model_items::ItemAt(mesh->triangles, index) : nullptr;
}

int msModel_GetMeshCount(msModel* model) { return model ? static_cast<int>(model->meshes.size()) : 0; }
int msModel_GetMaterialCount(msModel* model) { return model ? static_cast<int>(model->materials.size()) : 0; }
int msModel_GetBoneCount(msModel* model) { return model ? static_cast<int>(model->bones.size()) : 0; }
int msMesh_GetVertexCount(msMesh* mesh) { return mesh ? static_cast<int>(mesh->vertices.size()) : 0; }
int msMesh_GetTriangleCount(msMesh* mesh) { return mesh ? static_cast<int>(mesh->triangles.size()) : 0; }
int msMesh_GetVertexNormalCount(msMesh* mesh) { return mesh ? static_cast<int>(mesh->normals.size()) : 0; }

void msMesh_SetName(msMesh* mesh, const char* name) {
    if (mesh) model_items::SetText(mesh->name, name, kMaxNameLength);
}
void msMesh_GetName(msMesh* mesh, char* name, int max) { CopyText(mesh ? mesh->name : std::string(), name, max); }
void msMesh_SetMaterialIndex(msMesh* mesh, int index) {
    if (mesh) mesh->materialIndex = index;
}
int msMesh_GetMaterialIndex(msMesh* mesh) { return mesh ? mesh->materialIndex : 0; }

void msMesh_SetVertexNormalAt(msMesh* mesh, int normalIndex, float* normal) {
    if (!mesh || normalIndex < 0 || static_cast<size_t>(normalIndex) >= mesh->normals.size()) return;
    CopyFloats<3>(mesh->normals[static_cast<size_t>(normalIndex)].xyz, normal);
}
void msMesh_GetVertexNormalAt(msMesh* mesh, int normalIndex, float* normal) {
    static const float kZero[3] = {0, 0, 0};
    if (!mesh || normalIndex < 0 || static_cast<size_t>(normalIndex) >= mesh->normals.size()) {
        CopyFloats<3>(normal, kZero);
        return;
    }
    CopyFloats<3>(normal, mesh->normals[static_cast<size_t>(normalIndex)].xyz);
}

void msVertex_SetVertex(msVertex* vertex, float* xyz) {
    if (vertex) CopyFloats<3>(vertex->position, xyz);
}
void msVertex_GetVertex(msVertex* vertex, float* xyz) {
    static const msVertex kEmpty;
    CopyFloats<3>(xyz, (vertex ? vertex : &kEmpty)->position);
}
void msVertex_SetTexCoords(msVertex* vertex, float* uv) {
    if (vertex) CopyFloats<2>(vertex->texCoords, uv);
}
void msVertex_GetTexCoords(msVertex* vertex, float* uv) {
    static const msVertex kEmpty;
    CopyFloats<2>(uv, (vertex ? vertex : &kEmpty)->texCoords);
}

void msTriangle_SetVertexIndices(msTriangle* triangle, word* indices) {
    if (triangle) CopyIndices(triangle->vertexIndices, indices);
}
void msTriangle_GetVertexIndices(msTriangle* triangle, word* indices) {
    static const msTriangle kEmpty;
    CopyIndices(indices, (triangle ? triangle : &kEmpty)->vertexIndices);
}
void msTriangle_SetNormalIndices(msTriangle* triangle, word* indices) {
    if (triangle) CopyIndices(triangle->normalIndices, indices);
}
void msTriangle_GetNormalIndices(msTriangle* triangle, word* indices) {
    static const msTriangle kEmpty;
    CopyIndices(indices, (triangle ? triangle : &kEmpty)->normalIndices);
}

void msModel_Destroy(msModel* model) {
    if (!model) return;
    ++model->destroyCount;
    // Swapping with empty lists releases the item storage too, not just the items.
    decltype(model->meshes)().swap(model->meshes);
    decltype(model->materials)().swap(model->materials);
    decltype(model->bones)().swap(model->bones);
    // No item is left in the arena's chunks.
    model->storage.arena.Release();
}

}  // extern "C"
