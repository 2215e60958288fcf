// .ms3d records to and from a host model, through the model library only.
//
// The file keeps vertices globally and texture coordinates and normals per
// triangle corner; the host keeps one (u, v) per vertex, a normal list per
// mesh and normal indices per triangle. Loading therefore splits a file
// vertex whose corners carry different (s, t), and shares equal normals;
// saving writes each host vertex as its own file vertex and each corner's
// normal out of the mesh's list.
#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <map>

#include "mshost/files/file_io.h"
#include "mshost/formats/ms3d_format.h"

namespace {

constexpr size_t kMaxMeshItems = 65536;  // vertex and normal indices are 16-bit
constexpr size_t kMaxMeshes = 256;        // a triangle names its group in one byte
constexpr int kMaxMaterialIndex = 127;    // a group names its material in a signed byte
constexpr int kTextBuffer = 256;          // more than any text the host holds

std::string Message(const char* path, const std::string& what) { return std::string(path) + ": " + what; }

// Sets the one-line "<file>: <what is wrong>" message and returns false.
bool Fail(std::string* error, const char* path, const std::string& what) {
    *error = Message(path, what);
    return false;
}

std::string Describe(size_t index, const char* what) { return std::string(what) + " " + std::to_string(index); }

// ---- load ----

// One host mesh worked out in full before the model is touched, so that a
// group the host cannot hold leaves the model unchanged.
struct MeshPlan {
    const ms3d::Group* group = nullptr;
    std::vector<std::array<float, 3>> positions;
    std::vector<std::array<float, 2>> texCoords;
    std::vector<std::array<float, 3>> normals;
    std::vector<std::array<word, 3>> triangles;
    std::vector<std::array<word, 3>> triangleNormals;
};

// A file vertex with the (s, t) of one corner; bit patterns, so that equal
// means "the same stored value".
struct CornerKey {
    uint16_t vertex;
    uint32_t s, t;
    auto operator<=>(const CornerKey&) const = default;
};

using NormalKey = std::array<uint32_t, 3>;

NormalKey KeyOf(const float* normal) {
    return {std::bit_cast<uint32_t>(normal[0]), std::bit_cast<uint32_t>(normal[1]), std::bit_cast<uint32_t>(normal[2])};
}

bool PlanMesh(const ms3d::File& file, size_t groupIndex, const char* path, MeshPlan* plan, std::string* error) {
    const ms3d::Group& group = file.groups[groupIndex];
    plan->group = &group;

    // Host vertices: one per distinct (file vertex, s, t), ordered by file
    // vertex and then by first use, so a file written from a host model
    // gives its vertices back in their order.
    std::map<CornerKey, size_t> firstUse;
    for (uint16_t triangleIndex : group.triangleIndices) {
        const ms3d::Triangle& triangle = file.triangles[triangleIndex];
        for (int c = 0; c < 3; ++c) {
            CornerKey key{triangle.vertexIndices[c], std::bit_cast<uint32_t>(triangle.s[c]),
                          std::bit_cast<uint32_t>(triangle.t[c])};
            firstUse.emplace(key, firstUse.size());
        }
    }
    if (firstUse.size() > kMaxMeshItems)
        return Fail(error, path, Describe(groupIndex, "group") + " needs " + std::to_string(firstUse.size()) +
                                          " vertices once split by texture coordinates; a mesh holds at most " +
                                          std::to_string(kMaxMeshItems));
    std::vector<std::pair<CornerKey, size_t>> order(firstUse.begin(), firstUse.end());
    std::stable_sort(order.begin(), order.end(), [](const auto& a, const auto& b) {
        if (a.first.vertex != b.first.vertex) return a.first.vertex < b.first.vertex;
        return a.second < b.second;
    });
    std::map<CornerKey, word> hostIndex;
    for (const auto& [key, unused] : order) {
        hostIndex.emplace(key, static_cast<word>(plan->positions.size()));
        const ms3d::Vertex& vertex = file.vertices[key.vertex];
        plan->positions.push_back({vertex.position[0], vertex.position[1], vertex.position[2]});
        plan->texCoords.push_back({std::bit_cast<float>(key.s), std::bit_cast<float>(key.t)});
    }

    std::map<NormalKey, word> normalIndex;
    for (uint16_t triangleIndex : group.triangleIndices) {
        const ms3d::Triangle& triangle = file.triangles[triangleIndex];
        std::array<word, 3> vertices{}, normals{};
        for (int c = 0; c < 3; ++c) {
            vertices[c] = hostIndex.at(CornerKey{triangle.vertexIndices[c], std::bit_cast<uint32_t>(triangle.s[c]),
                                                 std::bit_cast<uint32_t>(triangle.t[c])});
            auto [it, added] = normalIndex.emplace(KeyOf(triangle.normals[c]), 0);
            if (added) {
                if (plan->normals.size() >= kMaxMeshItems)
                    return Fail(error, path, Describe(groupIndex, "group") +
                                                      " has more distinct normals than a mesh holds (" +
                                                      std::to_string(kMaxMeshItems) + ")");
                it->second = static_cast<word>(plan->normals.size());
                plan->normals.push_back({triangle.normals[c][0], triangle.normals[c][1], triangle.normals[c][2]});
            }
            normals[c] = it->second;
        }
        plan->triangles.push_back(vertices);
        plan->triangleNormals.push_back(normals);
    }
    return true;
}

void AddMaterial(msModel* model, const ms3d::Material& source) {
    msMaterial* material = msModel_GetMaterialAt(model, msModel_AddMaterial(model));
    ms3d::Material copy = source;  // the setters take non-const arrays
    msMaterial_SetName(material, copy.name.c_str());
    msMaterial_SetAmbient(material, copy.ambient);
    msMaterial_SetDiffuse(material, copy.diffuse);
    msMaterial_SetSpecular(material, copy.specular);
    msMaterial_SetEmissive(material, copy.emissive);
    msMaterial_SetShininess(material, copy.shininess);
    msMaterial_SetTransparency(material, copy.transparency);
    msMaterial_SetDiffuseTexture(material, copy.texture.c_str());
}

void AddMesh(msModel* model, MeshPlan& plan, int materialBase) {
    msMesh* mesh = msModel_GetMeshAt(model, msModel_AddMesh(model));
    msMesh_SetName(mesh, plan.group->name.c_str());
    int material = plan.group->materialIndex;
    msMesh_SetMaterialIndex(mesh, material < 0 ? -1 : materialBase + material);
    for (size_t i = 0; i < plan.positions.size(); ++i) {
        msVertex* vertex = msMesh_GetVertexAt(mesh, msMesh_AddVertex(mesh));
        msVertex_SetVertex(vertex, plan.positions[i].data());
        msVertex_SetTexCoords(vertex, plan.texCoords[i].data());
    }
    for (auto& normal : plan.normals) msMesh_SetVertexNormalAt(mesh, msMesh_AddVertexNormal(mesh), normal.data());
    for (size_t i = 0; i < plan.triangles.size(); ++i) {
        msTriangle* triangle = msMesh_GetTriangleAt(mesh, msMesh_AddTriangle(mesh));
        msTriangle_SetVertexIndices(triangle, plan.triangles[i].data());
        msTriangle_SetNormalIndices(triangle, plan.triangleNormals[i].data());
    }
}

void AddBone(msModel* model, const ms3d::Joint& joint) {
    msBone* bone = msModel_GetBoneAt(model, msModel_AddBone(model));
    float position[3] = {joint.position[0], joint.position[1], joint.position[2]};
    float rotation[3] = {joint.rotation[0], joint.rotation[1], joint.rotation[2]};
    msBone_SetName(bone, joint.name.c_str());
    msBone_SetParentName(bone, joint.parentName.c_str());
    msBone_SetPosition(bone, position);
    msBone_SetRotation(bone, rotation);
}

// ---- save ----

template <typename Handle>
std::string GetText(void (*getter)(Handle*, char*, int), Handle* handle) {
    char buffer[kTextBuffer + 1] = {};
    getter(handle, buffer, kTextBuffer);
    return std::string(buffer, strnlen(buffer, kTextBuffer));
}

void CollectMaterials(msModel* model, ms3d::File* file) {
    int count = msModel_GetMaterialCount(model);
    for (int i = 0; i < count; ++i) {
        msMaterial* source = msModel_GetMaterialAt(model, i);
        ms3d::Material material;
        material.name = GetText(msMaterial_GetName, source);
        msMaterial_GetAmbient(source, material.ambient);
        msMaterial_GetDiffuse(source, material.diffuse);
        msMaterial_GetSpecular(source, material.specular);
        msMaterial_GetEmissive(source, material.emissive);
        material.shininess = msMaterial_GetShininess(source);
        material.transparency = msMaterial_GetTransparency(source);
        material.texture = GetText(msMaterial_GetDiffuseTexture, source);
        file->materials.push_back(std::move(material));
    }
}

bool CollectMesh(msModel* model, int meshIndex, const char* path, ms3d::File* file, std::string* error) {
    msMesh* mesh = msModel_GetMeshAt(model, meshIndex);
    std::string what = Describe(static_cast<size_t>(meshIndex), "mesh");
    int materialCount = msModel_GetMaterialCount(model);
    int material = msMesh_GetMaterialIndex(mesh);
    if (material != -1 && (material < 0 || material >= materialCount))
        return Fail(error, path, what + " uses material " + std::to_string(material) + ", but the model has " +
                                          std::to_string(materialCount) + " materials");
    if (material > kMaxMaterialIndex)
        return Fail(error, path, what + " uses material " + std::to_string(material) +
                                          "; an .ms3d group can name materials 0 to " +
                                          std::to_string(kMaxMaterialIndex) + " only");

    size_t vertexCount = static_cast<size_t>(std::max(0, msMesh_GetVertexCount(mesh)));
    size_t triangleCount = static_cast<size_t>(std::max(0, msMesh_GetTriangleCount(mesh)));
    size_t base = file->vertices.size();
    if (vertexCount > ms3d::kMaxCount - base)
        return Fail(error, path, "the model has more than " + std::to_string(ms3d::kMaxCount) +
                                          " vertices in all, more than an .ms3d file holds");
    if (triangleCount > ms3d::kMaxCount - file->triangles.size())
        return Fail(error, path, "the model has more than " + std::to_string(ms3d::kMaxCount) +
                                          " triangles in all, more than an .ms3d file holds");

    std::vector<std::array<float, 2>> texCoords(vertexCount);
    for (size_t i = 0; i < vertexCount; ++i) {
        msVertex* source = msMesh_GetVertexAt(mesh, static_cast<int>(i));
        ms3d::Vertex vertex;
        msVertex_GetVertex(source, vertex.position);
        msVertex_GetTexCoords(source, texCoords[i].data());
        file->vertices.push_back(vertex);
    }

    ms3d::Group group;
    group.name = GetText(msMesh_GetName, mesh);
    group.materialIndex = static_cast<int8_t>(material);
    int normalCount = msMesh_GetVertexNormalCount(mesh);
    for (size_t k = 0; k < triangleCount; ++k) {
        msTriangle* source = msMesh_GetTriangleAt(mesh, static_cast<int>(k));
        word vertices[3], normals[3];
        msTriangle_GetVertexIndices(source, vertices);
        msTriangle_GetNormalIndices(source, normals);
        ms3d::Triangle triangle;
        triangle.smoothingGroup = 1;
        triangle.groupIndex = static_cast<uint8_t>(meshIndex);
        for (int c = 0; c < 3; ++c) {
            if (vertices[c] >= vertexCount)
                return Fail(error, path, what + " triangle " + std::to_string(k) + " uses vertex " +
                                                  std::to_string(vertices[c]) + ", but the mesh has " +
                                                  std::to_string(vertexCount) + " vertices");
            ms3d::Vertex& vertex = file->vertices[base + vertices[c]];
            if (vertex.referenceCount < 255) ++vertex.referenceCount;
            triangle.vertexIndices[c] = static_cast<uint16_t>(base + vertices[c]);
            triangle.s[c] = texCoords[vertices[c]][0];
            triangle.t[c] = texCoords[vertices[c]][1];
            // A normal index past the list reads as the zero normal, as the host reports it.
            if (normals[c] < normalCount) msMesh_GetVertexNormalAt(mesh, normals[c], triangle.normals[c]);
        }
        group.triangleIndices.push_back(static_cast<uint16_t>(file->triangles.size()));
        file->triangles.push_back(triangle);
    }
    file->groups.push_back(std::move(group));
    return true;
}

void CollectBones(msModel* model, ms3d::File* file) {
    int count = msModel_GetBoneCount(model);
    for (int i = 0; i < count; ++i) {
        msBone* bone = msModel_GetBoneAt(model, i);
        ms3d::Joint joint;
        joint.name = GetText(msBone_GetName, bone);
        joint.parentName = GetText(msBone_GetParentName, bone);
        msBone_GetPosition(bone, joint.position);
        msBone_GetRotation(bone, joint.rotation);
        file->joints.push_back(std::move(joint));
    }
}

}  // namespace

