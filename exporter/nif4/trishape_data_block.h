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
    static constexpr char kTypeName[] = "NiTriShapeData";

    CNIF4_TriShapeData(uint16_t numVertices, std::unique_ptr<Nif4Vector[]>&& vertices,
                       std::unique_ptr<Nif4Vector[]>&& normals, Nif4Vector centre, float radius, uint16_t texCoordCount,
                       std::unique_ptr<Nif4TexCoord[]>&& texCoords, uint16_t numTriangles,
                       std::unique_ptr<Nif4Triangle[]>&& triangles);

    void Write(Nif4Output& out) const override;

private:
    uint16_t numVertices_;
    std::unique_ptr<Nif4Vector[]> vertices_;
    std::unique_ptr<Nif4Vector[]> normals_;
    Nif4Vector centre_;
    float radius_;
    uint16_t texCoordSetCount_;  // 1 when there are texture coordinates, else 0
    uint16_t texCoordCount_;
    std::unique_ptr<Nif4TexCoord[]> texCoords_;
    uint16_t numTriangles_;
    std::unique_ptr<Nif4Triangle[]> triangles_;
    uint16_t matchGroupCount_ = 0;
};
