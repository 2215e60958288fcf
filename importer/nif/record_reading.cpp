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
    list.indices = ReadLongs(stream, count);
    return list;
}

static_assert(sizeof(NifVector) == 12 && sizeof(NifColour) == 16 && sizeof(NifTexCoord) == 8,
              "records copied whole must be laid out like the file");

void ReadVectors(Qiv_Stream& stream, std::vector<NifVector>& vectors, int64_t count) {
    ReadPlainEntries(stream, vectors, count, ReadVector);
}

void ReadColoursRgba(Qiv_Stream& stream, std::vector<NifColour>& colours, int64_t count) {
    ReadPlainEntries(stream, colours, count, ReadColourRgba);
}

void ReadTexCoords(Qiv_Stream& stream, std::vector<NifTexCoord>& coords, int64_t count) {
    ReadPlainEntries(stream, coords, count, ReadTexCoord);
}

void ReadShorts(Qiv_Stream& stream, std::vector<uint16_t>& values, int64_t count) {
    ReadPlainEntries(stream, values, count, [](Qiv_Stream& s) { return s.Short(); });
}

std::vector<float> ReadFloats(Qiv_Stream& stream, int64_t count) {
    std::vector<float> values;
    ReadPlainEntries(stream, values, count, [](Qiv_Stream& s) { return s.Float(); });
    return values;
}

std::vector<int32_t> ReadLongs(Qiv_Stream& stream, int64_t count) {
    std::vector<int32_t> values;
    ReadPlainEntries(stream, values, count, [](Qiv_Stream& s) { return s.Long(); });
    return values;
}
