// One host mesh as a geometry block needs it: positions, one normal per
// vertex, one texture coordinate pair per vertex, triangles and a bounding
// sphere, with positions and normals turned into the file's axes.
#pragma once

#include <memory>

#include "exporter/nif4/nif4_types.h"
#include "host/msLib.h"

struct MeshGeometry {
    int vertexCount = 0;  // as the host returned it
    std::unique_ptr<Nif4Vector[]> vertices;
    std::unique_ptr<Nif4Vector[]> normals;
    Nif4Vector centre;
    float radius = 0.0f;
    std::unique_ptr<Nif4TexCoord[]> texCoords;
    int triangleCount = 0;  // as the host returned it
    std::unique_ptr<Nif4Triangle[]> triangles;
};

// The host's (x, y, z) in the file's axes: (x, -z, y). A rotation, so
// triangle winding is kept.
Nif4Vector ToNifAxes(const Nif4Vector& host);

// Reads the mesh through the model library. Every per-vertex array has V
// entries and the triangle array T, where V and T are the low 16 bits of
// the host's counts (the file's count width; callers reject larger meshes
// first) and a negative count counts as 0.
//
// Each vertex takes the normal of the lowest-numbered triangle that uses
// it, at that triangle's lowest-numbered corner naming it; a vertex no
// triangle uses keeps (0, 0, 0). Normals are neither averaged nor
// renormalised. The bounding sphere is that of the axis-aligned box of the
// converted positions, the box starting at min 10000 and max -10000 on each
// axis.
MeshGeometry ConvertMeshGeometry(msMesh* mesh);
