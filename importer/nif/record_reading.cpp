#include "importer/nif/record_reading.h"

NifVector ReadVector(Qiv_Stream& stream) {
    NifVector vector;
    vector.x = stream.Float();
    vector.y = stream.Float();
    vector.z = stream.Float();
    return vector;
}

NifColour ReadColourRgb(Qiv_Stream& stream) {
    NifColour colour;
    colour.r = stream.Float();
    colour.g = stream.Float();
    colour.b = stream.Float();
    colour.a = 1.0f;
    return colour;
}

NifColour ReadColourRgba(Qiv_Stream& stream) {
    NifColour colour;
    colour.r = stream.Float();
    colour.g = stream.Float();
    colour.b = stream.Float();
    colour.a = stream.Float();
    return colour;
}

NifTexCoord ReadTexCoord(Qiv_Stream& stream) {
    NifTexCoord coord;
    coord.u = stream.Float();
    coord.v = stream.Float();
    return coord;
}

Matrix33 ReadMatrix33(Qiv_Stream& stream) {
    Matrix33 matrix;
    for (float& value : matrix.m) value = stream.Float();
    return matrix;
}

LinkList ReadLinkList(Qiv_Stream& stream) {
    LinkList list;
    const int32_t count = stream.Long();
    list.indices = stream.Array<int32_t>(count);
    return list;
}
