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
#include <vector>

#include "mshost/files/quoted_name.h"
#include "mshost/files/file_io.h"
#include "mshost/formats/first_use_index.h"
#include "mshost/formats/ms3d_format.h"

namespace {

constexpr size_t kMaxMeshItems = 65536;  // vertex and normal indices are 16-bit
constexpr size_t kMaxMeshes = 256;        // a triangle names its group in one byte
constexpr int kMaxMaterialIndex = 127;    // a group names its material in a signed byte
constexpr int kTextBuffer = 256;          // more than any text the host holds

std::string Message(const char* path, const std::string& what) { return mshost::Unquoted(path) + ": " + what; }

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
    // The (file vertex, s, t) of each host vertex.
    std::vector<mshost::FirstUseIndex::Key> corners;
    std::vector<mshost::FirstUseIndex::Key> normals;  // bit patterns of the distinct normals
    std::vector<std::array<word, 3>> triangles;
    std::vector<std::array<word, 3>> triangleNormals;
};

std::array<float, 3> Floats(const mshost::FirstUseIndex::Key& key) {
    return {std::bit_cast<float>(key[0]), std::bit_cast<float>(key[1]), std::bit_cast<float>(key[2])};
}

// Numbers `key` in `index`, trying `last` (the number the previous like key
// got) before the table: neighbouring corners mostly repeat it.
uint32_t Number(mshost::FirstUseIndex& index, const mshost::FirstUseIndex::Key& key, uint32_t last) {
    constexpr uint32_t kNone = UINT32_MAX;
    if (last != kNone && mshost::FirstUseIndex::Equal(index.Keys()[last], key)) return last;
    return index.Add(key);
}

