// Reading a model's triangles through the host's model library.
#include "mshost/render/model_triangles.h"

#include <cmath>

namespace mshost::render {

ModelTriangles GatherTriangles(msModel* model) {
    ModelTriangles triangles;
    const int meshCount = msModel_GetMeshCount(model);
    for (int m = 0; m < meshCount; ++m) {
        msMesh* mesh = msModel_GetMeshAt(model, m);
        if (!mesh) continue;
        const int vertexCount = msMesh_GetVertexCount(mesh);
        std::vector<Point3> vertices(vertexCount > 0 ? static_cast<size_t>(vertexCount) : 0);
        for (int v = 0; v < vertexCount; ++v) {
            float xyz[3] = {0, 0, 0};
            if (msVertex* vertex = msMesh_GetVertexAt(mesh, v)) msVertex_GetVertex(vertex, xyz);
            vertices[static_cast<size_t>(v)] = {xyz[0], xyz[1], xyz[2]};
        }
        const int triangleCount = msMesh_GetTriangleCount(mesh);
        for (int t = 0; t < triangleCount; ++t) {
            msTriangle* triangle = msMesh_GetTriangleAt(mesh, t);
            if (!triangle) continue;
            word indices[3] = {0, 0, 0};
            msTriangle_GetVertexIndices(triangle, indices);
            bool drawable = true;
            for (word index : indices) {
                if (index >= vertices.size()) {
                    drawable = false;
                    break;
                }
                const Point3& p = vertices[index];
                drawable = drawable && std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
            }
            if (!drawable) continue;
            for (word index : indices) triangles.corners.push_back(vertices[index]);
            triangles.meshOf.push_back(m);
        }
    }
    return triangles;
}

}  // namespace mshost::render
