// "NiTriShapeData": the geometry of one shape — positions, one normal per
// vertex, a bounding sphere, one set of texture coordinates and triangles.
//
// Arrays are taken as in node_blocks.h: moved from only when the counts
// pass the checks. Positions and normals must hold `numVertices` entries,
// texture coordinates `texCoordCount`, triangles `numTriangles`.
#pragma once

#include <cstdint>
#include <memory>

#include "exporter/nif4/nif4_block.h"
#include "exporter/nif4/nif4_types.h"

class CNIF4_TriShapeData : public CNIF4_Block {
public:
    CNIF4_TriShapeData(uint16_t numVertices, std::unique_ptr<Nif4Vector[]>&& vertices,
                       std::unique_ptr<Nif4Vector[]>&& normals, Nif4Vector centre, float radius, uint16_t texCoordCount,
                       std::unique_ptr<Nif4TexCoord[]>&& texCoords, uint16_t numTriangles,
                       std::unique_ptr<Nif4Triangle[]>&& triangles);

    bool Write(Nif4Output& out) const override;
    uint64_t ByteSize() const override;

private:
    uint16_t m_numVertices;
    std::unique_ptr<Nif4Vector[]> m_vertices;
    std::unique_ptr<Nif4Vector[]> m_normals;
    Nif4Vector m_centre;
    float m_radius;
    uint16_t m_texCoordSetCount;  // 1 when there are texture coordinates, else 0
    uint16_t m_texCoordCount;
    std::unique_ptr<Nif4TexCoord[]> m_texCoords;
    uint16_t m_numTriangles;
    std::unique_ptr<Nif4Triangle[]> m_triangles;
    uint16_t m_matchGroupCount = 0;
};