bool PlanMesh(const ms3d::File& file, size_t vertexCount, const ms3d::TriangleRecords& records, size_t groupIndex,
              const char* path, MeshPlan* plan, std::string* error) {
    const ms3d::Group& group = file.groups[groupIndex];
    plan->group = &group;
    const size_t triangleCount = group.triangleIndices.size();
    constexpr uint32_t kNone = UINT32_MAX;
    // A corner's file vertex and the bit patterns of its (s, t): equal means
    // "the same stored value".
    auto cornerKey = [&](size_t corner) {
        return records.CornerBits(group.triangleIndices[corner / 3], static_cast<int>(corner % 3));
    };

    // Host vertices: one per distinct (file vertex, s, t), ordered by file
    // vertex and then by first use, so a file written from a host model
    // gives its vertices back in their order. A file vertex stands for its
    // first (s, t) itself; only the other (s, t) of a vertex, where a texture
    // seam splits it, are numbered in a hash index ("splits"). A corner's id
    // is its file vertex, or the vertex count plus its split's number.
    std::vector<uint32_t> firstCorner(vertexCount, kNone);  // the corner that first used each file vertex
    std::vector<uint32_t> cornerIds(3 * triangleCount);
    mshost::FirstUseIndex splits;
    mshost::FirstUseIndex normals;
    plan->triangleNormals.resize(triangleCount);
    size_t usedVertices = 0;
    uint32_t lastSplit = kNone;
    uint32_t lastNormal = kNone;
    for (size_t k = 0; k < triangleCount; ++k) {
        for (int c = 0; c < 3; ++c) {
            const size_t corner = 3 * k + static_cast<size_t>(c);
            const mshost::FirstUseIndex::Key key = cornerKey(corner);
            uint32_t& first = firstCorner[key[0]];
            if (first == kNone) {
                first = static_cast<uint32_t>(corner);
                ++usedVertices;
                cornerIds[corner] = key[0];
            } else if (mshost::FirstUseIndex::Equal(cornerKey(first), key)) {
                cornerIds[corner] = key[0];
            } else {
                lastSplit = Number(splits, key, lastSplit);
                cornerIds[corner] = static_cast<uint32_t>(vertexCount + lastSplit);
            }
            lastNormal = Number(normals, records.NormalBits(group.triangleIndices[k], c), lastNormal);
            // Numbers past a word's range only come in groups refused below.
            plan->triangleNormals[k][c] = static_cast<word>(lastNormal);
        }
    }
    const size_t hostVertices = usedVertices + splits.size();
    if (hostVertices > kMaxMeshItems)
        return Fail(error, path, Describe(groupIndex, "group") + " needs " + std::to_string(hostVertices) +
                                          " vertices once split by texture coordinates; a mesh holds at most " +
                                          std::to_string(kMaxMeshItems));
    if (normals.size() > kMaxMeshItems)
        return Fail(error, path, Describe(groupIndex, "group") + " has more distinct normals than a mesh holds (" +
                                          std::to_string(kMaxMeshItems) + ")");

    // The splits of each file vertex in first-use order, by a counting sort:
    // those of vertex v are splitOrder[splitStart[v]] up to splitStart[v + 1].
    const std::vector<mshost::FirstUseIndex::Key>& splitKeys = splits.Keys();
    std::vector<uint32_t> splitStart;
    std::vector<uint32_t> splitOrder(splitKeys.size());
    if (!splitKeys.empty()) {
        splitStart.assign(vertexCount + 1, 0);
        for (const auto& key : splitKeys) ++splitStart[key[0]];
        for (size_t v = 1; v <= vertexCount; ++v) splitStart[v] += splitStart[v - 1];
        // Filled from the back, each vertex's entries come out in order and
        // its count ends where its splits start.
        for (size_t j = splitKeys.size(); j-- > 0;) splitOrder[--splitStart[splitKeys[j][0]]] = static_cast<uint32_t>(j);
    }
    std::vector<word> hostOfId(vertexCount + splitKeys.size());
    plan->corners.reserve(hostVertices);
    for (size_t v = 0; v < vertexCount; ++v) {
        if (firstCorner[v] == kNone) continue;
        hostOfId[v] = static_cast<word>(plan->corners.size());
        plan->corners.push_back(cornerKey(firstCorner[v]));
        if (splitKeys.empty()) continue;
        for (size_t i = splitStart[v]; i < splitStart[v + 1]; ++i) {
            hostOfId[vertexCount + splitOrder[i]] = static_cast<word>(plan->corners.size());
            plan->corners.push_back(splitKeys[splitOrder[i]]);
        }
    }
    plan->triangles.resize(triangleCount);
    for (size_t k = 0; k < triangleCount; ++k)
        for (int c = 0; c < 3; ++c) plan->triangles[k][c] = hostOfId[cornerIds[3 * k + static_cast<size_t>(c)]];
    plan->normals = normals.TakeKeys();
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

void AddMesh(msModel* model, const ms3d::VertexRecords& vertices, const MeshPlan& plan, int materialBase) {
    msMesh* mesh = msModel_GetMeshAt(model, msModel_AddMesh(model));
    msMesh_SetName(mesh, plan.group->name.c_str());
    int material = plan.group->materialIndex;
    msMesh_SetMaterialIndex(mesh, material < 0 ? -1 : materialBase + material);
    for (const mshost::FirstUseIndex::Key& corner : plan.corners) {
        const ms3d::Vertex source = vertices[corner[0]];
        float position[3] = {source.position[0], source.position[1], source.position[2]};
        float texCoords[2] = {std::bit_cast<float>(corner[1]), std::bit_cast<float>(corner[2])};
        msVertex* vertex = msMesh_GetVertexAt(mesh, msMesh_AddVertex(mesh));
        msVertex_SetVertex(vertex, position);
        msVertex_SetTexCoords(vertex, texCoords);
    }
    for (const auto& key : plan.normals) {
        std::array<float, 3> normal = Floats(key);
        msMesh_SetVertexNormalAt(mesh, msMesh_AddVertexNormal(mesh), normal.data());
    }
    for (size_t i = 0; i < plan.triangles.size(); ++i) {
        msTriangle* triangle = msMesh_GetTriangleAt(mesh, msMesh_AddTriangle(mesh));
        std::array<word, 3> vertices = plan.triangles[i];
        std::array<word, 3> normals = plan.triangleNormals[i];
        msTriangle_SetVertexIndices(triangle, vertices.data());
        msTriangle_SetNormalIndices(triangle, normals.data());
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
    mshost::FileImage bytes;
    if (!mshost::ReadFileImage(path, &bytes, error)) return false;
    ms3d::File file;
    ms3d::VertexRecords vertices;
    ms3d::TriangleRecords triangles;
    if (!ms3d::ScanFile(bytes.data(), bytes.size(), path, &file, &vertices, &triangles, error)) return false;
    std::vector<MeshPlan> plans(file.groups.size());
    for (size_t i = 0; i < file.groups.size(); ++i)
        if (!PlanMesh(file, vertices.size(), triangles, i, path, &plans[i], error)) return false;

    int materialBase = msModel_GetMaterialCount(model);
    for (const ms3d::Material& material : file.materials) AddMaterial(model, material);
    for (const MeshPlan& plan : plans) AddMesh(model, vertices, plan, materialBase);
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
