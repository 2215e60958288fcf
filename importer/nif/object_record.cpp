#include "importer/nif/object_record.h"

#include "importer/nif/record_reading.h"

void ObjectRecord::ReadPlacement(Qiv_Stream& stream) {
    unknownFlags = stream.Short();
    translation = ReadVector(stream);
    rotation = ReadMatrix33(stream);
    scale = stream.Float();
    velocity = ReadVector(stream);
    properties = ReadLinkList(stream);
}

void ObjectRecord::LocalTransform(Matrix44& output) const {
    Matrix44 step;
    Identity(output);
    ToMatrix44(rotation, step);
    Multiply(output, output, step);
    MakeScaling(step, scale, scale, scale);
    Multiply(output, output, step);
    MakeTranslation(step, translation.x, translation.y, translation.z);
    Multiply(output, output, step);
}
