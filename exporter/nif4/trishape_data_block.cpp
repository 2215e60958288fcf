#include "exporter/nif4/trishape_data_block.h"

#include "exporter/nif4/invalid_param.h"

namespace {

// The has-fields carry these values rather than 1; readers only test them
// for zero, and files already written with them must stay byte-identical.
constexpr uint32_t kHasVertices = 0x1723BC30;
constexpr uint32_t kHasNormals = 0x1723BBF0;
constexpr uint32_t kHasTexCoords = 0x1723BC70;

void WriteVectors(Nif4Output& out, const Nif4Vector* vectors, uint16_t count) {
    for (uint16_t i = 0; i < count; ++i) {
        out.WriteFloat(vectors[i].x);
        out.WriteFloat(vectors[i].y);
        out.WriteFloat(vectors[i].z);
    }
}

}  // namespace

CNIF4_TriShapeData::CNIF4_TriShapeData(uint16_t numVertices, std::unique_ptr<Nif4Vector[]>&& vertices,
                                       std::unique_ptr<Nif4Vector[]>&& normals, Nif4Vector centre, float radius,
                                       uint16_t texCoordCount, std::unique_ptr<Nif4TexCoord[]>&& texCoords,
                                       uint16_t numTriangles, std::unique_ptr<Nif4Triangle[]>&& triangles)
    : numVertices_(numVertices),
      centre_(centre),
      radius_(radius),
      texCoordSetCount_(texCoordCount > 0 ? 1 : 0),
      texCoordCount_(texCoordCount),
      numTriangles_(numTriangles) {
    if (numVertices == 0) throw EInvalidParam("CNIF4_TriShapeData::CNIF4_TriShapeData: numVertices less than 1");
    if (numTriangles == 0) throw EInvalidParam("CNIF4_TriShapeData::CNIF4_TriShapeData: numTriangles less than 1");
    SetTypeName(nif4::LengthOf(kTypeName), kTypeName);
    vertices_ = std::move(vertices);
    normals_ = std::move(normals);
    texCoords_ = std::move(texCoords);
    triangles_ = std::move(triangles);
}

void CNIF4_TriShapeData::Write(Nif4Output& out) const {
    WriteTypeName(out);
    out.WriteUInt16(numVertices_);
    out.WriteUInt32(kHasVertices);
    WriteVectors(out, vertices_.get(), numVertices_);
    out.WriteUInt32(kHasNormals);
    WriteVectors(out, normals_.get(), numVertices_);
    WriteVectors(out, &centre_, 1);
    out.WriteFloat(radius_);
    out.WriteUInt32(0);  // no vertex colours
    out.WriteUInt16(texCoordSetCount_);
    if (texCoordSetCount_ == 1) {
        out.WriteUInt32(kHasTexCoords);
        for (uint16_t i = 0; i < texCoordCount_; ++i) {
            out.WriteFloat(texCoords_[i].u);
            out.WriteFloat(texCoords_[i].v);
        }
    } else {
        // Readers take a has-coordinates field after the set count in every
        // case; a zero there says that no coordinates follow.
        out.WriteUInt32(0);
    }
    out.WriteUInt16(numTriangles_);
    out.WriteUInt32(3u * numTriangles_);
    for (uint16_t i = 0; i < numTriangles_; ++i) {
        for (uint16_t corner : triangles_[i].corners) out.WriteUInt16(corner);
    }
    out.WriteUInt16(matchGroupCount_);
}
