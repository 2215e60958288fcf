// The host's model library, msModelLib, as the plug-ins call it.
//
// Plain C functions with the C calling convention, imported by name from
// msModelLib.dll on Windows. Handles are pointers to opaque structs that only
// the host knows. Vectors are caller-owned arrays: float[2], float[3] or
// float[4]; index triples are unsigned short[3]. Texts are zero-terminated
// on the way in; getters copy at most `max` characters and add no terminator
// when they had to cut, so callers must terminate their buffers themselves.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

typedef struct msModel msModel;
typedef struct msMesh msMesh;
typedef struct msMaterial msMaterial;
typedef struct msBone msBone;
typedef struct msVertex msVertex;
typedef struct msTriangle msTriangle;
typedef unsigned short word;

// Adding items: each returns the new item's index.
int msModel_AddMesh(msModel* model);
int msModel_AddMaterial(msModel* model);
int msModel_AddBone(msModel* model);
int msMesh_AddVertex(msMesh* mesh);
int msMesh_AddTriangle(msMesh* mesh);
int msMesh_AddVertexNormal(msMesh* mesh);

// Handles by index: null for an index that names no item.
msMesh* msModel_GetMeshAt(msModel* model, int index);
msMaterial* msModel_GetMaterialAt(msModel* model, int index);
msBone* msModel_GetBoneAt(msModel* model, int index);
msVertex* msMesh_GetVertexAt(msMesh* mesh, int index);
msTriangle* msMesh_GetTriangleAt(msMesh* mesh, int index);

// Counts.
int msModel_GetMeshCount(msModel* model);
int msModel_GetMaterialCount(msModel* model);
int msModel_GetBoneCount(msModel* model);
int msMesh_GetVertexCount(msMesh* mesh);
int msMesh_GetTriangleCount(msMesh* mesh);
int msMesh_GetVertexNormalCount(msMesh* mesh);

// Meshes.
void msMesh_SetName(msMesh* mesh, const char* name);
void msMesh_GetName(msMesh* mesh, char* name, int max);
void msMesh_SetMaterialIndex(msMesh* mesh, int index);
int msMesh_GetMaterialIndex(msMesh* mesh);
void msMesh_SetVertexNormalAt(msMesh* mesh, int normalIndex, float* normal);
void msMesh_GetVertexNormalAt(msMesh* mesh, int normalIndex, float* normal);

// Materials.
void msMaterial_SetName(msMaterial* material, const char* name);
void msMaterial_GetName(msMaterial* material, char* name, int max);
void msMaterial_SetAmbient(msMaterial* material, float* rgba);
void msMaterial_GetAmbient(msMaterial* material, float* rgba);
void msMaterial_SetDiffuse(msMaterial* material, float* rgba);
void msMaterial_GetDiffuse(msMaterial* material, float* rgba);
void msMaterial_SetSpecular(msMaterial* material, float* rgba);
void msMaterial_GetSpecular(msMaterial* material, float* rgba);
void msMaterial_SetEmissive(msMaterial* material, float* rgba);
void msMaterial_GetEmissive(msMaterial* material, float* rgba);
void msMaterial_SetShininess(msMaterial* material, float shininess);
float msMaterial_GetShininess(msMaterial* material);
void msMaterial_SetTransparency(msMaterial* material, float transparency);
float msMaterial_GetTransparency(msMaterial* material);
void msMaterial_SetDiffuseTexture(msMaterial* material, const char* path);
void msMaterial_GetDiffuseTexture(msMaterial* material, char* path, int max);

// Vertices and triangles.
void msVertex_SetVertex(msVertex* vertex, float* xyz);
void msVertex_GetVertex(msVertex* vertex, float* xyz);
void msVertex_SetTexCoords(msVertex* vertex, float* uv);
void msVertex_GetTexCoords(msVertex* vertex, float* uv);
void msTriangle_SetVertexIndices(msTriangle* triangle, word* indices);
void msTriangle_GetVertexIndices(msTriangle* triangle, word* indices);
void msTriangle_SetNormalIndices(msTriangle* triangle, word* indices);
void msTriangle_GetNormalIndices(msTriangle* triangle, word* indices);

// Bones.
void msBone_SetName(msBone* bone, const char* name);
void msBone_GetName(msBone* bone, char* name, int max);
void msBone_SetParentName(msBone* bone, const char* name);
void msBone_GetParentName(msBone* bone, char* name, int max);
void msBone_SetPosition(msBone* bone, float* xyz);
void msBone_GetPosition(msBone* bone, float* xyz);
void msBone_SetRotation(msBone* bone, float* xyz);
void msBone_GetRotation(msBone* bone, float* xyz);

// Releases the model's contents; the host calls this after a completed export.
void msModel_Destroy(msModel* model);

#ifdef __cplusplus
}
#endif
