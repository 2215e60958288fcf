#include "exporter/mesh_geometry.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

uint16_t FileCount(int hostCount) { return hostCount > 0 ? static_cast<uint16_t>(hostCount & 0xFFFF) : 0; }

Nif4Vector FromHost(const float xyz[3]) { return {xyz[0], xyz[1], xyz[2]}; }

// The box starts inverted at +-10000, so a mesh lying wholly beyond 10000
// on an axis still has that bound in its box. The exported files hold this
// box, so it stays as it is.
struct BoundingBox {
    Nif4Vector minimum{10000.0f, 10000.0f, 10000.0f};
    Nif4Vector maximum{-10000.0f, -10000.0f, -10000.0f};

    void Add(const Nif4Vector& p) {
        Extend(p.x, minimum.x, maximum.x);
        Extend(p.y, minimum.y, maximum.y);
        Extend(p.z, minimum.z, maximum.z);
    }

    static void Extend(float value, float& low, float& high) {
        if (value > high) high = value;
        if (value < low) low = value;
    }
};

}  // namespace

Nif4Vector ToNifAxes(const Nif4Vector& host) { return {host.x, -host.z, host.y}; }

MeshGeometry ConvertMeshGeometry(msMesh* mesh) {
    MeshGeometry geometry;
    geometry.vertexCount = msMesh_GetVertexCount(mesh);
    geometry.triangleCount = msMesh_GetTriangleCount(mesh);
    const uint16_t vertexCount = FileCount(geometry.vertexCount);
    const uint16_t triangleCount = FileCount(geometry.triangleCount);

    geometry.vertices = std::make_unique<Nif4Vector[]>(vertexCount);
    geometry.normals = std::make_unique<Nif4Vector[]>(vertexCount);
    geometry.texCoords = std::make_unique<Nif4TexCoord[]>(vertexCount);
    geometry.triangles = std::make_unique<Nif4Triangle[]>(triangleCount);

    BoundingBox box;
    for (uint16_t j = 0; j < vertexCount; ++j) {
        msVertex* vertex = msMesh_GetVertexAt(mesh, j);
        float position[3] = {0.0f, 0.0f, 0.0f};
        msVertex_GetVertex(vertex, position);
        geometry.vertices[j] = ToNifAxes(FromHost(position));
        box.Add(geometry.vertices[j]);
        float uv[2] = {0.0f, 0.0f};
        msVertex_GetTexCoords(vertex, uv);
        geometry.texCoords[j] = {uv[0], uv[1]};
    }

    geometry.centre = {(box.minimum.x + box.maximum.x) * 0.5f, (box.minimum.y + box.maximum.y) * 0.5f,
                       (box.minimum.z + box.maximum.z) * 0.5f};
    const float dx = box.maximum.x - box.minimum.x;
    const float dy = box.maximum.y - box.minimum.y;
    const float dz = box.maximum.z - box.minimum.z;
    geometry.radius = 0.5f * std::sqrt(dx * dx + dy * dy + dz * dz);

    // One pass over the triangles, in order: the first corner naming a
    // vertex gives it its normal.
    std::vector<bool> hasNormal(vertexCount, false);
    for (uint16_t k = 0; k < triangleCount; ++k) {
        msTriangle* triangle = msMesh_GetTriangleAt(mesh, k);
        word vertexIndices[3] = {0, 0, 0};
        word normalIndices[3] = {0, 0, 0};
        msTriangle_GetVertexIndices(triangle, vertexIndices);
        msTriangle_GetNormalIndices(triangle, normalIndices);
        for (int corner = 0; corner < 3; ++corner) {
            geometry.triangles[k].corners[corner] = vertexIndices[corner];
            const word v = vertexIndices[corner];
            if (v >= vertexCount || hasNormal[v]) continue;
            float normal[3] = {0.0f, 0.0f, 0.0f};
            msMesh_GetVertexNormalAt(mesh, normalIndices[corner], normal);
            geometry.normals[v] = ToNifAxes(FromHost(normal));
            hasNormal[v] = true;
        }
    }
    return geometry;
}