bool LoadMs3dModel(const char* path, msModel* model, std::string* error) {
    std::string ignored;
    if (!error) error = &ignored;
    if (!path) path = "";
    if (!model) return Fail(error, path, "no model to load into");
    std::string bytes;
    if (!mshost::ReadWholeFile(path, &bytes, error)) return false;
    ms3d::File file;
    if (!ms3d::ParseFile(bytes.data(), bytes.size(), path, &file, error)) return false;
    std::vector<MeshPlan> plans(file.groups.size());
    for (size_t i = 0; i < file.groups.size(); ++i)
        if (!PlanMesh(file, i, path, &plans[i], error)) return false;

    int materialBase = msModel_GetMaterialCount(model);
    for (const ms3d::Material& material : file.materials) AddMaterial(model, material);
    for (MeshPlan& plan : plans) AddMesh(model, plan, materialBase);
    for (const ms3d::Joint& joint : file.joints) AddBone(model, joint);
    return true;
}

bool SaveMs3dModel(const char* path, msModel* model, std::string* error) {
    std::string ignored;
    if (!error) error = &ignored;
    if (!path) path = "";
    if (!model) return Fail(error, path, "no model to save");
    ms3d::File file;
    CollectMaterials(model, &file);
    int meshCount = msModel_GetMeshCount(model);
    if (meshCount > static_cast<int>(kMaxMeshes))
        return Fail(error, path, "the model has " + std::to_string(meshCount) + " meshes; an .ms3d file holds " +
                                          std::to_string(kMaxMeshes) + " at most");
    for (int i = 0; i < meshCount; ++i)
        if (!CollectMesh(model, i, path, &file, error)) return false;
    CollectBones(model, &file);
    std::string bytes;
    if (!ms3d::WriteFile(file, path, &bytes, error)) return false;
    return mshost::WriteWholeFile(path, bytes, error);
}
